#include <gtest/gtest.h>
#include <limits.h>

#include <string>

#include "app/switch.h"
#include "prefs/settings_text.h"
#include "runtime/strings.h"
#include "runtime/text.h"
#ifdef _WIN32
#include "app/app.h"
#include "app/settings.h"
#include "prefs/prefs.h"
#include "runtime/program.h"
#include "runtime/system.h"
#include "samples.h"
#endif

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
        {"[Group]\nZCOUNT = 9", "ZCOUNT", -999}, {"  [Group]\nZCOUNT = 9", "ZCOUNT", 9},
        {"ZCOUNT = -15", "ZCOUNT", -15}, {"ZCOUNT = abc", "ZCOUNT", 0}, {"ZDELAY = 1\nZCOUNT =", "ZCOUNT", 0},
        {"ZCOUNT =\t +12x", "ZCOUNT", 12}, {"ZCOUNT = 99999999999", "ZCOUNT", INT_MAX},
        {"ZCOUNT = -99999999999", "ZCOUNT", INT_MIN}, {"ZCOUNT = -2147483648", "ZCOUNT", INT_MIN},
        {"A = 1\r\nZCOUNT = 5\r\n", "ZCOUNT", 5}, {"A = 1\n\rZCOUNT = 5\n\r", "ZCOUNT", 5},
        {"A = 1\rZCOUNT = 5\r", "ZCOUNT", -999}, {"A = 1\rZCOUNT = 5\r", "A", 1}, {"", "ZCOUNT", -999},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FindSettingValue(row.content, row.key, -999, ';'), row.value) << row.content;
    char line[40];
    EXPECT_EQ(std::string(line, FormatSettingLine(line, "ZDELAY", INT_MIN)), "ZDELAY = -2147483648\r\n");
}

TEST(Switch, EveryFormSelectsItsMode)
{
    const struct {
        const char *parameter, *reduced;
        ProgramMode mode;
    } rows[] = {
        {"", "", MODE_CONFIGURE}, {"/c:1234", "C", MODE_CONFIGURE}, {"s", "", MODE_CONFIGURE}, {"/", "", MODE_CONFIGURE},
        {"/S", "S", MODE_SHOW},   {"//s", "S", MODE_SHOW},          {"xs", "S", MODE_SHOW},       {"/p", "P", MODE_NONE},
        {"/a", "A", MODE_NONE},   {"/x", "X", MODE_NONE},
    };
    for (const auto& row : rows) {
        ScratchCursor = ScratchArea;
        char* text = NULL;
        AssignFromScratch(&text, UpperCase(row.parameter, ScratchCursor));
        ReduceSwitch(&text);
        EXPECT_STREQ(text, row.reduced) << row.parameter;
        EXPECT_EQ(SelectMode(text), row.mode) << row.parameter;
        FreeString(text);
    }
}

#ifdef _WIN32
// Files in a folder of their own beside this test program.
class SettingsFiles : public testing::Test {
protected:
    std::string dir = std::string(ProgramDirectory) + "settings_work\\";
    std::string file = dir + "Zarn_Scr.ini";
    void SetUp() override
    {
        InitSettingsFile();
        CreateDirectoryA(dir.c_str(), NULL);
        SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(file.c_str());
        RemoveDirectoryA(file.c_str());
    }
    void Put(const std::string& bytes) { WriteFileBytes(file, Bytes(bytes.begin(), bytes.end())); }
    std::string Get()
    {
        Bytes bytes = ReadFileBytes(file);
        bool leftover = GetFileAttributesA((file + ".new").c_str()) != INVALID_FILE_ATTRIBUTES;
        return std::string(bytes.begin(), bytes.end()) + (leftover ? "<.new left>" : "");
    }
};

// A save goes to a new file that takes the old one's place only once complete; what
// cannot be written (a read-only file, a folder in its place, a missing folder) keeps
// what was there.
TEST_F(SettingsFiles, SavesAreWholeOrNothing)
{
    EXPECT_EQ(OpenSettingsFile(file.c_str()), 0);
    Put("ZCOUNT = 3\r\n; mine\r\n");
    ASSERT_NE(CreateSettingsFile(file.c_str()), 0);
    EXPECT_EQ(ReadSettingInt("ZCOUNT", 10), 10) << "a file being written is not read";
    WriteSettingInt("ZCOUNT", 50);
    WriteSettingInt("ZDELAY", 0);
    EXPECT_EQ(Get(), "ZCOUNT = 3\r\n; mine\r\n<.new left>") << "readers see the old file until the end";
    EXPECT_EQ(CloseSettingsFile(), 1);
    EXPECT_EQ(Get(), "ZCOUNT = 50\r\nZDELAY = 0\r\n");
    ASSERT_NE(OpenSettingsFile(file.c_str()), 0);
    WriteSettingInt("ZDELAY", 9);
    EXPECT_EQ(CloseSettingsFile(), 0) << "a file open for reading takes no lines";
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(CreateSettingsFile(file.c_str()), 0);
    WriteSettingInt("ZCOUNT", 4);
    EXPECT_EQ(CloseSettingsFile(), 0);
    EXPECT_EQ(Get(), "ZCOUNT = 50\r\nZDELAY = 0\r\n");
    SetUp();
    ASSERT_TRUE(CreateDirectoryA(file.c_str(), NULL));
    EXPECT_EQ(OpenSettingsFile(file.c_str()) || CreateSettingsFile(file.c_str()), 0);
    EXPECT_TRUE(GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(CreateSettingsFile((dir + "no such folder\\Zarn_Scr.ini").c_str()), 0);
}

TEST_F(SettingsFiles, TheTwoValuesAndTheFileSizeQuery)
{
    Put("ZCOUNT = 150\r\n");
    LoadSettings(dir.c_str());
    EXPECT_TRUE(SpriteCount == 150 && FrameDelay == 10) << "a hand-edited count is kept as it stands";
    SpriteCount = -3;
    FrameDelay = 0;
    EXPECT_TRUE(SaveSettings(dir.c_str()) && Get() == "ZCOUNT = -3\r\nZDELAY = 0\r\n");
    SetCurrentDirectoryA("C:\\");
    EXPECT_EQ(QueryFileSize("settings_work\\Zarn_Scr.ini"), 25) << "relative to the program's folder";
    EXPECT_EQ(QueryFileSize(dir.c_str()) + QueryFileSize(std::string(1024, 'a').c_str()), -2 - 1);
}
#endif

} // namespace
