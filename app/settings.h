#pragma once
// The screensaver's two settings in "Zarn_Scr.ini", and its message box.
#include <stdint.h>

enum {
    DEFAULT_SPRITE_COUNT = 10,
    DEFAULT_FRAME_DELAY = 10,
    LONGEST_FRAME_DELAY = 1000,
    // The most copies the dialog offers and the show animates.
    LARGEST_COPY_COUNT = 100,
};

// Both live in the settings folder, beside the program.
inline constexpr char SETTINGS_FILE_NAME[] = "Zarn_Scr.ini";
inline constexpr char PICTURE_FILE_NAME[] = "zarn.bmp";

// Reads SpriteCount and FrameDelay from dir + "Zarn_Scr.ini"; a missing file or key
// gives the default.
void LoadSettings(const char* dir);
// Writes both settings; 1 when they reached the disk, 0 when they could not be
// written (the file that was there is left exactly as it was).
int32_t SaveSettings(const char* dir);
// 1 when a delay may be stored; otherwise tells the user the allowed range and gives 0.
int32_t AcceptDelay(int32_t delay);
void ShowAppMessage(const char* text);
