#pragma once
// The per-copy tables of the flying copies, indexed 1 to SpriteCount (0 unused).
#include <stdint.h>

enum { COPY_TABLE_COUNT = 101 };

extern float* PosX;
extern float* PosY;
extern float* Size;
extern float* Angle;
extern int32_t* SpeedX;
extern int32_t* SpeedY;
extern int32_t* SpeedSize;
extern int32_t* SpeedAngle;

// Allocates the eight tables, zero-filled, 102 elements each.
void AllocateCopyTables(void);
