#pragma once
// The system's own libraries, taken from the system folder only. Windows otherwise looks
// for a plain name in the program's folder first, and a DLL of that name lying there (in
// a Downloads folder, on a shared drive or a stick) would run inside the program.
#include <windows.h>

// Where the system can, the libraries that system DLLs load by name come from the system
// folder too. Called first thing at start.
void RestrictLibrarySearch(void);
// The library of that file name from the system folder, or NULL.
HMODULE LoadSystemLibrary(const char* name);
