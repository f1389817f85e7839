#include "gui/window.h"

static int IsTabStop(HWND control)
{
    return IsWindowEnabled(control) && IsWindowVisible(control) &&
           (GetWindowLongPtrA(control, GWL_STYLE) & WS_TABSTOP);
}

static HWND FocusedControl(HWND active)
{
    HWND focus = GetFocus();
    return focus && IsChild(active, focus) ? focus : NULL;
}

struct ForwardWalk {
    HWND current;
    int found; // the walk has passed the focused control
};

static BOOL CALLBACK StepForward(HWND control, LPARAM data)
{
    ForwardWalk* walk = (ForwardWalk*)data;
    if (!IsTabStop(control))
        return TRUE;
    if (walk->found || !walk->current) {
        SetFocus(control);
        walk->found = 0;
        return FALSE;
    }
    if (control == walk->current)
        walk->found = 1;
    return TRUE;
}

void FocusNextControl(void)
{
    HWND active = GetActiveWindow();
    if (!active)
        return;
    ForwardWalk walk = {FocusedControl(active), 0};
    EnumChildWindows(active, StepForward, (LPARAM)&walk);
    // The focused control was the last one: start again at the first.
    if (walk.found) {
        walk.current = NULL;
        walk.found = 0;
        EnumChildWindows(active, StepForward, (LPARAM)&walk);
    }
}

struct BackwardWalk {
    HWND current;
    HWND last; // the tab stop before the one being looked at
    int done;
};

static BOOL CALLBACK StepBackward(HWND control, LPARAM data)
{
    BackwardWalk* walk = (BackwardWalk*)data;
    if (!IsTabStop(control))
        return TRUE;
    if (control == walk->current && walk->last) {
        SetFocus(walk->last);
        walk->done = 1;
        return FALSE;
    }
    walk->last = control;
    return TRUE;
}

void FocusPreviousControl(void)
{
    HWND active = GetActiveWindow();
    if (!active)
        return;
    BackwardWalk walk = {FocusedControl(active), NULL, 0};
    EnumChildWindows(active, StepBackward, (LPARAM)&walk);
    // No focus, or the first control focused: the last one gets it.
    if (!walk.done && walk.last)
        SetFocus(walk.last);
}
