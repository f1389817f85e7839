#include "app/copies.h"

#include "runtime/strings.h"

float* PosX;
float* PosY;
float* Size;
float* Angle;
int32_t* SpeedX;
int32_t* SpeedY;
int32_t* SpeedSize;
int32_t* SpeedAngle;

void AllocateCopyTables(void)
{
    PosX = (float*)DeclareArray(PosX, 4, COPY_TABLE_COUNT, ARRAY_TYPE_FLOAT);
    PosY = (float*)DeclareArray(PosY, 4, COPY_TABLE_COUNT, ARRAY_TYPE_FLOAT);
    Size = (float*)DeclareArray(Size, 4, COPY_TABLE_COUNT, ARRAY_TYPE_FLOAT);
    Angle = (float*)DeclareArray(Angle, 4, COPY_TABLE_COUNT, ARRAY_TYPE_FLOAT);
    SpeedX = (int32_t*)DeclareArray(SpeedX, 4, COPY_TABLE_COUNT, ARRAY_TYPE_INT32);
    SpeedY = (int32_t*)DeclareArray(SpeedY, 4, COPY_TABLE_COUNT, ARRAY_TYPE_INT32);
    SpeedSize = (int32_t*)DeclareArray(SpeedSize, 4, COPY_TABLE_COUNT, ARRAY_TYPE_INT32);
    SpeedAngle = (int32_t*)DeclareArray(SpeedAngle, 4, COPY_TABLE_COUNT, ARRAY_TYPE_INT32);
}
