#include <limits.h>

#include <gtest/gtest.h>

#include "prefs/settings_text.h"

static int32_t Find(const char* content, const char* key, int32_t fallback = -999)
{
    return FindSettingValue(content, key, fallback, ';');
}

TEST(SettingsText, KeysMatchWhole)
{
    EXPECT_EQ(Find("zcount=7", "ZCOUNT"), 7) << "case-insensitive, spaces optional";
    EXPECT_EQ(Find("   ZCOUNT   =   12   ; note", "ZCOUNT"), 12);
    EXPECT_EQ(Find("ZCOUNTER = 5", "ZCOUNT"), -999);
    EXPECT_EQ(Find("ZCOUNT = 5", "ZCOUNTER"), -999);
    EXPECT_EQ(Find("ZCOUNT 5", "ZCOUNT"), -999) << "no = means no value";
    EXPECT_EQ(Find("ZCOUNT = 3\nZCOUNT = 4\n", "ZCOUNT"), 3) << "the first line wins";
    EXPECT_EQ(Find("ZDELAY = 1\r\nZCOUNT = 2\r\n", "ZCOUNT"), 2);
    EXPECT_EQ(Find("ZCOUNT = 2", ""), -999);
    EXPECT_EQ(Find("ZCOUNT = 2", NULL), -999);
    EXPECT_EQ(Find("", "ZCOUNT"), -999);
    EXPECT_EQ(Find(NULL, "ZCOUNT"), -999);
    EXPECT_EQ(Find("Z COUNT = 4", "Z COUNT"), 4) << "inner spaces belong to the key";
    EXPECT_EQ(Find("\tZCOUNT = 4", "ZCOUNT"), -999) << "only spaces are skipped before a key";
}

TEST(SettingsText, CommentsAndGroups)
{
    EXPECT_EQ(Find("; ZCOUNT = 9", "ZCOUNT"), -999);
    EXPECT_EQ(Find("   ; ZCOUNT = 9\nZCOUNT = 8", "ZCOUNT"), 8);
    EXPECT_EQ(Find("[Group]\nZCOUNT = 9", "ZCOUNT"), -999) << "a group at column 0 ends the search";
    EXPECT_EQ(Find("  [Group]\nZCOUNT = 9", "ZCOUNT"), 9) << "an indented one is an ordinary line";
    EXPECT_EQ(Find("ZCOUNT = 1\n[Group]\nZDELAY = 9", "ZDELAY"), -999);
}

TEST(SettingsText, Values)
{
    EXPECT_EQ(Find("ZCOUNT = -15", "ZCOUNT"), -15);
    EXPECT_EQ(Find("ZCOUNT = abc", "ZCOUNT"), 0);
    EXPECT_EQ(Find("ZDELAY = 1\nZCOUNT =", "ZCOUNT"), 0) << "an empty value is 0, not the default";
    EXPECT_EQ(Find("ZCOUNT = +12x", "ZCOUNT"), 12);
    EXPECT_EQ(Find("ZCOUNT =\t 6", "ZCOUNT"), 6) << "the number is read as atoi reads it";
    EXPECT_EQ(Find("ZCOUNT = 99999999999", "ZCOUNT"), INT_MAX) << "beyond 32 bits is held at the limit";
    EXPECT_EQ(Find("ZCOUNT = -99999999999", "ZCOUNT"), INT_MIN);
    EXPECT_EQ(Find("ZCOUNT = 2147483647", "ZCOUNT"), INT_MAX);
    EXPECT_EQ(Find("ZCOUNT = -2147483648", "ZCOUNT"), INT_MIN);
}

TEST(SettingsText, LineEnds)
{
    EXPECT_EQ(Find("A = 1\nZCOUNT = 5\n", "ZCOUNT"), 5) << "LF";
    EXPECT_EQ(Find("A = 1\r\nZCOUNT = 5\r\n", "ZCOUNT"), 5) << "CR LF";
    EXPECT_EQ(Find("A = 1\n\rZCOUNT = 5\n\r", "ZCOUNT"), 5) << "LF CR";
    EXPECT_EQ(Find("A = 1\rZCOUNT = 5\r", "ZCOUNT"), -999) << "CR alone makes one line";
    EXPECT_EQ(Find("A = 1\rZCOUNT = 5\r", "A"), 1);
    EXPECT_EQ(Find("\n\n\nZCOUNT = 5", "ZCOUNT"), 5);
}

TEST(SettingsText, LinesAsWritten)
{
    char buffer[64];
    int32_t length = FormatSettingLine(buffer, "ZCOUNT", 50);
    EXPECT_EQ(std::string(buffer, length), "ZCOUNT = 50\r\n");
    length = FormatSettingLine(buffer, "ZDELAY", -7);
    EXPECT_EQ(std::string(buffer, length), "ZDELAY = -7\r\n");
    length = FormatSettingLine(buffer, "K", INT_MIN);
    EXPECT_EQ(std::string(buffer, length), "K = -2147483648\r\n");
}
