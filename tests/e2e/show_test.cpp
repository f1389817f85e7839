// The real show (/s) on the tests' 640x480 16-bit display: what it shows, how it ends,
// and its three failure messages.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "scr_process.h"
#include "unix_command.h"

namespace {

const char MESSAGE_TITLE[] = "Zarn Scr.s. Message";

struct Shot {
    std::vector<uint32_t> pixels; // 0x00RRGGBB, top row first
    int width = 0, height = 0;
    int Count(bool (*match)(uint32_t)) const
    {
        int count = 0;
        for (uint32_t pixel : pixels)
            count += match(pixel);
        return count;
    }
};

bool NotBlack(uint32_t pixel)
{
    return (pixel & 0xF8FCF8) != 0;
}

// What the display shows now, read through the desktop's device context.
Shot TakeShot()
{
    Shot shot;
    shot.width = GetSystemMetrics(SM_CXSCREEN);
    shot.height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = -shot.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = NULL;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.width, shot.height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const uint32_t* pixels = (const uint32_t*)bits;
    shot.pixels.assign(pixels, pixels + (size_t)shot.width * (size_t)shot.height);
    for (uint32_t& pixel : shot.pixels)
        pixel &= 0xFFFFFF;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return shot;
}

int CountChanged(const Shot& a, const Shot& b)
{
    int changed = 0;
    for (size_t i = 0; i < a.pixels.size() && i < b.pixels.size(); i++)
        changed += a.pixels[i] != b.pixels[i];
    return changed;
}

void RunUnix(const std::string& command)
{
    ASSERT_TRUE(RunUnixCommand(command)) << command;
}

// Escape held long enough for a frame's poll to see it.
void PressEscape()
{
    RunUnix("/usr/bin/xdotool keydown Escape");
    Sleep(300);
    RunUnix("/usr/bin/xdotool keyup Escape");
}

void WriteSettings(const std::string& folder, int count, int delay)
{
    WriteWholeFile(folder + "Zarn_Scr.ini",
                   "ZCOUNT = " + std::to_string(count) + "\r\nZDELAY = " + std::to_string(delay) + "\r\n");
}

// A 24-bit BMP of one colour (blue, green, red bytes).
std::string SolidBmp(int width, int height, uint8_t blue, uint8_t green, uint8_t red, uint32_t compression = 0)
{
    int pitch = (width * 3 + 3) & ~3;
    std::string bytes(54 + (size_t)(pitch * height), '\0');
    auto put = [&](size_t at, uint32_t value, int size) {
        for (int i = 0; i < size; i++)
            bytes[at + (size_t)i] = (char)(value >> (8 * i));
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put(2, (uint32_t)bytes.size(), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, (uint32_t)width, 4);
    put(22, (uint32_t)height, 4);
    put(26, 1, 2);
    put(28, 24, 2);
    put(30, compression, 4);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            size_t at = 54 + (size_t)(y * pitch + x * 3);
            bytes[at] = (char)blue;
            bytes[at + 1] = (char)green;
            bytes[at + 2] = (char)red;
        }
    return bytes;
}

// Wine's per-program library override, so that the program's LoadLibraryA finds
// nothing under that name (an environment block does not carry Wine's overrides).
struct DisabledLibrary {
    explicit DisabledLibrary(const char* name) : name(name)
    {
        HKEY key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, KEY_PATH, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) ==
            ERROR_SUCCESS) {
            RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)"", 1);
            RegCloseKey(key);
        }
    }
    ~DisabledLibrary()
    {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, KEY_PATH, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, name);
            RegCloseKey(key);
        }
    }
    static constexpr const char* KEY_PATH = "Software\\Wine\\AppDefaults\\Zarn_Scr.scr\\DllOverrides";
    const char* name;
};

struct MessageSeen {
    std::string text;
    bool found = false;
};

BOOL CALLBACK ReadStatic(HWND child, LPARAM data)
{
    char className[32] = {};
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Static") == 0) {
        char text[256] = {};
        GetWindowTextA(child, text, sizeof text);
        if (text[0])
            ((MessageSeen*)data)->text = text;
    }
    return TRUE;
}

// Waits for the application's message box, reads its text and answers OK.
MessageSeen AnswerMessage(DWORD timeoutMs)
{
    MessageSeen seen;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        HWND box = FindWindowA(NULL, MESSAGE_TITLE);
        if (box) {
            Sleep(200); // let it finish building its controls
            EnumChildWindows(box, ReadStatic, (LPARAM)&seen);
            seen.found = true;
            HWND ok = GetDlgItem(box, IDOK);
            if (ok)
                PostMessageA(ok, BM_CLICK, 0, 0);
            else
                PostMessageA(box, WM_COMMAND, IDOK, 0);
            return seen;
        }
        Sleep(100);
    }
    return seen;
}

void ExpectFailureMessage(HANDLE process, const char* expected)
{
    ASSERT_NE(process, nullptr);
    MessageSeen seen = AnswerMessage(20000);
    EXPECT_TRUE(seen.found) << "no message box titled " << MESSAGE_TITLE;
    EXPECT_EQ(seen.text, expected);
    EXPECT_EQ(WaitForScr(process, 15000), 0u);
}

} // namespace

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
