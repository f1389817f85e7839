// The real show (/s) on the tests' 640x480 16-bit display: what it shows, how it ends,
// and its three failure messages.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "scr_process.h"
#include "show_driver.h"

// A hand-edited count far beyond what the copy tables hold is bounded, not overrun.
TEST(Show, CopiesMoveAndEscapeEndsIt)
{
    std::string folder = MakeScrFolder("show_moves");
    WriteSettings(folder, 5000, 10);
    HANDLE process = StartScr(folder, "/s");
    ASSERT_NE(process, nullptr);
    Sleep(4000);
    Shot first = TakeShot();
    Sleep(400);
    Shot second = TakeShot();
    EXPECT_EQ(first.width, 640);
    EXPECT_GT(first.Count(NotBlack), 500) << "the picture is not on the screen";
    EXPECT_GT(CountChanged(first, second), 500) << "nothing moved";
    EXPECT_EQ(WaitForSingleObject(process, 0), (DWORD)WAIT_TIMEOUT) << "the show ended by itself";
    PressEscape();
    EXPECT_EQ(WaitForScr(process, 5000), 0u);
}

TEST(Show, APictureFileBesideTheProgramIsShown)
{
    std::string folder = MakeScrFolder("show_picture_file");
    WriteSettings(folder, 30, 10);
    WriteWholeFile(folder + "zarn.bmp", SolidBmp(64, 48, 0, 255, 0));
    HANDLE process = StartScr(folder, "/s");
    ASSERT_NE(process, nullptr);
    Sleep(4000);
    Shot shot = TakeShot();
    int green = shot.Count([](uint32_t p) { return (p & 0xF8FCF8) == 0x00FC00; });
    EXPECT_GT(green, 500);
    EXPECT_EQ(shot.Count(NotBlack), green) << "colours other than the file's are shown";
    PressEscape();
    EXPECT_EQ(WaitForScr(process, 5000), 0u);
}

TEST(Show, UnusablePictureFilesAndNoCopiesGiveABlackShow)
{
    // A 16 x 16 green PNG: readable, but not as a BMP.
    static const char greenPng[] = "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x10\x00\x00\x00\x10\x08\x02\x00\x00\x00\x90\x91\x68\x36\x00\x00\x00\x15\x49\x44\x41\x54\x78\xda\x63\x60\xf8\xcf\x40\x1a\x1a\xd5\x30\xaa\x61\xf8\x6a\x00\x00\x91\xea\xff\x01\x95\x7f\xd8\x4f\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82";
    struct Case {
        const char* name;
        int count;
        std::string picture;
    } cases[] = {
        {"show_png_file", 20, std::string(greenPng, sizeof greenPng - 1)},
        {"show_compressed_file", 20, SolidBmp(32, 32, 0, 255, 0, 1)},
        {"show_no_copies", 0, ""},
    };
    for (const Case& c : cases) {
        std::string folder = MakeScrFolder(c.name);
        WriteSettings(folder, c.count, 10);
        if (!c.picture.empty())
            WriteWholeFile(folder + "zarn.bmp", c.picture);
        HANDLE process = StartScr(folder, "/s");
        ASSERT_NE(process, nullptr);
        Sleep(3500);
        EXPECT_EQ(WaitForSingleObject(process, 0), (DWORD)WAIT_TIMEOUT) << c.name << ": the show ended";
        Shot shot = TakeShot();
        EXPECT_EQ(shot.width, 640) << c.name;
        EXPECT_EQ(shot.Count(NotBlack), 0) << c.name;
        PressEscape();
        EXPECT_EQ(WaitForScr(process, 5000), 0u) << c.name;
    }
}

TEST(Show, EscapeEndsItPromptlyDuringALongDelay)
{
    std::string folder = MakeScrFolder("show_long_delay");
    WriteSettings(folder, 5, 5000);
    HANDLE process = StartScr(folder, "/s");
    ASSERT_NE(process, nullptr);
    Sleep(3000);
    RunUnix("/usr/bin/xdotool keydown Escape");
    DWORD pressed = GetTickCount();
    DWORD waited = WaitForSingleObject(process, 3000);
    DWORD took = GetTickCount() - pressed;
    RunUnix("/usr/bin/xdotool keyup Escape");
    EXPECT_EQ(waited, (DWORD)WAIT_OBJECT_0) << "Escape waited for the five-second frame";
    EXPECT_LT(took, 1000u);
    EXPECT_EQ(WaitForScr(process, 5000), 0u);
}

// Closed from outside, or at the end of the session: the show must not run on unseen.
TEST(Show, ClosingTheScreenWindowEndsTheProgram)
{
    for (UINT message : {(UINT)WM_CLOSE, (UINT)WM_ENDSESSION}) {
        std::string folder = MakeScrFolder("show_closed");
        WriteSettings(folder, 10, 10);
        HANDLE process = StartScr(folder, "/s");
        ASSERT_NE(process, nullptr);
        HWND screen = NULL;
        for (int tries = 0; tries < 100 && !screen; tries++) {
            Sleep(100);
            screen = FindWindowA("MultimediaBase Class", "Sprite");
        }
        ASSERT_NE(screen, (HWND)NULL);
        Sleep(1000);
        PostMessageA(screen, message, message == WM_ENDSESSION ? TRUE : 0, 0);
        EXPECT_EQ(WaitForScr(process, 5000), 0u) << message;
    }
}

TEST(ShowFailures, NoDirectDraw)
{
    std::string folder = MakeScrFolder("show_no_ddraw");
    DisabledLibrary disabled("ddraw");
    ExpectFailureMessage(StartScr(folder, "/s"), "Error: Can't open DirectX 7 Or later");
}

TEST(ShowFailures, NoDirectInput)
{
    std::string folder = MakeScrFolder("show_no_dinput");
    DisabledLibrary disabled("dinput");
    ExpectFailureMessage(StartScr(folder, "/s"), "Error: Can't open DirectX 7 Or later");
}

// Wine can change the depth of an Xvfb display but not its size: on the 800x600 one
// this runs on, the 640x480 mode can't be set.
TEST(OtherDisplay, ScreenModeCannotBeSet)
{
    ASSERT_NE(GetSystemMetrics(SM_CXSCREEN), 640) << "needs a display of another size";
    std::string folder = MakeScrFolder("show_no_mode");
    ExpectFailureMessage(StartScr(folder, "/s"), "Error: Can't open a 640*480 - 16 bit screen !");
}

// CPU time of a running show's Wine process over two seconds, in 1/100 s, read from
// Linux's view of it (Wine reports another process's times as 0); -1 when unreadable.
// Wine does not wait for a Unix program to end: the figure arrives through a file.
static int BackgroundCpuTicks(const char* folderName)
{
    typedef char*(CDECL * UnixName)(const WCHAR*);
    UnixName toUnix = (UnixName)(void*)GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name");
    if (!toUnix)
        return -1;
    const char* result = "C:\\windows\\temp\\zarn_cpu.txt";
    DeleteFileA(result);
    char* unixName = toUnix(L"C:\\windows\\temp\\zarn_cpu.txt");
    std::string out = unixName;
    HeapFree(GetProcessHeap(), 0, unixName);
    std::string ticks = "$(awk '{print $14 + $15}' /proc/$pid/stat)";
    RunUnix("/bin/sh -c \"pid=$(pgrep -f '[" + std::string(folderName).substr(0, 1) + "]" + std::string(folderName + 1) + ".Zarn_Scr.scr /s' | head -n 1); a=" +
            ticks + "; sleep 2; echo $((" + ticks + " - a)) >" + out + ".new; mv " + out + ".new " + out + "\"");
    for (int waits = 0; waits < 100 && GetFileAttributesA(result) == INVALID_FILE_ATTRIBUTES; waits++)
        Sleep(100);
    std::string text = ReadWholeFile(result);
    return text == "<missing>" || text.empty() ? -1 : atoi(text.c_str());
}

// Another desktop in front (a locked screen, a UAC prompt): the show waits instead of
// spinning, comes back when the screen is its own again, and a single short press of
// Escape ends it completely, so that a new show starts at once.
TEST(Show, InTheBackgroundItRestsAndComesBack)
{
    std::string folder = MakeScrFolder("show_background");
    WriteSettings(folder, 100, 0);
    HANDLE process = StartScr(folder, "/s");
    ASSERT_NE(process, nullptr);
    HWND screen = NULL;
    for (int tries = 0; tries < 100 && !screen; tries++) {
        Sleep(100);
        screen = FindWindowA("MultimediaBase Class", "Sprite");
    }
    ASSERT_NE(screen, (HWND)NULL);
    Sleep(2000);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(screen, WM_ACTIVATEAPP, FALSE, 0, SMTO_NORMAL, 5000, &result);
    Sleep(500);
    int ticks = BackgroundCpuTicks("show_background");
    printf("CPU of a show in the background: %d of 200 ticks in 2 s (%.1f %% of one core)\n", ticks, ticks / 2.0);
    EXPECT_GE(ticks, 0) << "the CPU time could not be read";
    EXPECT_LT(ticks, 50) << "the show spins in the background";

    SendMessageTimeoutA(screen, WM_ACTIVATEAPP, TRUE, 0, SMTO_NORMAL, 5000, &result);
    Sleep(1500);
    Shot first = TakeShot();
    Sleep(400);
    Shot second = TakeShot();
    EXPECT_GT(first.Count(NotBlack), 500) << "the picture did not come back";
    EXPECT_GT(CountChanged(first, second), 500) << "the copies stand still";

    RunUnix("/usr/bin/xdotool key Escape");
    EXPECT_EQ(WaitForScr(process, 5000), 0u) << "a short press of Escape was missed";
    EXPECT_EQ(FindWindowA("MultimediaBase Class", "Sprite"), (HWND)NULL);
    process = StartScr(folder, "/s");
    ASSERT_NE(process, nullptr);
    Sleep(2500);
    EXPECT_EQ(WaitForSingleObject(process, 0), (DWORD)WAIT_TIMEOUT) << "the next show did not run";
    EXPECT_GT(TakeShot().Count(NotBlack), 500);
    PressEscape();
    EXPECT_EQ(WaitForScr(process, 5000), 0u);
}
