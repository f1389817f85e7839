#pragma once
// The gadget layer's state, shared by its files and its tests.
#include <windows.h>
#include <stdint.h>

// What a kind of gadget does; an absent entry means the default.
struct GadgetOperations {
    int32_t (*getValue)(HWND control);
    void (*setValue)(HWND control, int32_t value);
    char* (*getText)(HWND control, char* out);
    void (*setText)(HWND control, const char* text);
};

struct GadgetEntry {
    HWND handle;
    const GadgetOperations* operations; // NULL for a number never used
};

enum { GADGET_TABLE_START = 30, GADGET_TABLE_STEP = 30 };

extern GadgetEntry* GadgetTable;
extern int32_t GadgetCapacity;
extern HWND GadgetParent;

// Creates a control under the number and keeps it in the table (the handle also when 0).
HWND CreateGadget(int32_t gadget, const char* className, const char* text, uint32_t style, uint32_t extendedStyle,
                  int32_t x, int32_t y, int32_t width, int32_t height, const GadgetOperations* operations);
