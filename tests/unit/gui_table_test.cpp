// The window layer's arithmetic and the numbered tables, without any window.
#include <gtest/gtest.h>

#include <stdint.h>

#include "gui/placement.h"
#include "gui/table.h"
#include "runtime/heap.h"

TEST(WindowPlacement, FlagsSplitIntoCentringAndStyle)
{
    WindowPlacement plain = SplitWindowFlags(0);
    EXPECT_EQ(plain.centring, CENTRE_NONE);
    EXPECT_EQ(plain.style, 0x10C00000u);
    EXPECT_EQ(SplitWindowFlags(WINDOW_HIDDEN).style, 0x00C00000u);
    WindowPlacement dialog = SplitWindowFlags(0xCC0001);
    EXPECT_EQ(dialog.centring, CENTRE_SCREEN);
    EXPECT_EQ(dialog.style, 0x10CC0000u);
    EXPECT_EQ(SplitWindowFlags(3).centring, CENTRE_ACTIVE);
    // A style of its own gets no caption added.
    EXPECT_EQ(SplitWindowFlags(0x80000000u).style, 0x90000000u);
}

TEST(WindowPlacement, CentringHalvesDownwardsAndStopsAtZero)
{
    EXPECT_EQ(HalfDown(-7), -4);
    EXPECT_EQ(HalfDown(INT32_MIN), INT32_MIN / 2);
    int32_t x, y;
    CentreOnScreen(640, 480, 307, 157, &x, &y);
    EXPECT_EQ(x, 320 - 153);
    EXPECT_EQ(y, 240 - 78);
    CentreOnRectangle(-30, 5, 10, 25, 400, 300, &x, &y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
}

TEST(NumberedTable, GrowsToTheNumberPlusTheStepWithZeroedSlots)
{
    int32_t capacity = 30;
    int32_t* table = (int32_t*)AllocateTable(capacity, sizeof(int32_t));
    ASSERT_NE(table, nullptr);
    table[29] = 7;
    void* block = table;
    EXPECT_EQ(MakeRoomInTable(&block, &capacity, 29, 30, sizeof(int32_t)), 1);
    EXPECT_EQ(capacity, 30);
    EXPECT_EQ(MakeRoomInTable(&block, &capacity, 40, 30, sizeof(int32_t)), 1);
    EXPECT_EQ(capacity, 70);
    table = (int32_t*)block;
    EXPECT_EQ(table[29], 7);
    for (int32_t slot = 30; slot < capacity + 2; slot++)
        EXPECT_EQ(table[slot], 0) << slot;

    // Numbers no table can hold are refused, and the table stays as it was.
    EXPECT_EQ(MakeRoomInTable(&block, &capacity, -1, 30, sizeof(int32_t)), 0);
    EXPECT_EQ(MakeRoomInTable(&block, &capacity, INT32_MAX - 5, 30, sizeof(int32_t)), 0);
    EXPECT_EQ(MakeRoomInTable(&block, &capacity, INT32_MAX / 2, 30, SIZE_MAX / 4), 0);
    EXPECT_EQ(capacity, 70);
    EXPECT_EQ(block, (void*)table);
    FreeBlock(block);
}
