#pragma once
// The program's pseudo-random generator (a RANROT type W ring of 17 64-bit entries).
#include <stdint.h>

typedef struct RandomGenerator {
    uint32_t words[34]; // entry i: low word 2i, high word 2i + 1
    int32_t p1;
    int32_t p2;
} RandomGenerator;

extern RandomGenerator RandomState;

void SeedRandom(uint32_t seed);
void SeedRandomFromClock(void);
// One step: the low word in *y, the high word in *z.
void RandomStep(uint32_t* y, uint32_t* z);
// Uniform from 0 to max inclusive; INT32_MIN for a negative max (a step is still used).
int32_t RandomInt(int32_t max);
