#pragma once
// The program's command-line parameters, handed out one at a time.
#include <stdint.h>

extern int32_t ParameterCounter;

// The command line as Windows reports it (the one platform call of this module).
const char* GetProgramCommandLine(void);

// The next parameter after the program path, written at out; "" once they run out.
char* NextProgramParameter(char* out);
// Parameter number `wanted` of a command line (0 is the program path), written at out.
char* CopyParameter(const char* commandLine, int32_t wanted, char* out);
// The command tail: the line after the program path and the blanks that follow it.
const char* SkipProgramName(const char* commandLine);
