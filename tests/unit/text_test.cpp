#include <limits.h>
#include <string.h>

#include "runtime/text.h"
#include "scratch_fixture.h"

using Text = ScratchTest;

TEST_F(Text, LeftCharsAndLength)
{
    EXPECT_STREQ(LeftChars("abc", 5, Out()), "abc");
    EXPECT_STREQ(LeftChars("abc", 0, Out()), "");
    EXPECT_STREQ(LeftChars("abc", -3, Out()), "");
    EXPECT_STREQ(LeftChars(NULL, 2, Out()), "");
    char* out = LeftChars("abcdef", 2, Out());
    EXPECT_STREQ(out, "ab");
    EXPECT_EQ(ScratchCursor, out + 2);
    EXPECT_EQ(StringLength(NULL), 0);
    EXPECT_EQ(StringLength("abcd"), 4);
}

TEST_F(Text, UpperCaseOnlyTouchesAsciiAndHighLetters)
{
    EXPECT_STREQ(UpperCase("/c", Out()), "/C");
    EXPECT_STREQ(UpperCase("09:/", Out()), "09:/");
    EXPECT_STREQ(UpperCase("\xE9\xFF\xDF{`", Out()), "\xC9\xDF\xDF{`");
    EXPECT_STREQ(UpperCase(NULL, Out()), "");

    // Written over its own input, as a nested expression does.
    char* start = Out();
    AppendToScratch("mixed Case s");
    EXPECT_EQ(UpperCase(start, start), start);
    EXPECT_STREQ(start, "MIXED CASE S");
    EXPECT_EQ(ScratchCursor, start + 12);
}

TEST_F(Text, Spaces)
{
    char* out = Spaces(1000, Out());
    EXPECT_EQ(strlen(out), 1000u);
    EXPECT_EQ(strspn(out, " "), 1000u);
    EXPECT_STREQ(Spaces(0, Out()), "");
    EXPECT_STREQ(Spaces(-4, Out()), "");
    ScratchCursor = ScratchArea + 1000;
    EXPECT_EQ(strlen(Spaces(100000, Out())), (size_t)SCRATCH_SIZE - 1001) << "cut at the area's end";
}

TEST_F(Text, NumberFormatting)
{
    EXPECT_STREQ(NumberToString(0, Out()), "0");
    EXPECT_STREQ(NumberToString(-15, Out()), "-15");
    EXPECT_STREQ(NumberToString(2147483647, Out()), "2147483647");
    char* out = NumberToString(INT_MIN, Out());
    EXPECT_STREQ(out, "-2147483648");
    EXPECT_EQ(ScratchCursor, out + 11);
    EXPECT_STREQ(UnsignedToString(0xFFFFFFFFu, 2, Out()), "4294967295");
    EXPECT_STREQ(UnsignedToString(0x1234u, 0, Out()), "52");
    EXPECT_STREQ(UnsignedToString(0x12345u, 1, Out()), "9029");
    EXPECT_STREQ(HexToString(0xBEB7F232u, Out()), "BEB7F232");
    EXPECT_STREQ(HexToString(0, Out()), "0");
}

TEST_F(Text, NumberParsing)
{
    EXPECT_EQ(StringToNumber("  -42ms"), -42);
    EXPECT_EQ(StringToNumber("+7"), 7);
    EXPECT_EQ(StringToNumber("- 5"), 0);
    EXPECT_EQ(StringToNumber("abc"), 0);
    EXPECT_EQ(StringToNumber(""), 0);
    EXPECT_EQ(StringToNumber(NULL), 0);
    EXPECT_EQ(StringToNumber("4294967297"), 1) << "accumulated modulo 2^32";
    EXPECT_EQ(StringToNumber("-2147483648"), INT_MIN);
    EXPECT_EQ(StringToNumber("\t5"), 0) << "only the space character is skipped";
    EXPECT_EQ(StringToNumber("250"), 250);
}

TEST_F(Text, RemoveAll)
{
    EXPECT_STREQ(RemoveAll("/C:123", "/c", REMOVE_IGNORE_CASE, Out()), ":123");
    EXPECT_STREQ(RemoveAll("/C:123", "/c", 0, Out()), "/C:123");
    EXPECT_STREQ(RemoveAll("aaa", "aa", 0, Out()), "a");
    EXPECT_STREQ(RemoveAll("abcabc", "b", 0, Out()), "acac");
    EXPECT_STREQ(RemoveAll("", "a", 0, Out()), "");
    EXPECT_STREQ(RemoveAll("abc", "", 0, Out()), "");
    EXPECT_STREQ(RemoveAll(NULL, "a", 0, Out()), "");
    EXPECT_STREQ(RemoveAll("abc", NULL, 0, Out()), "");
    EXPECT_STREQ(RemoveAll("abcab", "abc", 0, Out()), "ab") << "a match cut short by the end is kept";

    // The search text may be a temporary that the result overwrites.
    char* start = Out();
    char* find = LeftChars("/S", 1, start);
    ScratchCursor++;
    char* result = RemoveAll("//s/x", find, REMOVE_IGNORE_CASE, start);
    EXPECT_EQ(result, start);
    EXPECT_STREQ(result, "sx");
    EXPECT_EQ(ScratchCursor, start + 2);
}

TEST_F(Text, DirectoryPart)
{
    EXPECT_STREQ(DirectoryPart("\"C:\\Program Files\\Zarn\\Zarn_Scr.scr\" /s", Out()), "C:\\Program Files\\Zarn\\");
    EXPECT_STREQ(DirectoryPart("C:\\WINDOWS\\Zarn_Scr.scr", Out()), "C:\\WINDOWS\\");
    EXPECT_STREQ(DirectoryPart("Zarn_Scr.scr", Out()), "");
    EXPECT_STREQ(DirectoryPart(NULL, Out()), "");
    EXPECT_STREQ(DirectoryPart("\\", Out()), "\\");
    EXPECT_STREQ(DirectoryPart("C:\\a\"b\\c", Out()), "C:\\a") << "cut at the first quote";
}
