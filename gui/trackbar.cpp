#include <windows.h>
#include <commctrl.h>

#include "gui/gadget.h"
#include "gui/internal.h"
#include "gui/placement.h"

enum { TRACKBAR_STYLE = WS_CHILD | WS_VISIBLE | WS_TABSTOP };

static int IsVertical(HWND control)
{
    return (GetWindowLongPtrA(control, GWL_STYLE) & TBS_VERT) != 0;
}

static int32_t RangeMaximum(HWND control)
{
    return (int32_t)SendMessageA(control, TBM_GETRANGEMAX, 0, 0);
}

static int32_t GetTrackBarValue(HWND control)
{
    int32_t position = (int32_t)SendMessageA(control, TBM_GETPOS, 0, 0);
    return IsVertical(control) ? MirrorTrackBarValue(RangeMaximum(control), position) : position;
}

// The control itself keeps the position within its range.
static void SetTrackBarValue(HWND control, int32_t value)
{
    int32_t position = IsVertical(control) ? MirrorTrackBarValue(RangeMaximum(control), value) : value;
    SendMessageA(control, TBM_SETPOS, TRUE, (LPARAM)position);
}

static const GadgetOperations TrackBarOperations = {GetTrackBarValue, SetTrackBarValue, NULL, NULL};

HWND AddTrackBar(int32_t gadget, int32_t x, int32_t y, int32_t width, int32_t height, int32_t minimum,
                 int32_t maximum)
{
    return AddTrackBarStyled(gadget, x, y, width, height, minimum, maximum, 0);
}

HWND AddTrackBarStyled(int32_t gadget, int32_t x, int32_t y, int32_t width, int32_t height, int32_t minimum,
                       int32_t maximum, uint32_t style)
{
    // A trackbar that cannot be made leaves its number's slot as it was.
    HWND control = CreateGadget(gadget, TRACKBAR_CLASSA, NULL, style | TRACKBAR_STYLE, 0, x, y, width, height,
                                &TrackBarOperations, 0);
    if (!control)
        return NULL;
    minimum = ClampTrackBarBound(minimum);
    maximum = ClampTrackBarBound(maximum);
    SendMessageA(control, TBM_SETRANGE, TRUE, MAKELONG(minimum, maximum));
    SetTrackBarValue(control, 0);
    return control;
}
