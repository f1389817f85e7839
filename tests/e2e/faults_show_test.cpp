// The show over every kind of picture file and extreme settings: it either shows a
// picture or a black screen, never crashes, and Escape always ends it with exit code 0.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "dialog_driver.h"
#include "scr_process.h"
#include "show_driver.h"

namespace {

enum Seen { BLACK, PICTURE };

bool Yellow(uint32_t pixel)
{
    return (pixel >> 16 & 0xFF) >= 0xF0 && (pixel >> 8 & 0xFF) >= 0xF0 && (pixel & 0xFF) < 0x10;
}

// Starts the show and gives it time to get under way; it must still be running then.
HANDLE StartRunningShow(const std::string& folder, const char* parameters = "/s")
{
    HANDLE process = StartScr(folder, parameters);
    if (!process)
        return NULL;
    Sleep(2500);
    EXPECT_EQ(WaitForSingleObject(process, 0), (DWORD)WAIT_TIMEOUT) << "the show ended by itself";
    return process;
}

// Starts the show, looks at the screen once it is under way, then ends it with Escape.
// With colour given, every pixel that is not black must be of that colour.
void ExpectShow(const std::string& folder, Seen expected, const char* parameters = "/s",
                bool (*colour)(uint32_t) = nullptr)
{
    HANDLE process = StartRunningShow(folder, parameters);
    ASSERT_NE(process, nullptr);
    Shot shot = TakeShot();
    EXPECT_EQ(shot.width, 640);
    if (expected == BLACK) {
        EXPECT_EQ(shot.Count(NotBlack), 0);
    } else {
        EXPECT_GT(shot.Count(NotBlack), 200);
    }
    if (colour) {
        EXPECT_EQ(shot.Count(colour), shot.Count(NotBlack)) << "colours the picture does not have";
    }
    PressEscape();
    EXPECT_EQ(WaitForScr(process, 5000), 0u);
}

void Put(std::string& bytes, size_t at, uint32_t value, int size)
{
    for (int i = 0; i < size; i++)
        bytes[at + (size_t)i] = (char)(value >> (8 * i));
}

// A solid yellow BMP of the given depth, 40 x 30, bottom-up or top-down.
std::string YellowBmp(int bits, bool topDown)
{
    const int width = 40, height = 30;
    int paletteSize = bits == 8 ? 256 * 4 : 0;
    int pitch = ((width * bits / 8) + 3) & ~3;
    size_t offset = 54 + (size_t)paletteSize;
    std::string bytes(offset + (size_t)(pitch * height), '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    Put(bytes, 2, (uint32_t)bytes.size(), 4);
    Put(bytes, 10, (uint32_t)offset, 4);
    Put(bytes, 14, 40, 4);
    Put(bytes, 18, (uint32_t)width, 4);
    Put(bytes, 22, (uint32_t)(topDown ? -height : height), 4);
    Put(bytes, 26, 1, 2);
    Put(bytes, 28, (uint32_t)bits, 2);
    if (bits == 8)
        Put(bytes, 54 + 4, 0x00FFFF00, 4); // palette entry 1
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            size_t at = offset + (size_t)(y * pitch + x * bits / 8);
            if (bits == 8)
                bytes[at] = 1;
            else if (bits == 16)
                Put(bytes, at, 0x7FE0, 2); // 5-5-5 yellow
            else
                Put(bytes, at, 0x00FFFF00, 3);
        }
    return bytes;
}

} // namespace

TEST(PictureFaults, MissingEmptyOrFolderShowsTheBuiltInPicture)
{
    std::string folder = MakeScrFolder("faults_picture_none");
    WriteSettings(folder, 30, 10);
    ExpectShow(folder, PICTURE);
    WriteWholeFile(folder + "zarn.bmp", "");
    ExpectShow(folder, PICTURE);
    DeleteFileA((folder + "zarn.bmp").c_str());
    ASSERT_TRUE(CreateDirectoryA((folder + "zarn.bmp").c_str(), NULL));
    ExpectShow(folder, PICTURE);
}

TEST(PictureFaults, EveryDepthAndRowOrder)
{
    std::string folder = MakeScrFolder("faults_picture_depths");
    WriteSettings(folder, 30, 10);
    struct Case {
        int bits;
        bool topDown;
        Seen seen;
    } cases[] = {{8, false, BLACK}, {16, false, PICTURE}, {24, false, PICTURE}, {32, false, PICTURE}, {24, true, PICTURE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.bits) + (c.topDown ? " bits, top-down" : " bits"));
        WriteWholeFile(folder + "zarn.bmp", YellowBmp(c.bits, c.topDown));
        ExpectShow(folder, c.seen, "/s", Yellow);
    }
}

TEST(PictureFaults, DamagedFilesGiveABlackShow)
{
    std::string folder = MakeScrFolder("faults_picture_damaged");
    WriteSettings(folder, 30, 10);
    const std::string good = YellowBmp(24, false);
    for (size_t length : {(size_t)1, (size_t)2, (size_t)13, (size_t)33, (size_t)54, (size_t)500, good.size() - 1}) {
        SCOPED_TRACE("cut to " + std::to_string(length));
        WriteWholeFile(folder + "zarn.bmp", good.substr(0, length));
        ExpectShow(folder, BLACK);
    }
    struct Header {
        const char* what;
        size_t at;
        uint32_t value;
    } headers[] = {
        {"huge width", 18, 0x7FFFFFFF},     {"huge height", 22, 0x7FFFFFFF},     {"negative width", 18, 0xFFFFFFF0},
        {"most negative height", 22, 0x80000000}, {"pixels beyond the file", 10, 0xFFFFFF00}, {"run-length coded", 30, 1},
        {"bit fields", 30, 3},
    };
    for (const Header& h : headers) {
        SCOPED_TRACE(h.what);
        std::string bytes = good;
        Put(bytes, h.at, h.value, 4);
        WriteWholeFile(folder + "zarn.bmp", bytes);
        ExpectShow(folder, BLACK);
    }
}

TEST(ShowSettings, ExtremeCountsAndDelays)
{
    std::string folder = MakeScrFolder("faults_show_settings");
    WriteSettings(folder, -7, -20);
    ExpectShow(folder, BLACK);
    WriteSettings(folder, 2147483647, 0);
    ExpectShow(folder, PICTURE);
    WriteWholeFile(folder + "Zarn_Scr.ini", "ZCOUNT = 40\r\nZDELAY = 99999999999\r\n");
    HANDLE process = StartRunningShow(folder);
    ASSERT_NE(process, nullptr);
    RunUnix("/usr/bin/xdotool keydown Escape");
    EXPECT_EQ(WaitForSingleObject(process, 3000), (DWORD)WAIT_OBJECT_0) << "a delay of years still ends on Escape";
    RunUnix("/usr/bin/xdotool keyup Escape");
    EXPECT_EQ(WaitForScr(process, 5000), 0u);
}

TEST(ShowSwitches, EveryShowFormStartsTheShow)
{
    std::string folder = MakeScrFolder("faults_show_switches");
    WriteSettings(folder, 20, 10);
    for (const char* parameters : {"/s", "/S", "-s", "//s", "/s:99 extra", "\"/s\""}) {
        SCOPED_TRACE(parameters);
        ExpectShow(folder, PICTURE, parameters);
    }
}

TEST(ShowSwitches, ASecondCopyDuringTheShowEndsAtOnce)
{
    std::string folder = MakeScrFolder("faults_show_second");
    WriteSettings(folder, 20, 10);
    HANDLE show = StartRunningShow(folder);
    ASSERT_NE(show, nullptr);
    for (const char* parameters : {"/s", "/c", ""}) {
        HANDLE second = StartScr(folder, parameters);
        EXPECT_EQ(WaitForScr(second, 10000), 0u) << parameters;
    }
    EXPECT_EQ(WaitForSingleObject(show, 0), (DWORD)WAIT_TIMEOUT) << "the first runs on";
    EXPECT_GT(TakeShot().Count(NotBlack), 200);
    PressEscape();
    EXPECT_EQ(WaitForScr(show, 5000), 0u);
}

TEST(ShowSwitches, TheMouseAndOtherKeysDoNotEndTheShow)
{
    std::string folder = MakeScrFolder("faults_show_other_input");
    WriteSettings(folder, 20, 10);
    HANDLE show = StartRunningShow(folder);
    ASSERT_NE(show, nullptr);
    RunUnix("/usr/bin/xdotool mousemove 100 100 mousemove 500 400 click 1");
    RunUnix("/usr/bin/xdotool key space key a key Return key F1");
    Sleep(1000);
    EXPECT_EQ(WaitForSingleObject(show, 0), (DWORD)WAIT_TIMEOUT) << "only Escape ends the show";
    EXPECT_GT(TakeShot().Count(NotBlack), 200);
    PressEscape();
    EXPECT_EQ(WaitForScr(show, 5000), 0u);
}
