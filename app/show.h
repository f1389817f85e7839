#pragma once
// The show: set-up, one pass of the frame loop, and the finer system timer it asks for.
#include <stdint.h>

// The screen the show opens.
enum { SHOW_SCREEN_WIDTH = 640, SHOW_SCREEN_HEIGHT = 480, SHOW_SCREEN_DEPTH = 16 };

// Opens the screen and makes the copies; each failure is reported and ends the program.
void SetUpShow(void);
// Flip, clear, and every copy resized, turned, drawn and moved.
void DrawShowFrame(void);
// The frame delay; Escape or the loss of the foreground ends the program during a long one.
void PauseAfterFrame(void);
