#pragma once
// Black windows over every monitor other than the one the show draws on, so that no
// desktop stays in view, or burns in, beside the show.
#include <windows.h>
#include <stdint.h>

// Covers, as the monitors lie now, each one that does not overlap the show's own;
// owned by the show's window and never activated. Earlier covers go first. They start
// hidden.
void OpenMonitorCovers(HWND show);
// In front while the show is, hidden while it is out of the foreground.
void ShowMonitorCovers(int32_t shown);
// Covers again, hidden, after a change of the monitors' layout, if any are open.
void FollowMonitorLayout(void);
void CloseMonitorCovers(void);
// A window class of the program's whose windows are black where nothing is drawn.
int32_t RegisterBlackWindowClass(const char* name, WNDPROC procedure);
