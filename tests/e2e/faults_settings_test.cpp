// Settings files as users and accidents leave them: whatever the file holds, the
// dialog opens with what can be read from it, leaving ends with exit code 0, and
// nothing the user did not confirm is changed.
#include <string>

#include "dialog_fixture.h"

using SettingsFaults = ConfigDialog;

TEST_F(SettingsFaults, WhateverTheFileHoldsTheDialogShowsWhatCanBeRead)
{
    struct Case {
        const char* what;
        std::string bytes;
        const char* count;
        const char* delay;
    };
    std::string garbage;
    uint32_t x = 12345;
    for (int i = 0; i < 4096; i++) {
        x = x * 1103515245u + 12345u;
        garbage += (char)(x >> 24);
    }
    const Case cases[] = {
        {"empty", "", "10", "10"},
        {"binary garbage", garbage, "10", "10"},
        {"lines without an end", "ZDELAY = 7\r\nZCOUNT = 44", "44", "7"},
        {"a key without a value at the end", "ZDELAY = 7\r\nZCOUNT =", "0", "7"},
        {"values beyond 32 bits", "ZCOUNT = 99999999999\r\nZDELAY = -99999999999\r\n", "2147483647", "-2147483648"},
        {"negative and huge", "ZCOUNT = -5\r\nZDELAY = 5000\r\n", "-5", "5000"},
        {"a zero byte before the keys", std::string("ZDELAY = 3\r\n\0ZCOUNT = 9\r\n", 25), "10", "3"},
        {"a group before the keys", "[Zarn]\r\nZCOUNT = 9\r\n", "10", "10"},
        {"carriage returns alone", "ZCOUNT = 12\rZDELAY = 1\r", "12", "10"},
    };
    Prepare("faults_settings");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteWholeFile(settings, c.bytes);
        Open("/c");
        EXPECT_EQ(ControlText(dialog, COUNT_FIELD), c.count);
        EXPECT_EQ(ControlText(dialog, DELAY_FIELD), c.delay);
        ClickButton(dialog, CANCEL_BUTTON);
        EXPECT_EQ(Ended(), 0u);
        EXPECT_TRUE(ReadWholeFile(settings) == c.bytes) << "the file was changed";
    }
}

TEST_F(SettingsFaults, AHugeFileIsReadToItsEnd)
{
    Prepare("faults_settings_huge");
    std::string bytes;
    const std::string comment = "; a comment line that a careless tool repeated many many times over\r\n";
    bytes.reserve(40u << 20);
    while (bytes.size() < (40u << 20))
        bytes += comment;
    bytes += "ZCOUNT = 33\r\nZDELAY = 4\r\n";
    WriteWholeFile(settings, bytes);
    Open("/c");
    EXPECT_EQ(ControlText(dialog, COUNT_FIELD), "33");
    EXPECT_EQ(ControlText(dialog, DELAY_FIELD), "4");
    ClickButton(dialog, OK_BUTTON);
    EXPECT_EQ(Ended(), 0u);
    EXPECT_EQ(ReadWholeFile(settings), "ZCOUNT = 33\r\nZDELAY = 4\r\n") << "confirming writes the two lines";
}

TEST_F(SettingsFaults, AReadOnlyFileIsReadAndKept)
{
    Prepare("faults_settings_readonly");
    const std::string bytes = "ZCOUNT = 20\r\nZDELAY = 30\r\n; kept\r\n";
    WriteWholeFile(settings, bytes);
    SetFileAttributesA(settings.c_str(), FILE_ATTRIBUTE_READONLY);
    Open("");
    EXPECT_EQ(ControlText(dialog, COUNT_FIELD), "20");
    EXPECT_EQ(ControlText(dialog, DELAY_FIELD), "30");
    ClickButton(dialog, OK_BUTTON);
    EXPECT_NE(AnswerMessage().find("could not be saved"), std::string::npos);
    ClickButton(dialog, CANCEL_BUTTON);
    EXPECT_EQ(Ended(), 0u);
    EXPECT_EQ(ReadWholeFile(settings), bytes);
}

TEST_F(SettingsFaults, AFolderNamedLikeTheFileStaysAFolder)
{
    Prepare("faults_settings_folder");
    ASSERT_TRUE(CreateDirectoryA(settings.c_str(), NULL));
    Open("/c");
    EXPECT_EQ(ControlText(dialog, COUNT_FIELD), "10");
    EXPECT_EQ(ControlText(dialog, DELAY_FIELD), "10");
    ClickButton(dialog, OK_BUTTON);
    EXPECT_NE(AnswerMessage().find("could not be saved"), std::string::npos);
    RequestClose(dialog);
    EXPECT_EQ(Ended(), 0u);
    DWORD attributes = GetFileAttributesA(settings.c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    RemoveDirectoryA(settings.c_str());
}
