#include "prefs/prefs.h"

#include <windows.h>

#include <string.h>

#include "prefs/settings_text.h"
#include "runtime/heap.h"
#include "runtime/program.h"

typedef struct SettingsFileState {
    HANDLE handle; // 0 when no file is open
    int32_t writing;
    int32_t writeFailed;
    char* content;     // the whole file and a zero byte, while open for reading
    char* scanStart;
    char commentMarker;
    char* targetName;  // while writing: the file that the new one replaces
    char* newName;     // while writing: the file the lines go to
} SettingsFileState;

static SettingsFileState SettingsFile;

// Files larger than this are not settings files; they read as if empty.
enum { LARGEST_SETTINGS_FILE = 256 * 1024 * 1024 };

void InitSettingsFile(void)
{
    memset(&SettingsFile, 0, sizeof SettingsFile);
    SettingsFile.commentMarker = ';';
}

static char* CopyName(const char* name, const char* suffix)
{
    size_t length = strlen(name);
    size_t suffixLength = strlen(suffix);
    char* copy = (char*)AllocateBlock(length + suffixLength + 1);
    if (copy) {
        memcpy(copy, name, length);
        memcpy(copy + length, suffix, suffixLength + 1);
    }
    return copy;
}

static void ForgetNames(void)
{
    FreeBlock(SettingsFile.targetName);
    FreeBlock(SettingsFile.newName);
    SettingsFile.targetName = NULL;
    SettingsFile.newName = NULL;
}

intptr_t CreateSettingsFile(const char* name)
{
    CloseSettingsFile();
    if (!name || !name[0])
        return 0;
    SetCurrentDirectoryA(ProgramDirectory);
    // A read-only file, or a folder in its place, must keep what it is.
    DWORD attributes = GetFileAttributesA(name);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return 0;
    SettingsFile.targetName = CopyName(name, "");
    SettingsFile.newName = CopyName(name, ".new");
    if (!SettingsFile.targetName || !SettingsFile.newName) {
        ForgetNames();
        return 0;
    }
    HANDLE handle = CreateFileA(SettingsFile.newName, GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, NULL);
    if (handle == INVALID_HANDLE_VALUE) {
        ForgetNames();
        return 0;
    }
    SettingsFile.handle = handle;
    SettingsFile.writing = 1;
    SettingsFile.writeFailed = 0;
    return (intptr_t)handle;
}

intptr_t OpenSettingsFile(const char* name)
{
    CloseSettingsFile();
    if (!name || !name[0])
        return 0;
    SetCurrentDirectoryA(ProgramDirectory);
    HANDLE handle = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (handle == INVALID_HANDLE_VALUE)
        return 0;
    SettingsFile.handle = handle;
    SettingsFile.writing = 0;
    DWORD high = 0;
    DWORD size = GetFileSize(handle, &high);
    if (size == INVALID_FILE_SIZE || high != 0 || size > LARGEST_SETTINGS_FILE)
        return (intptr_t)handle;
    char* content = (char*)AllocateBlock((size_t)size + 2);
    if (!content)
        return (intptr_t)handle;
    DWORD read = 0;
    if (!ReadFile(handle, content, size, &read, NULL))
        read = 0;
    // A short read keeps what did arrive.
    content[read] = 0;
    SettingsFile.content = content;
    SettingsFile.scanStart = content;
    return (intptr_t)handle;
}

int32_t ReadSettingInt(const char* key, int32_t fallback)
{
    if (!SettingsFile.handle || SettingsFile.writing || !SettingsFile.content)
        return fallback;
    return FindSettingValue(SettingsFile.scanStart, key, fallback, SettingsFile.commentMarker);
}

void WriteSettingInt(const char* key, int32_t value)
{
    if (!SettingsFile.handle || !SettingsFile.writing || !key || !key[0])
        return;
    size_t keyLength = strlen(key);
    char* line = (char*)AllocateBlock(keyLength + 25);
    if (!line) {
        SettingsFile.writeFailed = 1;
        return;
    }
    DWORD length = (DWORD)FormatSettingLine(line, key, value);
    DWORD written = 0;
    if (!WriteFile(SettingsFile.handle, line, length, &written, NULL) || written != length)
        SettingsFile.writeFailed = 1;
    FreeBlock(line);
}

// Closes the new file and, when every line reached it, puts it in the old one's place.
static int32_t FinishWriting(void)
{
    int32_t complete = !SettingsFile.writeFailed && FlushFileBuffers(SettingsFile.handle);
    CloseHandle(SettingsFile.handle);
    if (complete)
        complete = MoveFileExA(SettingsFile.newName, SettingsFile.targetName,
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!complete)
        DeleteFileA(SettingsFile.newName);
    ForgetNames();
    return complete;
}

int32_t CloseSettingsFile(void)
{
    int32_t stored = 0;
    if (SettingsFile.handle) {
        if (SettingsFile.writing)
            stored = FinishWriting();
        else
            CloseHandle(SettingsFile.handle);
        SettingsFile.handle = 0;
    }
    if (SettingsFile.content) {
        FreeBlock(SettingsFile.content);
        SettingsFile.content = NULL;
    }
    return stored;
}
