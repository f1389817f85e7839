#include <gtest/gtest.h>
#include <limits.h>

#include "prefs/settings_text.h"

namespace {

TEST(SettingsText, LineFormsValuesAndLineEnds)
{
    const struct {
        const char *content, *key;
        int32_t value; // -999: the default
    } rows[] = {
        {"zcount=7", "ZCOUNT", 7}, {"   ZCOUNT   =   12   ; note", "ZCOUNT", 12}, {"ZCOUNTER = 5", "ZCOUNT", -999},
        {"ZCOUNT = 5", "ZCOUNTER", -999}, {"ZCOUNT 5", "ZCOUNT", -999}, {"ZCOUNT = 3\nZCOUNT = 4\n", "ZCOUNT", 3},
        {"Z COUNT = 4", "Z COUNT", 4}, {"\tZCOUNT = 4", "ZCOUNT", -999}, {"ZCOUNT = 2", "", -999},
        {"; ZCOUNT = 9", "ZCOUNT", -999}, {"   ; ZCOUNT = 9\nZCOUNT = 8", "ZCOUNT", 8},
        {"  [Group]\nZCOUNT = 9", "ZCOUNT", 9}, {"ZCOUNT = -15", "ZCOUNT", -15}, {"ZCOUNT = abc", "ZCOUNT", 0},
        {"ZDELAY = 1\nZCOUNT =", "ZCOUNT", 0}, {"ZCOUNT =\t +12x", "ZCOUNT", 12},
        {"ZCOUNT = -2147483648", "ZCOUNT", INT_MIN}, {"A = 1\n\rZCOUNT = 5\n\r", "ZCOUNT", 5},
        {"A = 1\rZCOUNT = 5\r", "ZCOUNT", -999}, {"A = 1\rZCOUNT = 5\r", "A", 1}, {"", "ZCOUNT", -999},
        {"\xEF\xBB\xBFZCOUNT = 7", "ZCOUNT", 7}, // a byte-order mark, as Notepad's "UTF-8" writes
    };
    for (const auto& row : rows)
        EXPECT_EQ(FindSettingValue(row.content, row.key, -999, ';'), row.value) << row.content;
}

} // namespace
