#pragma once
// The start and the end of the program, and the values the runtime keeps for its
// whole life.
#include <windows.h>
#include <stdint.h>

enum { PROGRAM_DIRECTORY_SIZE = 500 };

extern HINSTANCE InstanceHandle;
extern HANDLE ProgramHeap;
// The program file's directory with a trailing backslash ("" when it has none).
extern char ProgramDirectory[PROGRAM_DIRECTORY_SIZE];

// The program file's full path into buffer, as GetModuleFileNameA gives it (the length
// written; size or more when it was cut off). When that path names no file, because its
// folders have letters the ANSI code page cannot spell, the path's short form instead.
int32_t ReadProgramPath(char* buffer, int32_t size);

typedef void (*LibraryRoutine)(void);

// The start sequence: runtime state, the instance handle, the program heap, the
// program directory, the libraries' initialisers, then the scratch area. When the
// heap or the scratch area cannot be had the program ends at once (exit code 0).
// endLibraries runs the libraries' end routines from EndProgram.
void StartProgram(HINSTANCE instance, LibraryRoutine initialiseLibraries, LibraryRoutine endLibraries);
// Runs the end routines, destroys the program heap and ends the process with exit code 0.
[[noreturn]] void EndProgram(void);
