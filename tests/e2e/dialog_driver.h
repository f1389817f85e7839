#pragma once
// Drives the screensaver's dialog from outside, as a user would, through window
// messages: find the window, read and set control texts, click, move the trackbar,
// ask to close, answer message boxes.
#include <windows.h>

#include <string>

// The visible top-level window of a process with this title, or NULL after the timeout.
HWND WaitForProcessWindow(DWORD processId, const char* title, DWORD timeoutMs);
// True when the window is gone within the timeout.
bool WaitForWindowGone(HWND window, DWORD timeoutMs);

std::string ControlText(HWND dialog, int control);
void SetControlText(HWND dialog, int control, const char* text);
// The control's text once it equals expected, or the last one seen after the timeout.
std::string WaitForControlText(HWND dialog, int control, const std::string& expected, DWORD timeoutMs);
// True once both fields hold text: the dialog has shown its values.
bool WaitForDialogFilled(HWND dialog, int firstField, int secondField, DWORD timeoutMs);
void ClickButton(HWND dialog, int control);
int TrackBarPosition(HWND dialog, int control);
// Moves the thumb and tells the dialog, as a drag does.
void MoveTrackBar(HWND dialog, int control, int position);
void RequestClose(HWND dialog);

// The texts of a message box's static controls, joined.
std::string MessageBoxText(HWND box);
// Presses the message box's OK button.
void AnswerMessageBox(HWND box);
