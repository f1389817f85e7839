#pragma once
// The motion of the flying copies: pure arithmetic on the per-copy tables and the
// random generator, so a fixed seed gives the same flight on every build.
#include <stdint.h>

// +1 or -1 (-1 has 51 chances in 101).
int32_t RandomSign(void);
void InitCopy(int32_t i);
void MoveCopy(int32_t i);
void CheckBounds(int32_t i);
// How many copies the show animates: SpriteCount, but never more than the tables hold
// room for (the dialog's maximum).
int32_t AnimatedCopyCount(void);
// Halves to the even neighbour, as the show rounds positions, sizes and angles.
int32_t RoundToInt(float value);
