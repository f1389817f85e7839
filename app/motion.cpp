#include "app/motion.h"

#include <math.h>

#include "app/app.h"
#include "app/copies.h"
#include "app/settings.h"
#include "runtime/random.h"

// Where a copy turns back: a box a little larger than the screen, and two sizes.
static const float RIGHTMOST = 630.0f;
static const float BOTTOMMOST = 470.0f;
static const float LEFTMOST = -100.0f;
static const float TOPMOST = -100.0f;
static const float LARGEST_SIZE = 255.0f;
static const float SMALLEST_SIZE = 10.0f;
static const float FULL_TURN = 360.0f;
// Where copies start: from 100 pixels left of and above the screen, this wide and high.
enum { START_SPAN_X = 740, START_SPAN_Y = 580, START_OFFSET = 100 };
// Speeds are hundredths per frame; a turn-back draws a new turning speed of up to twice
// the starting range.
enum { SPEED_RANGE = 100, TURN_SPEED_RANGE = 200, SPEED_DIVISOR = 100 };
// RandomInt(100) above this gives +1: -1 has 51 chances in 101.
enum { SIGN_DRAW_RANGE = 100, SIGN_THRESHOLD = 50 };

int32_t RandomSign(void)
{
    return RandomInt(SIGN_DRAW_RANGE) > SIGN_THRESHOLD ? 1 : -1;
}

// A speed from -range to range: the size is drawn before the sign.
static int32_t RandomSpeed(int32_t range)
{
    int32_t magnitude = RandomInt(range);
    return magnitude * RandomSign();
}

void InitCopy(int32_t i)
{
    PosX[i] = (float)(RandomInt(START_SPAN_X) - START_OFFSET);
    PosY[i] = (float)(RandomInt(START_SPAN_Y) - START_OFFSET);
    Size[i] = 0.0f;
    Angle[i] = (float)RandomInt((int32_t)FULL_TURN);
    SpeedX[i] = RandomSpeed(SPEED_RANGE);
    SpeedY[i] = RandomSpeed(SPEED_RANGE);
    SpeedSize[i] = RandomSpeed(SPEED_RANGE);
    SpeedAngle[i] = RandomSpeed(SPEED_RANGE);
}

// value + speed / 100, computed in double and kept as a 32-bit float.
static float Advance(float value, int32_t speed)
{
    return (float)((double)value + (double)speed / (double)SPEED_DIVISOR);
}

void MoveCopy(int32_t i)
{
    PosX[i] = Advance(PosX[i], SpeedX[i]);
    PosY[i] = Advance(PosY[i], SpeedY[i]);
    Size[i] = Advance(Size[i], SpeedSize[i]);
    Angle[i] = Advance(Angle[i], SpeedAngle[i]);
}

// A value beyond one of its limits gets a speed pointing back, drawn afresh; 1 when it
// turned.
static int TurnBack(float value, float lowest, float highest, int32_t* speed)
{
    if (value > highest) {
        *speed = -RandomInt(SPEED_RANGE);
        return 1;
    }
    if (value < lowest) {
        *speed = RandomInt(SPEED_RANGE);
        return 1;
    }
    return 0;
}

void CheckBounds(int32_t i)
{
    int turned = TurnBack(PosX[i], LEFTMOST, RIGHTMOST, &SpeedX[i]);
    turned |= TurnBack(PosY[i], TOPMOST, BOTTOMMOST, &SpeedY[i]);
    turned |= TurnBack(Size[i], SMALLEST_SIZE, LARGEST_SIZE, &SpeedSize[i]);
    if (Angle[i] > FULL_TURN)
        Angle[i] = (float)((double)Angle[i] - FULL_TURN);
    if (Angle[i] < 0.0f)
        Angle[i] = (float)((double)Angle[i] + FULL_TURN);
    if (turned) {
        SpeedAngle[i] = RandomSpeed(TURN_SPEED_RANGE);
        if (RandomInt(SIGN_DRAW_RANGE) > SIGN_THRESHOLD)
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
