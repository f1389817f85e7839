#include <limits.h>

#include <vector>

#include <gtest/gtest.h>

#include "runtime/random.h"

static std::vector<int32_t> Draws(uint32_t seed, int32_t max, int count)
{
    SeedRandom(seed);
    std::vector<int32_t> values;
    for (int i = 0; i < count; i++)
        values.push_back(RandomInt(max));
    return values;
}

TEST(Random, SeedZeroState)
{
    SeedRandom(0);
    EXPECT_EQ(RandomState.words[0], 0xBEB7F232u);
    EXPECT_EQ(RandomState.words[1], 0x12CEB592u);
    EXPECT_EQ(RandomState.words[2], 0x70F3D23Cu);
    EXPECT_EQ(RandomState.words[3], 0x9B24BCEAu);
    EXPECT_EQ(RandomState.p1, 3);
    EXPECT_EQ(RandomState.p2, 13);
}

TEST(Random, KnownSequences)
{
    using V = std::vector<int32_t>;
    EXPECT_EQ(Draws(0, 99, 8), (V{54, 78, 66, 37, 23, 62, 63, 42}));
    EXPECT_EQ(Draws(1, 99, 8), (V{72, 18, 60, 91, 0, 12, 50, 29}));
    EXPECT_EQ(Draws(12345, 99, 8), (V{27, 71, 66, 34, 58, 27, 30, 70}));
}

TEST(Random, EdgesOfTheRange)
{
    // A zero or negative bound still uses up one step each.
    SeedRandom(0);
    EXPECT_EQ(RandomInt(0), 0);
    EXPECT_EQ(RandomInt(-1), INT_MIN);
    EXPECT_EQ(RandomInt(99), 66) << "the third draw of seed 0";

    SeedRandom(7);
    int32_t largest = 0;
    for (int i = 0; i < 10000; i++) {
        int32_t value = RandomInt(INT_MAX);
        ASSERT_GE(value, 0);
        if (value > largest)
            largest = value;
    }
    EXPECT_GT(largest, INT_MAX / 2);
}

TEST(Random, EveryValueOfASmallRangeComes)
{
    SeedRandom(99);
    int counts[3] = {0, 0, 0};
    for (int i = 0; i < 30000; i++) {
        int32_t value = RandomInt(2);
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 2);
        counts[value]++;
    }
    for (int count : counts)
        EXPECT_NEAR(count, 10000, 600);
}
