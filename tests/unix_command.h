#pragma once
// Runs a Linux program (xdotool and the like) from a test under Wine, which starts
// Unix executables given by their path, and waits up to ten seconds for it.
#include <windows.h>

#include <string>

inline bool RunUnixCommand(const std::string& command)
{
    std::string line = command;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}
