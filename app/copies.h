#pragma once
// The per-copy tables of the flying copies, indexed 1 to SpriteCount (0 unused).
#include <stdint.h>

#include "app/settings.h"

// The tables hold copies 1 to LARGEST_COPY_COUNT, and one spare.
enum { COPY_TABLE_COUNT = LARGEST_COPY_COUNT + 1 };

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
