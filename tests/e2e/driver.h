#pragma once
// Drives the real screensaver from outside as Windows and a user do: a fresh copy in a folder of its
// own, window messages to its dialog and message boxes, xdotool, and screenshots of the display.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <numeric>

#include "unix_command.h"

// The dialog's controls, by the numbers the program gives them.
enum { COUNT_TRACKBAR = 0, OK_BUTTON = 4, CANCEL_BUTTON = 5, COUNT_FIELD = 6, DELAY_FIELD = 8, WAIT_MS = 15000 };
inline const char SETTINGS[] = "Zarn_Scr.ini";
// Wine's DLL overrides for the program alone, which a case sets; a fresh Folder clears them.
inline const char OVERRIDES[] = "Software\\Wine\\AppDefaults\\Zarn_Scr.scr\\DllOverrides";

template <class Condition> bool WaitUntil(Condition condition, DWORD ms = WAIT_MS)
{
    for (DWORD start = GetTickCount(); !condition(); Sleep(20))
        if (GetTickCount() - start > ms)
            return false;
    return true;
}

// The folder of the test program, where its build's data lies beside it.
std::filesystem::path TestsFolder();

// A folder of the tests' work area, emptied, with a fresh copy of the program in it.
struct Folder {
    explicit Folder(const std::wstring& name);
    std::filesystem::path At(const char* file) const { return path / file; }
    // The bytes, "<folder>" or "<missing>"; Write makes a folder or nothing for those.
    std::string Read(const char* file) const;
    void Write(const char* file, const std::string& bytes) const;
    std::filesystem::path path;
};

// The program started in a folder as Windows starts it; killed if it outlives the scope.
struct Scr {
    Scr(const Folder& folder, const std::string& parameters);
    ~Scr() { Wait(0), CloseHandle(process); }
    bool Running() const { return WaitForSingleObject(process, 0) == WAIT_TIMEOUT; }
    DWORD Wait(DWORD ms = WAIT_MS); // the exit code, or STILL_ACTIVE after killing it
    HANDLE process = NULL;
};

std::string Text(HWND window, int control);
std::string Shown(HWND dialog); // "count/delay at trackbar position"
// Clicks and scroll notices are posted, to queue behind what the dialog has not handled
// yet as real input does: a sent one could be overwritten by a queued event after it.
inline void Click(HWND dialog, int control) { PostMessageA(GetDlgItem(dialog, control), BM_CLICK, 0, 0); }
void MoveTrackBar(HWND dialog, int position);
HWND WaitForDialog(const Scr& scr);
// Waits for the program's message box, checks that OK is its one button, presses it and
// gives the box's text.
std::string AnswerMessage(const Scr& scr);

inline HWND WaitForShow()
{
    HWND screen = NULL;
    return WaitUntil([&] { return (screen = FindWindowA("MultimediaBase Class", "Sprite")) != NULL; }) ? screen : NULL;
}
// Every monitor's pixels as 0xRRGGBB, read through the desktop's device context; given a
// time, once more than `lit` are lit or that time is up.
typedef std::vector<uint32_t> Shot;
Shot TakeShot(DWORD untilLitMs = 0, int lit = 500);
// Pixels that match, of the columns from left up to right.
inline int Count(const Shot& s, bool (*match)(uint32_t), int left = 0, int right = INT_MAX)
{
    int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), found = 0;
    for (size_t at = 0; at < s.size(); at++)
        found += (int)(at % width) >= left && (int)(at % width) < right && match(s[at]);
    return found;
}
inline int Changed(const Shot& a, const Shot& b)
{
    return (int)std::inner_product(a.begin(), a.end(), b.begin(), 0, std::plus<>(), std::not_equal_to<>());
}
inline bool NotBlack(uint32_t pixel) { return (pixel & 0xF8FCF8) != 0; }
inline void Unix(const std::string& command, const char* directory = NULL)
{
    EXPECT_TRUE(RunUnixCommand(command, directory)) << command;
}
// Holds Escape down until the program has ended, 5 s at most: its exit code, or STILL_ACTIVE.
DWORD EndWithEscape(Scr& scr);
