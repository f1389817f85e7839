#include <windows.h>

#include "app/app.h"
#include "runtime/params.h"
#include "runtime/system_library.h"

// The process entry: the program path is skipped and the main program never returns.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    RestrictLibrarySearch();
    const char* tail = SkipProgramName(GetCommandLineA());
    ZarnMain(GetModuleHandleA(NULL), NULL, tail, 1);
}
