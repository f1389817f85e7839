#pragma once
// What the window and gadget files share with each other; not for the layer's callers.
#include <windows.h>
#include <stdint.h>

// Tab and Shift+Tab, as the windows' accelerators report them.
enum { CMD_FOCUS_NEXT = 1212, CMD_FOCUS_PREVIOUS = 1213 };
// Posted by the window procedure to itself, so that each notice ends a wait of its own.
enum { MSG_ITEM_EVENT = 12502, MSG_SIZE_EVENT = 12504 };

// The accelerator table of one of the layer's windows, or NULL.
HACCEL FindWindowAccelerators(HWND window);
LRESULT CALLBACK AppWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void ResetEventState(void);

// What a kind of gadget does; an absent entry means the default.
struct GadgetOperations {
    int32_t (*getValue)(HWND control);
    void (*setValue)(HWND control, int32_t value);
    char* (*getText)(HWND control, char* out);
    void (*setText)(HWND control, const char* text);
};

enum {
    GADGET_TAKES_FONT = 1,       // the layer's font is set on the control
    GADGET_FAILURE_CLEARS_SLOT = 2, // a failed creation empties the number's slot
};

// Creates a control under the number on the current gadget list's window and keeps it
// in the table.
HWND CreateGadget(int32_t gadget, const char* className, const char* text, uint32_t style, uint32_t extendedStyle,
                  int32_t x, int32_t y, int32_t width, int32_t height, const GadgetOperations* operations,
                  uint32_t kindFlags);
