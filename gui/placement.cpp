#include "gui/placement.h"

static const uint32_t STYLE_VISIBLE = 0x10000000;
static const uint32_t STYLE_CAPTION = 0x00C00000;

WindowPlacement SplitWindowFlags(uint32_t flags)
{
    WindowPlacement placement = {CENTRE_NONE, flags};
    if (placement.style & WINDOW_CENTER_SCREEN) {
        placement.centring = CENTRE_SCREEN;
        placement.style &= ~(uint32_t)WINDOW_CENTER_SCREEN;
    }
    if (placement.style & WINDOW_CENTER_ACTIVE) {
        placement.centring = CENTRE_ACTIVE;
        placement.style &= ~(uint32_t)WINDOW_CENTER_ACTIVE;
    }
    if (placement.style == 0 || placement.style == STYLE_VISIBLE)
        placement.style |= STYLE_CAPTION;
    placement.style ^= STYLE_VISIBLE;
    return placement;
}

int32_t HalfDown(int32_t value)
{
    return value >= 0 ? value / 2 : -(int32_t)((-(int64_t)value + 1) / 2);
}

void CentreOnScreen(int32_t screenWidth, int32_t screenHeight, int32_t outerWidth, int32_t outerHeight,
                    int32_t* x, int32_t* y)
{
    *x = HalfDown(screenWidth) - HalfDown(outerWidth);
    *y = HalfDown(screenHeight) - HalfDown(outerHeight);
}

void CentreOnRectangle(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t outerWidth,
                       int32_t outerHeight, int32_t* x, int32_t* y)
{
    *x = left - HalfDown(outerWidth) + HalfDown(right - left);
    *y = top - HalfDown(outerHeight) + HalfDown(bottom - top);
    if (*x < 0)
        *x = 0;
    if (*y < 0)
        *y = 0;
}

int32_t ClampTrackBarBound(int32_t bound)
{
    if (bound < 0)
        return 0;
    return bound > TRACKBAR_LIMIT ? TRACKBAR_LIMIT : bound;
}

int32_t MirrorTrackBarValue(int32_t rangeMaximum, int32_t value)
{
    return rangeMaximum - value;
}
