#include <string.h>

#include "runtime/heap.h"
#include "scratch_fixture.h"

using Strings = ScratchTest;

TEST_F(Strings, ConcatenationOfAbsentAndPresentStrings)
{
    char* variable = NULL;
    char* start = ScratchCursor;
    AppendToScratch(NULL);
    AppendToScratch("abc");
    AssignFromScratch(&variable, start);
    EXPECT_STREQ(variable, "abc");
    EXPECT_EQ(ScratchCursor, start) << "the cursor goes back to where the temporary started";

    start = ScratchCursor;
    AppendToScratch(NULL);
    AppendToScratch(NULL);
    AssignFromScratch(&variable, start);
    ASSERT_NE(variable, nullptr) << "an empty temporary still gives a present string";
    EXPECT_STREQ(variable, "");
    EXPECT_TRUE(StringsEqual(variable, NULL));
    FreeString(variable);
}

TEST_F(Strings, AppendLeavesTheCursorOnTheTerminator)
{
    char* start = ScratchCursor;
    AppendToScratch("C:\\dir\\");
    AppendToScratch("Zarn_Scr.ini");
    EXPECT_EQ(ScratchCursor, start + strlen("C:\\dir\\Zarn_Scr.ini"));
    EXPECT_STREQ(start, "C:\\dir\\Zarn_Scr.ini");
    EXPECT_EQ(*ScratchCursor, 0);
}

TEST_F(Strings, AssignReplacesAndCopyKeepsOnAbsent)
{
    char* variable = NULL;
    AssignString(&variable, "first");
    AssignString(&variable, "second");
    EXPECT_STREQ(variable, "second");
    CopyString(&variable, NULL);
    EXPECT_STREQ(variable, "second") << "copying an absent string leaves the variable alone";
    AssignString(&variable, NULL);
    EXPECT_EQ(variable, nullptr);

    const char* literal = "literal";
    CopyString(&variable, literal);
    ASSERT_NE(variable, literal) << "the variable owns a copy, never shares";
    EXPECT_STREQ(variable, literal);
    FreeString(variable);
}

TEST_F(Strings, Comparisons)
{
    EXPECT_TRUE(StringsEqual(NULL, ""));
    EXPECT_TRUE(StringsEqual("", NULL));
    EXPECT_FALSE(StringsEqual("C", "c"));
    EXPECT_TRUE(StringsEqual("abc", "abc"));
    EXPECT_FALSE(StringsEqual("abc", "abcd"));
    EXPECT_TRUE(StringLess("ab", "abc"));
    EXPECT_FALSE(StringLess("abc", "ab"));
    EXPECT_TRUE(StringGreater("\xE9", "z")) << "bytes compare unsigned";
    EXPECT_FALSE(StringLess(NULL, ""));
}

TEST_F(Strings, ScratchWritesStopAtTheEndOfTheArea)
{
    // Three long pieces are more than the area holds: the result is cut, never spilled.
    static char piece[30001];
    memset(piece, 'x', 30000);
    char* start = ScratchCursor;
    AppendToScratch(piece);
    AppendToScratch(piece);
    AppendToScratch(piece);
    EXPECT_EQ(ScratchCursor, ScratchArea + SCRATCH_SIZE - 1);
    EXPECT_EQ(strlen(start), (size_t)SCRATCH_SIZE - 1);

    // Rule 2 moves the cursor past the terminator, beyond the area: still no write outside.
    ScratchCursor++;
    AppendToScratch("more");
    EXPECT_EQ(ScratchCursor, ScratchArea + SCRATCH_SIZE - 1);
    EXPECT_EQ(*ScratchCursor, 0);
    char* copy = NULL;
    AssignFromScratch(&copy, ScratchCursor);
    EXPECT_STREQ(copy, "");
    FreeString(copy);
}

TEST(Arrays, LayoutOfTheBlock)
{
    int32_t* typeWord = (int32_t*)AllocateArray(4, 101);
    ASSERT_NE(typeWord, nullptr);
    EXPECT_EQ(typeWord[-1], 101) << "the count stands in front of the type word";
    EXPECT_EQ(typeWord[0], 0);
    for (int i = 1; i <= 102; i++)
        EXPECT_EQ(typeWord[i], 0) << "element " << i - 1 << " is zero";
    ReleaseArray(typeWord + 1);

    float* floats = (float*)DeclareArray(NULL, 4, 101, ARRAY_TYPE_FLOAT);
    ASSERT_NE(floats, nullptr);
    EXPECT_EQ(((int32_t*)floats)[-1], ARRAY_TYPE_FLOAT);
    EXPECT_EQ(((int32_t*)floats)[-2], 101);
    floats[101] = 1.5f; // the last index is the count itself
    floats = (float*)DeclareArray(floats, 4, 3, ARRAY_TYPE_FLOAT);
    ASSERT_NE(floats, nullptr);
    EXPECT_EQ(floats[3], 0.0f) << "a new declaration starts zeroed";
    ReleaseArray(floats);
    ReleaseArray(NULL);
    EXPECT_EQ(AllocateArray(4, -1), nullptr);
    EXPECT_EQ(AllocateArray(4, 0x7FFFFFFF), nullptr);
}
