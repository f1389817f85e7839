#include "runtime/random.h"

RandomGenerator RandomState;

static uint32_t RotateLeft(uint32_t x, int r)
{
    return (x << r) | (x >> (32 - r));
}

void SeedRandom(uint32_t seed)
{
    uint32_t x = seed;
    for (int k = 0; k < 34; k++) {
        x = x * 2891336453u + 1u;
        RandomState.words[k] = x;
    }
    RandomState.p1 = 0;
    RandomState.p2 = 10;
    uint32_t y, z;
    for (int i = 0; i < 31; i++)
        RandomStep(&y, &z);
}

void RandomStep(uint32_t* y, uint32_t* z)
{
    uint32_t* a = &RandomState.words[2 * RandomState.p1];
    const uint32_t* b = &RandomState.words[2 * RandomState.p2];
    *z = RotateLeft(a[0], 19) + b[0];
    *y = RotateLeft(a[1], 27) + b[1];
    a[0] = *y;
    a[1] = *z;
    RandomState.p1 = RandomState.p1 == 0 ? 16 : RandomState.p1 - 1;
    RandomState.p2 = RandomState.p2 == 0 ? 16 : RandomState.p2 - 1;
}

int32_t RandomInt(int32_t max)
{
    uint32_t y, z;
    RandomStep(&y, &z);
    if (max < 0)
        return INT32_MIN;
    uint64_t range = (uint64_t)(uint32_t)max + 1u;
    uint64_t t = ((uint64_t)y * range) >> 32;
    return (int32_t)(((uint64_t)z * range + t) >> 32);
}
