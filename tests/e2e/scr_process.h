#pragma once
// Starting the real screensaver as Windows starts it, each test in a folder of its
// own that holds a fresh copy of the program (and so its own settings file).
#include <windows.h>

#include <string>

// A folder under the tests' work area, emptied, with Zarn_Scr.scr copied into it.
// Ends in a backslash.
std::string MakeScrFolder(const char* name);
// Starts "<folder>Zarn_Scr.scr" with the given parameters; returns the process handle.
HANDLE StartScr(const std::string& folder, const char* parameters, const char* environment = nullptr);
// Waits for the process to end; gives its exit code, or STILL_ACTIVE after killing it
// when it ran past the timeout.
DWORD WaitForScr(HANDLE process, DWORD timeoutMs);
// Start, wait, and the exit code.
DWORD RunScr(const std::string& folder, const char* parameters, DWORD timeoutMs);
// Top-level windows of a process that are visible.
int CountVisibleWindows(DWORD processId);
std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);
