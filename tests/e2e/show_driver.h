#pragma once
// Watching the real show from outside: screenshots of the display, Escape through
// xdotool, settings and picture files, and the application's message boxes.
#include <windows.h>
#include <stdint.h>

#include <string>
#include <vector>

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

bool NotBlack(uint32_t pixel);
// What the display shows now, read through the desktop's device context.
Shot TakeShot();
int CountChanged(const Shot& a, const Shot& b);
void RunUnix(const std::string& command);
// Escape held long enough for a frame's poll to see it.
void PressEscape();
void WriteSettings(const std::string& folder, int count, int delay);
// A 24-bit BMP of one colour (blue, green, red bytes).
std::string SolidBmp(int width, int height, uint8_t blue, uint8_t green, uint8_t red, uint32_t compression = 0);

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

// Waits for the application's message box, reads its text and answers OK.
MessageSeen AnswerMessage(DWORD timeoutMs);
void ExpectFailureMessage(HANDLE process, const char* expected);
