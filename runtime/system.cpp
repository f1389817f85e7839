#include "runtime/system.h"

#include <string.h>

#include "runtime/params.h"
#include "runtime/program.h"
#include "runtime/random.h"

void SeedRandomFromClock(void)
{
    SeedRandom(GetTickCount());
}

const char* GetProgramCommandLine(void)
{
    return GetCommandLineA();
}

void DelayMs(int32_t milliseconds)
{
    Sleep((DWORD)milliseconds);
}

int32_t ShowMessage(const char* title, const char* text, uint32_t flags)
{
    return MessageBoxA(GetForegroundWindow(), text ? text : "", title ? title : "", flags);
}

int32_t QueryFileSize(const char* name)
{
    enum { NAME_ROOM = 1024 };
    if (!name || !name[0])
        return -1;
    SetCurrentDirectoryA(ProgramDirectory);
    size_t length = strlen(name);
    // A name that does not fit the copy is not looked up at all.
    if (length >= NAME_ROOM)
        return -1;
    char copy[NAME_ROOM];
    memcpy(copy, name, length + 1);
    if (copy[length - 1] == '\\')
        copy[length - 1] = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(copy, &found);
    if (search == INVALID_HANDLE_VALUE)
        return -1;
    int32_t result = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? -2 : (int32_t)found.nFileSizeLow;
    FindClose(search);
    return result;
}
