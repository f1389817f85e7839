#pragma once
// The system's own libraries, taken from the system folder only. Windows otherwise looks
// for a plain name in the program's folder first, and a DLL of that name lying there (in
// a Downloads folder, on a shared drive or a stick) would run inside the program.
#include <windows.h>
#include <stdint.h>

// 1 once RestrictLibrarySearch found the search flags of LoadLibraryExA; while 0 (before
// it, on systems without them, and in a test that sets it) libraries load by full path.
extern int32_t LibrarySearchFlags;

// Where the system can, the libraries that system DLLs load by name come from the system
// folder too. Called first thing at start.
void RestrictLibrarySearch(void);
// The library of that file name from the system folder, or NULL; found[i] is its
// procedure names[i], or NULL where it has none (all NULL without the library).
HMODULE LoadSystemProcedures(const char* library, const char* const* names, FARPROC* found, int32_t count);
