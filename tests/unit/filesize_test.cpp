#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "runtime/program.h"
#include "runtime/system.h"

// Files made in a folder beside this test program, which is its program directory.
class FileSize : public testing::Test {
protected:
    std::string dir = std::string(ProgramDirectory) + "filesize_work\\";

    void SetUp() override
    {
        CreateDirectoryA(dir.c_str(), NULL);
        CreateDirectoryA((dir + "sub").c_str(), NULL);
        Write("empty.bin", "", 0);
        Write("five.bin", "12345", 5);
    }

    void Write(const char* name, const char* bytes, DWORD count)
    {
        HANDLE file = CreateFileA((dir + name).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, bytes, count, &written, NULL);
        CloseHandle(file);
    }
};

TEST_F(FileSize, SizesOfFilesAndFolders)
{
    EXPECT_EQ(QueryFileSize((dir + "five.bin").c_str()), 5);
    EXPECT_EQ(QueryFileSize((dir + "empty.bin").c_str()), 0);
    EXPECT_EQ(QueryFileSize((dir + "missing.bin").c_str()), -1);
    EXPECT_EQ(QueryFileSize((dir + "sub").c_str()), -2);
    EXPECT_EQ(QueryFileSize((dir + "sub\\").c_str()), -2);
}

TEST_F(FileSize, RelativeNamesAreLookedUpInTheProgramDirectory)
{
    SetCurrentDirectoryA("C:\\");
    EXPECT_EQ(QueryFileSize("filesize_work\\five.bin"), 5);
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_EQ(std::string(current) + "\\", std::string(ProgramDirectory));
}

TEST_F(FileSize, EmptyNamesDoNotTouchTheCurrentDirectory)
{
    SetCurrentDirectoryA("C:\\");
    EXPECT_EQ(QueryFileSize(""), -1);
    EXPECT_EQ(QueryFileSize(NULL), -1);
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_STREQ(current, "C:\\");
}

TEST_F(FileSize, OverlongNamesAreRefused)
{
    std::string longName = dir + std::string(5000, 'n');
    EXPECT_EQ(QueryFileSize(longName.c_str()), -1);
    std::string justTooLong(1024, 'a');
    EXPECT_EQ(QueryFileSize(justTooLong.c_str()), -1);
}

TEST_F(FileSize, WildcardsFindTheFirstMatch)
{
    EXPECT_EQ(QueryFileSize((dir + "fiv?.bin").c_str()), 5);
}
