#pragma once
// The window layer's state, shared by its files and its tests.
#include <windows.h>
#include <stdint.h>

struct WindowEntry {
    HWND handle;
    int32_t acceleratorCount;
    ACCEL* accelerators;
    HACCEL acceleratorTable;
};

// Left by the window procedure for WaitForEvent.
struct EventRecord {
    int32_t kind;    // pending event code, 0 for none
    int32_t number;  // control, command or item of the last event
    int32_t subtype; // click kind or notification code
};

enum { WINDOW_TABLE_START = 10, WINDOW_TABLE_STEP = 10 };

enum {
    MSG_ITEM_NOTIFY = 12501,
    MSG_ITEM_EVENT = 12502,
    MSG_SIZE_EVENT = 12504,
    CMD_FOCUS_NEXT = 1212,
    CMD_FOCUS_PREVIOUS = 1213
};

extern WindowEntry* WindowTable;
extern int32_t WindowCapacity;
extern EventRecord EventState;

// The slot of an open-able number, or NULL for numbers outside the table.
WindowEntry* FindWindowSlot(int32_t window);
LRESULT CALLBACK AppWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
