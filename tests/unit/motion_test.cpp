#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>

#include <fstream>
#include <string>

#include "app/app.h"
#include "app/copies.h"
#include "app/motion.h"
#include "runtime/random.h"
#ifndef ZARN_TEST_DATA
#include "runtime/program.h"
#define ZARN_TEST_DATA ProgramDirectory
#endif

namespace {

std::string StateLine(int frame, int i)
{
    uint32_t bits[4];
    const float values[4] = {PosX[i], PosY[i], Size[i], Angle[i]};
    memcpy(bits, values, sizeof bits);
    char line[160];
    snprintf(line, sizeof line, "%d %d %08X %08X %08X %08X %d %d %d %d", frame, i, bits[0], bits[1], bits[2], bits[3],
             SpeedX[i], SpeedY[i], SpeedSize[i], SpeedAngle[i]);
    return line;
}

// Eight copies over 3000 frames from seed 42, bit for bit against the independent
// model in tools/motion_model.py (its output is tests/data/motion_42.txt).
TEST(Motion, AFixedSeedFliesAsTheModelDoes)
{
    std::ifstream golden(std::string(ZARN_TEST_DATA) + "motion_42.txt");
    ASSERT_TRUE(golden.good());
    AllocateCopyTables();
    SeedRandom(42);
    for (int i = 1; i <= 8; i++)
        InitCopy(i);
    int compared = 0;
    std::string expected;
    for (int frame = 0; frame <= 3000; frame++) {
        for (int i = 1; i <= 8 && frame > 0; i++) {
            MoveCopy(i);
            CheckBounds(i);
        }
        for (int i = 1; i <= 8 && (frame <= 30 || frame % 100 == 0); i++, compared++) {
            ASSERT_TRUE(std::getline(golden, expected));
            expected.erase(expected.find_last_not_of("\r") + 1);
            ASSERT_EQ(StateLine(frame, i), expected) << "first difference";
        }
    }
    EXPECT_EQ(compared, 8 * 61);
}

TEST(Motion, TurnsAndTheCopyCount)
{
    AllocateCopyTables();
    SeedRandom(77);
    for (int i = 1; i <= 100; i++) {
        InitCopy(i);
        MoveCopy(i);
        CheckBounds(i);
        EXPECT_TRUE(SpeedSize[i] >= 0 && SpeedSize[i] <= 100) << "copy " << i << " grows after its first frame";
        EXPECT_TRUE(SpeedAngle[i] >= -200 && SpeedAngle[i] <= 200) << i;
    }
    const float angles[][2] = {{360.0f, 360.0f}, {0.0f, 0.0f}, {361.0f, 1.0f}, {-0.5f, 359.5f}};
    PosX[1] = PosY[1] = Size[1] = 100.0f;
    for (const auto& angle : angles) {
        Angle[1] = angle[0];
        RandomGenerator before = RandomState;
        CheckBounds(1);
        EXPECT_EQ(Angle[1], angle[1]) << angle[0];
        EXPECT_EQ(memcmp(&before, &RandomState, sizeof before), 0) << "an angle's wrap draws nothing";
    }
    const int32_t counts[][2] = {{5000, 100}, {100, 100}, {0, 0}, {-5, -5}};
    for (const auto& count : counts) {
        SpriteCount = count[0];
        EXPECT_EQ(AnimatedCopyCount(), count[1]) << count[0];
    }
    const float halves[][2] = {{0.5f, 0}, {1.5f, 2}, {2.5f, 2}, {-1.5f, -2}, {-2.6f, -3}};
    for (const auto& half : halves)
        EXPECT_EQ(RoundToInt(half[0]), (int32_t)half[1]) << half[0];
}

} // namespace
