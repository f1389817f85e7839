#include "app/motion.h"

#include <math.h>

#include "app/app.h"
#include "app/copies.h"
#include "runtime/random.h"

enum { LARGEST_COPY_COUNT = 100 };

int32_t RandomSign(void)
{
    return RandomInt(100) > 50 ? 1 : -1;
}

// A speed from -range to range: the size is drawn before the sign.
static int32_t RandomSpeed(int32_t range)
{
    int32_t magnitude = RandomInt(range);
    return magnitude * RandomSign();
}

void InitCopy(int32_t i)
{
    PosX[i] = (float)(RandomInt(740) - 100);
    PosY[i] = (float)(RandomInt(580) - 100);
    Size[i] = 0.0f;
    Angle[i] = (float)RandomInt(360);
    SpeedX[i] = RandomSpeed(100);
    SpeedY[i] = RandomSpeed(100);
    SpeedSize[i] = RandomSpeed(100);
    SpeedAngle[i] = RandomSpeed(100);
}

// value + speed / 100, computed in double and kept as a 32-bit float.
static float Advance(float value, int32_t speed)
{
    return (float)((double)value + (double)speed / 100.0);
}

void MoveCopy(int32_t i)
{
    PosX[i] = Advance(PosX[i], SpeedX[i]);
    PosY[i] = Advance(PosY[i], SpeedY[i]);
    Size[i] = Advance(Size[i], SpeedSize[i]);
    Angle[i] = Advance(Angle[i], SpeedAngle[i]);
}

void CheckBounds(int32_t i)
{
    int turned = 0;
    if (PosX[i] > 630.0f) {
        SpeedX[i] = -RandomInt(100);
        turned = 1;
    }
    if (PosX[i] < -100.0f) {
        SpeedX[i] = RandomInt(100);
        turned = 1;
    }
    if (PosY[i] > 470.0f) {
        SpeedY[i] = -RandomInt(100);
        turned = 1;
    }
    if (PosY[i] < -100.0f) {
        SpeedY[i] = RandomInt(100);
        turned = 1;
    }
    if (Size[i] > 255.0f) {
        SpeedSize[i] = -RandomInt(100);
        turned = 1;
    }
    if (Size[i] < 10.0f) {
        SpeedSize[i] = RandomInt(100);
        turned = 1;
    }
    if (Angle[i] > 360.0f)
        Angle[i] = (float)((double)Angle[i] - 360.0);
    if (Angle[i] < 0.0f)
        Angle[i] = (float)((double)Angle[i] + 360.0);
    if (turned) {
        SpeedAngle[i] = RandomSpeed(200);
        if (RandomInt(100) > 50)
            SpeedAngle[i] = -SpeedAngle[i];
    }
}

int32_t AnimatedCopyCount(void)
{
    return SpriteCount > LARGEST_COPY_COUNT ? LARGEST_COPY_COUNT : SpriteCount;
}

int32_t RoundToInt(float value)
{
    return (int32_t)nearbyintf(value);
}
