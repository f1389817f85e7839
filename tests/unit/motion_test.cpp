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

// Eight copies over 3000 frames from seed 42, bit for bit against the independent
// model in tools/motion_model.py (its output is tests/data/motion_42.txt): the draws,
// their order, the turn-backs and the float arithmetic.
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
            uint32_t bits[4];
            const float values[4] = {PosX[i], PosY[i], Size[i], Angle[i]};
            memcpy(bits, values, sizeof bits);
            char line[160];
            snprintf(line, sizeof line, "%d %d %08X %08X %08X %08X %d %d %d %d", frame, i, bits[0], bits[1], bits[2],
                     bits[3], SpeedX[i], SpeedY[i], SpeedSize[i], SpeedAngle[i]);
            ASSERT_TRUE(std::getline(golden, expected));
            ASSERT_EQ(line, expected.substr(0, expected.find('\r'))) << "first difference";
        }
    }
    EXPECT_EQ(compared, 8 * 61);
}

// Where a copy is drawn: halves go to the even neighbour. A hand-edited count flies at most 100 copies.
TEST(Motion, RoundingHalvesToEvenAndTheCountIsCapped)
{
    for (const auto& half : {std::make_pair(0.5f, 0), std::make_pair(2.5f, 2), std::make_pair(-1.5f, -2)})
        EXPECT_EQ(RoundToInt(half.first), half.second) << half.first;
    for (const auto& count : {std::make_pair(5000, 100), std::make_pair(100, 100), std::make_pair(99, 99)})
        EXPECT_EQ((SpriteCount = count.first, AnimatedCopyCount()), count.second) << count.first;
}

} // namespace
