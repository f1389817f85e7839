#pragma once
// The screensaver's program-wide values and its modes.
#include <stdint.h>

extern int32_t SpriteCount; // how many copies of the picture fly
extern int32_t FrameDelay;  // pause after each frame, in milliseconds
extern int32_t SpriteIndex; // loop index of the show's set-up and frame loops
extern char* SettingsDir;   // where "Zarn_Scr.ini" and "zarn.bmp" live, with a trailing backslash

// The main program: the start sequence, the guard, the settings and the mode.
[[noreturn]] void ZarnMain(void* instance, void* previous, const char* commandTail, int showState);
void FindSettingsDir(void);

[[noreturn]] void RunConfiguration(void);
[[noreturn]] void RunShow(void);
