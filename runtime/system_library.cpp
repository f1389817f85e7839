#include "runtime/system_library.h"

#include <string.h>

typedef BOOL(WINAPI* SetDefaultDllDirectoriesProc)(DWORD flags);

int32_t LibrarySearchFlags;

// Windows 8 and later, and Vista and 7 with KB2533623, have it, and with it the search
// flags of LoadLibraryExA. Looked up, not imported: an import would keep the program
// from starting on the systems without it.
void RestrictLibrarySearch(void)
{
    HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    FARPROC found = kernel ? GetProcAddress(kernel, "SetDefaultDllDirectories") : NULL;
    LibrarySearchFlags = found != NULL;
    if (found)
        ((SetDefaultDllDirectoriesProc)(void*)found)(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// Elsewhere the full path names the file, and the altered search path takes its own
// dependencies from its folder instead of the program's.
static HMODULE LoadFromSystemPath(const char* name)
{
    char path[MAX_PATH];
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    size_t nameLength = strlen(name);
    if (length == 0 || length + 1 + nameLength >= MAX_PATH)
        return NULL;
    if (path[length - 1] != '\\')
        path[length++] = '\\';
    memcpy(path + length, name, nameLength + 1);
    return LoadLibraryExA(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE LoadSystemProcedures(const char* library, const char* const* names, FARPROC* found, int32_t count)
{
    HMODULE module = LibrarySearchFlags ? LoadLibraryExA(library, NULL, LOAD_LIBRARY_SEARCH_SYSTEM32)
                                        : LoadFromSystemPath(library);
    for (int32_t index = 0; index < count; index++)
        found[index] = module ? GetProcAddress(module, names[index]) : NULL;
    return module;
}
