#pragma once
// Numbered top-level windows, keyboard navigation between their controls and the
// blocking wait that turns their messages into events.
#include <windows.h>
#include <stdint.h>

#include "gui/placement.h"

// What WaitForEvent gives besides raw message numbers.
enum {
    EVENT_SIZE = 5,
    EVENT_CLOSE = 16,
    EVENT_GADGET = 13100,
    EVENT_MENU = 13101,
    EVENT_ITEM_CLICK = 13102
};

// Sent to a window with an item number in wParam and a mouse message in lParam, in the
// manner of icon callbacks: clicks come back as EVENT_ITEM_CLICK.
enum { MSG_ITEM_NOTIFY = 12501 };

void InitWindowSystem(void);
// x, y, width and height give the client area; flags are WINDOW_* bits and Win32 styles.
// A window already open under the number is closed first. Gives 0 on failure.
HWND OpenAppWindow(int32_t window, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t flags,
                   const char* title);
HWND CurrentWindowHandle(void);
void CloseAppWindow(int32_t window);
void CloseAllWindows(void);

// Blocks for the next message of the thread and gives its event code, or the message
// number when dispatching it raised no event.
int32_t WaitForEvent(void);
// The control of the last gadget event; kept until another event replaces it.
int32_t EventGadgetNumber(void);

void FocusNextControl(void);
void FocusPreviousControl(void);
