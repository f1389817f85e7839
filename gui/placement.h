#pragma once
// Window and trackbar arithmetic, free of the window system so it can be tested anywhere.
#include <stdint.h>

enum {
    WINDOW_CENTER_SCREEN = 1,
    WINDOW_CENTER_ACTIVE = 2,
    WINDOW_HIDDEN = 0x10000000
};

enum { CENTRE_NONE = 0, CENTRE_SCREEN = 1, CENTRE_ACTIVE = 2 };

struct WindowPlacement {
    int32_t centring; // CENTRE_NONE, CENTRE_SCREEN or CENTRE_ACTIVE
    uint32_t style;   // the Win32 window style to create with
};

// Takes the centring bits out of the caller's flags and turns the rest into a style:
// a bare style gets a caption, and the visible bit is inverted so windows show by default.
WindowPlacement SplitWindowFlags(uint32_t flags);

// Halving that rounds towards minus infinity, as an arithmetic shift does.
int32_t HalfDown(int32_t value);
// Top-left corner that centres an outer size on the screen.
void CentreOnScreen(int32_t screenWidth, int32_t screenHeight, int32_t outerWidth, int32_t outerHeight,
                    int32_t* x, int32_t* y);
// Top-left corner that centres an outer size on another window's rectangle, never negative.
void CentreOnRectangle(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t outerWidth,
                       int32_t outerHeight, int32_t* x, int32_t* y);

enum { TRACKBAR_LIMIT = 10000 };
int32_t ClampTrackBarBound(int32_t bound);
// A vertical trackbar reads with its top end as the maximum.
int32_t MirrorTrackBarValue(int32_t rangeMaximum, int32_t value);
