#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "app/app.h"
#include "app/settings.h"
#include "prefs/prefs.h"
#include "runtime/program.h"
#include "scratch_fixture.h"

// Settings files in a folder of their own beside this test program.
class SettingsFiles : public ScratchTest {
protected:
    std::string dir = std::string(ProgramDirectory) + "prefs_work\\";
    std::string file = dir + "Zarn_Scr.ini";

    void SetUp() override
    {
        ScratchTest::SetUp();
        InitSettingsFile();
        CreateDirectoryA(dir.c_str(), NULL);
        SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(file.c_str());
        RemoveDirectoryA(file.c_str());
    }
    void TearDown() override
    {
        CloseSettingsFile();
        SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    }

    void Put(const std::string& bytes)
    {
        HANDLE handle = CreateFileA(file.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        ASSERT_NE(handle, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        if (!bytes.empty())
            WriteFile(handle, bytes.data(), (DWORD)bytes.size(), &written, NULL);
        CloseHandle(handle);
    }
    std::string Get()
    {
        HANDLE handle = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
        if (handle == INVALID_HANDLE_VALUE)
            return "<missing>";
        std::string bytes(GetFileSize(handle, NULL), '\0');
        DWORD read = 0;
        if (!bytes.empty())
            ReadFile(handle, &bytes[0], (DWORD)bytes.size(), &read, NULL);
        CloseHandle(handle);
        return bytes;
    }
    bool NoLeftovers() { return GetFileAttributesA((file + ".new").c_str()) == INVALID_FILE_ATTRIBUTES; }
};

TEST_F(SettingsFiles, MissingAndEmptyFilesGiveDefaults)
{
    EXPECT_EQ(OpenSettingsFile(file.c_str()), 0);
    EXPECT_EQ(ReadSettingInt("ZCOUNT", 10), 10);
    Put("");
    EXPECT_NE(OpenSettingsFile(file.c_str()), 0);
    EXPECT_EQ(ReadSettingInt("ZCOUNT", 10), 10);
    EXPECT_EQ(ReadSettingInt("ZDELAY", 77), 77);
}

TEST_F(SettingsFiles, LookUpsSearchFromTheTopEachTime)
{
    Put("ZDELAY = 5\r\nZCOUNT = 25\r\n");
    ASSERT_NE(OpenSettingsFile(file.c_str()), 0);
    EXPECT_EQ(ReadSettingInt("ZCOUNT", 10), 25);
    EXPECT_EQ(ReadSettingInt("ZDELAY", 10), 5);
    EXPECT_EQ(ReadSettingInt("zcount", 10), 25);
    CloseSettingsFile();
    EXPECT_EQ(ReadSettingInt("ZCOUNT", 10), 10) << "nothing is open any more";
}

TEST_F(SettingsFiles, WritingGivesExactlyTheLines)
{
    ASSERT_NE(CreateSettingsFile(file.c_str()), 0);
    EXPECT_EQ(ReadSettingInt("ZCOUNT", 10), 10) << "a store open for writing answers with defaults";
    WriteSettingInt("ZCOUNT", 50);
    WriteSettingInt("ZDELAY", 0);
    WriteSettingInt("", 3);
    EXPECT_EQ(CloseSettingsFile(), 1);
    EXPECT_EQ(Get(), "ZCOUNT = 50\r\nZDELAY = 0\r\n");
    EXPECT_TRUE(NoLeftovers());
}

TEST_F(SettingsFiles, AFileBeingWrittenLeavesTheOldOneUntilItIsComplete)
{
    Put("ZCOUNT = 3\r\n; mine\r\n");
    ASSERT_NE(CreateSettingsFile(file.c_str()), 0);
    WriteSettingInt("ZCOUNT", 4);
    EXPECT_EQ(Get(), "ZCOUNT = 3\r\n; mine\r\n") << "readers still see the old settings";
    EXPECT_EQ(CloseSettingsFile(), 1);
    EXPECT_EQ(Get(), "ZCOUNT = 4\r\n");
}

TEST_F(SettingsFiles, AReadOnlyFileStaysAsItWas)
{
    Put("ZCOUNT = 3\r\n");
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(CreateSettingsFile(file.c_str()), 0);
    WriteSettingInt("ZCOUNT", 4);
    EXPECT_EQ(CloseSettingsFile(), 0);
    EXPECT_EQ(Get(), "ZCOUNT = 3\r\n");
    EXPECT_TRUE(NoLeftovers());
}

TEST_F(SettingsFiles, AFolderInPlaceOfTheFileIsLeftAlone)
{
    ASSERT_TRUE(CreateDirectoryA(file.c_str(), NULL));
    EXPECT_EQ(OpenSettingsFile(file.c_str()), 0);
    EXPECT_EQ(ReadSettingInt("ZCOUNT", 10), 10);
    EXPECT_EQ(CreateSettingsFile(file.c_str()), 0);
    EXPECT_NE(GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    RemoveDirectoryA(file.c_str());
}

TEST_F(SettingsFiles, AMissingFolderCannotBeWritten)
{
    std::string nowhere = dir + "no such folder\\Zarn_Scr.ini";
    EXPECT_EQ(CreateSettingsFile(nowhere.c_str()), 0);
    EXPECT_EQ(CloseSettingsFile(), 0);
}

TEST_F(SettingsFiles, AppendingToAFileOpenForReadingChangesNothing)
{
    Put("ZCOUNT = 3\r\n");
    ASSERT_NE(OpenSettingsFile(file.c_str()), 0);
    WriteSettingInt("ZDELAY", 9);
    EXPECT_EQ(CloseSettingsFile(), 0);
    EXPECT_EQ(Get(), "ZCOUNT = 3\r\n");
}

TEST_F(SettingsFiles, TheApplicationsSettings)
{
    std::string folder = dir;
    LoadSettings(folder.c_str());
    EXPECT_EQ(SpriteCount, 10);
    EXPECT_EQ(FrameDelay, 10);
    EXPECT_EQ(ScratchCursor, ScratchArea) << "temporaries are released";

    Put("ZCOUNT = 150\r\n");
    LoadSettings(folder.c_str());
    EXPECT_EQ(SpriteCount, 150) << "a hand-edited count is kept as it stands";
    EXPECT_EQ(FrameDelay, 10);

    SpriteCount = 25;
    FrameDelay = 0;
    EXPECT_EQ(SaveSettings(folder.c_str()), 1);
    EXPECT_EQ(Get(), "ZCOUNT = 25\r\nZDELAY = 0\r\n");
    SpriteCount = -3;
    FrameDelay = -40;
    EXPECT_EQ(SaveSettings(folder.c_str()), 1);
    EXPECT_EQ(Get(), "ZCOUNT = -3\r\nZDELAY = -40\r\n");
    LoadSettings(folder.c_str());
    EXPECT_EQ(SpriteCount, -3);
    EXPECT_EQ(FrameDelay, -40);

    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    SpriteCount = 7;
    EXPECT_EQ(SaveSettings(folder.c_str()), 0) << "a failed save is reported";
    EXPECT_EQ(Get(), "ZCOUNT = -3\r\nZDELAY = -40\r\n");
    EXPECT_EQ(ScratchCursor, ScratchArea);
}

TEST(DelayRule, RangeIsZeroToAThousand)
{
    EXPECT_EQ(AcceptDelay(0), 1);
    EXPECT_EQ(AcceptDelay(1000), 1);
    EXPECT_EQ(AcceptDelay(500), 1);
}
