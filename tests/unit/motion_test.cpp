#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/app.h"
#include "app/copies.h"
#include "app/motion.h"
#include "runtime/random.h"
#include "test_data.h"

static uint32_t Bits(float value)
{
    uint32_t bits;
    memcpy(&bits, &value, 4);
    return bits;
}

static std::string StateLine(int frame, int i)
{
    char line[160];
    snprintf(line, sizeof line, "%d %d %08X %08X %08X %08X %d %d %d %d", frame, i, (unsigned)Bits(PosX[i]),
             (unsigned)Bits(PosY[i]), (unsigned)Bits(Size[i]), (unsigned)Bits(Angle[i]), (int)SpeedX[i],
             (int)SpeedY[i], (int)SpeedSize[i], (int)SpeedAngle[i]);
    return line;
}

class Motion : public testing::Test {
protected:
    void SetUp() override
    {
        AllocateCopyTables();
        ASSERT_NE(PosX, nullptr);
    }
};

// The flight of eight copies over 3000 frames, against the independent model in
// tools/motion_model.py (its output is tests/data/motion_42.txt).
TEST_F(Motion, AFixedSeedReproducesTheModelsFlight)
{
    FILE* file = fopen((TestDataDir() + "motion_42.txt").c_str(), "r");
    ASSERT_NE(file, nullptr);
    std::vector<std::string> expected;
    char line[160];
    while (fgets(line, sizeof line, file)) {
        line[strcspn(line, "\r\n")] = 0;
        expected.push_back(line);
    }
    fclose(file);
    ASSERT_EQ(expected.size(), 8u * 61u);

    const int copies = 8;
    SeedRandom(42);
    for (int i = 1; i <= copies; i++)
        InitCopy(i);
    size_t next = 0;
    for (int frame = 0; frame <= 3000; frame++) {
        if (frame > 0) {
            for (int i = 1; i <= copies; i++) {
                MoveCopy(i);
                CheckBounds(i);
            }
        }
        if (frame <= 30 || frame % 100 == 0) {
            for (int i = 1; i <= copies; i++) {
                ASSERT_LT(next, expected.size());
                ASSERT_EQ(StateLine(frame, i), expected[next]) << "first difference";
                next++;
            }
        }
    }
    EXPECT_EQ(next, expected.size());
}

TEST_F(Motion, SetUpDrawsInItsOrder)
{
    SeedRandom(5);
    InitCopy(3);
    SeedRandom(5);
    float x = (float)(RandomInt(740) - 100);
    float y = (float)(RandomInt(580) - 100);
    float angle = (float)RandomInt(360);
    int32_t magnitude = RandomInt(100);
    int32_t speedX = magnitude * RandomSign();
    EXPECT_EQ(PosX[3], x);
    EXPECT_EQ(PosY[3], y);
    EXPECT_EQ(Angle[3], angle);
    EXPECT_EQ(Size[3], 0.0f);
    EXPECT_EQ(SpeedX[3], speedX);
    EXPECT_GE(PosX[3], -100.0f);
    EXPECT_LE(PosX[3], 640.0f);
}

TEST_F(Motion, EveryCopyTurnsBackInItsFirstFrame)
{
    SeedRandom(77);
    for (int i = 1; i <= 100; i++)
        InitCopy(i);
    for (int i = 1; i <= 100; i++) {
        MoveCopy(i);
        ASSERT_LT(Size[i], 10.0f);
        CheckBounds(i);
        EXPECT_GE(SpeedSize[i], 0) << "copy " << i;
        EXPECT_LE(SpeedSize[i], 100);
        EXPECT_GE(SpeedAngle[i], -200);
        EXPECT_LE(SpeedAngle[i], 200);
    }
}

TEST_F(Motion, AnglesWrapByOneTurnOnly)
{
    SeedRandom(1);
    Size[1] = 100.0f; // no turn-back, so no draws
    PosX[1] = PosY[1] = 100.0f;
    const float cases[][2] = {{360.0f, 360.0f}, {0.0f, 0.0f}, {361.0f, 1.0f}, {-1.0f, 359.0f}, {-0.5f, 359.5f}};
    for (const auto& c : cases) {
        Angle[1] = c[0];
        CheckBounds(1);
        EXPECT_EQ(Angle[1], c[1]) << c[0];
    }
    EXPECT_EQ(RandomState.p1, ([] { SeedRandom(1); return RandomState.p1; })()) << "no draws were made";
}

TEST_F(Motion, ACopyBeyondTheEdgeDrawsUntilItHeadsBack)
{
    SeedRandom(3);
    PosX[2] = 630.5f;
    PosY[2] = 100.0f;
    Size[2] = 100.0f;
    SpeedX[2] = 100;
    CheckBounds(2);
    EXPECT_LE(SpeedX[2], 0);
    EXPECT_GE(SpeedX[2], -100);
    EXPECT_GE(SpeedAngle[2], -200);

    // A drawn speed of 0 leaves it beyond the edge: the next frame draws again.
    bool sawZero = false;
    for (uint32_t seed = 0; seed < 2000 && !sawZero; seed++) {
        SeedRandom(seed);
        PosX[2] = 631.0f;
        CheckBounds(2);
        if (SpeedX[2] != 0)
            continue;
        sawZero = true;
        MoveCopy(2);
        EXPECT_EQ(PosX[2], 631.0f);
        RandomGenerator before = RandomState;
        CheckBounds(2);
        EXPECT_NE(memcmp(&before, &RandomState, sizeof before), 0) << "a fresh speed was drawn";
        EXPECT_LE(SpeedX[2], 0);
    }
    EXPECT_TRUE(sawZero);
}

TEST(CopyCount, NeverMoreThanTheTablesHold)
{
    SpriteCount = 150;
    EXPECT_EQ(AnimatedCopyCount(), 100);
    SpriteCount = 100;
    EXPECT_EQ(AnimatedCopyCount(), 100);
    SpriteCount = 0;
    EXPECT_EQ(AnimatedCopyCount(), 0);
    SpriteCount = -5;
    EXPECT_LE(AnimatedCopyCount(), 0);
    SpriteCount = 10;
}

TEST(Rounding, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(RoundToInt(0.5f), 0);
    EXPECT_EQ(RoundToInt(1.5f), 2);
    EXPECT_EQ(RoundToInt(2.5f), 2);
    EXPECT_EQ(RoundToInt(-0.5f), 0);
    EXPECT_EQ(RoundToInt(-1.5f), -2);
    EXPECT_EQ(RoundToInt(2.4f), 2);
    EXPECT_EQ(RoundToInt(-2.6f), -3);
}
