#pragma once
// Starts a Linux program (xdotool and the like) from a test under Wine, which starts
// Unix executables given by their path. Wine neither waits for such a program nor hands
// back its handles: the record's are left unset, and closing them could close any
// handle of this process.
#include <windows.h>

#include <string>

inline bool RunUnixCommand(std::string command, const char* directory = NULL)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION unset;
    return CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, directory, &startup, &unset) != 0;
}
