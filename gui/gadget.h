#pragma once
// Numbered controls on a window: labels, push buttons, single-line text fields and
// trackbars. The control identifier is the gadget number, so their actions come back
// from WaitForEvent as EVENT_GADGET with that number.
#include <windows.h>
#include <stdint.h>

void InitGadgetSystem(void);
// New gadgets go on this window; gives the window back (0 means there is none).
HWND BeginGadgetList(HWND window);

// Each gives the control, or 0 when it could not be made.
HWND AddLabel(int32_t gadget, int32_t x, int32_t y, int32_t width, int32_t height, const char* text);
HWND AddButton(int32_t gadget, int32_t x, int32_t y, int32_t width, int32_t height, const char* text);
// In a text field's style: no sunken edge around it.
enum { TEXT_FIELD_NO_EDGE = 0x20000 };

// style adds Win32 edit styles, and TEXT_FIELD_NO_EDGE.
HWND AddTextField(int32_t gadget, int32_t x, int32_t y, int32_t width, int32_t height, const char* text,
                  uint32_t style);
// The range is kept within 0..10000.
HWND AddTrackBar(int32_t gadget, int32_t x, int32_t y, int32_t width, int32_t height, int32_t minimum,
                 int32_t maximum);
HWND AddTrackBarStyled(int32_t gadget, int32_t x, int32_t y, int32_t width, int32_t height, int32_t minimum,
                       int32_t maximum, uint32_t style);

// Trackbars give their position, buttons their check state, everything else 0.
int32_t GetGadgetValue(int32_t gadget);
void SetGadgetValue(int32_t gadget, int32_t value);
// The control's text, written at out in the scratch area (the scratch protocol).
char* ReadGadgetText(int32_t gadget, char* out);
void WriteGadgetText(int32_t gadget, const char* text);
