#include "show_driver.h"

#include <gtest/gtest.h>

#include "scr_process.h"
#include "unix_command.h"

static const char MESSAGE_TITLE[] = "Zarn Scr.s. Message";


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
std::string SolidBmp(int width, int height, uint8_t blue, uint8_t green, uint8_t red, uint32_t compression)
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



static BOOL CALLBACK ReadStatic(HWND child, LPARAM data)
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

