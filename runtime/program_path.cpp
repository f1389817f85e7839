#include "runtime/program.h"

#include <string.h>

enum { WIDE_PATH_ROOM = 1024 };

// The short (8.3) form of the program's path, which is plain ASCII, in the ANSI code
// page. 0 when there is none or it does not fit.
static int32_t ReadShortProgramPath(char* buffer, int32_t size)
{
    WCHAR longPath[WIDE_PATH_ROOM];
    WCHAR shortPath[WIDE_PATH_ROOM];
    DWORD length = GetModuleFileNameW(InstanceHandle, longPath, WIDE_PATH_ROOM);
    if (length == 0 || length >= WIDE_PATH_ROOM)
        return 0;
    length = GetShortPathNameW(longPath, shortPath, WIDE_PATH_ROOM);
    if (length == 0 || length >= WIDE_PATH_ROOM)
        return 0;
    BOOL lossy = FALSE;
    int written = WideCharToMultiByte(CP_ACP, 0, shortPath, -1, buffer, size, NULL, &lossy);
    if (written <= 0 || lossy)
        return 0;
    return written - 1;
}

int32_t ReadProgramPath(char* buffer, int32_t size)
{
    DWORD length = GetModuleFileNameA(InstanceHandle, buffer, (DWORD)size);
    if (length == 0 || length >= (DWORD)size)
        return (int32_t)length;
    // Letters the ANSI code page cannot spell come back as "?", naming a folder that
    // does not exist; the short form of the same path names the right one.
    if (GetFileAttributesA(buffer) != INVALID_FILE_ATTRIBUTES)
        return (int32_t)length;
    char shortForm[WIDE_PATH_ROOM];
    int32_t shortLength = ReadShortProgramPath(shortForm, WIDE_PATH_ROOM);
    if (shortLength == 0 || shortLength >= size)
        return (int32_t)length;
    memcpy(buffer, shortForm, (size_t)shortLength + 1);
    return shortLength;
}
