#include "scr_process.h"

#include <gtest/gtest.h>

static std::string TestProgramFolder()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string text(path, length);
    return text.substr(0, text.rfind('\\') + 1);
}

static void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = folder + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path + "\\");
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(folder.c_str());
}

std::string MakeScrFolder(const char* name)
{
    std::string work = TestProgramFolder() + "e2e_work\\";
    CreateDirectoryA(work.c_str(), NULL);
    std::string folder = work + name + "\\";
    RemoveTree(folder);
    CreateDirectoryA(folder.c_str(), NULL);
    // The tests live in build/win64/tests, the screensaver in build/win64.
    std::string program = TestProgramFolder() + "..\\Zarn_Scr.scr";
    EXPECT_TRUE(CopyFileA(program.c_str(), (folder + "Zarn_Scr.scr").c_str(), FALSE)) << program;
    return folder;
}

HANDLE StartScr(const std::string& folder, const char* parameters, const char* environment)
{
    std::string line = "\"" + folder + "Zarn_Scr.scr\"";
    if (parameters && *parameters)
        line += std::string(" ") + parameters;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    BOOL ok = CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, (void*)environment, folder.c_str(),
                             &startup, &process);
    EXPECT_TRUE(ok) << line;
    if (!ok)
        return NULL;
    CloseHandle(process.hThread);
    return process.hProcess;
}

DWORD WaitForScr(HANDLE process, DWORD timeoutMs)
{
    if (!process)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process, &code);
    } else {
        TerminateProcess(process, 99);
        WaitForSingleObject(process, 5000);
    }
    CloseHandle(process);
    return code;
}

DWORD RunScr(const std::string& folder, const char* parameters, DWORD timeoutMs)
{
    return WaitForScr(StartScr(folder, parameters), timeoutMs);
}

struct WindowCount {
    DWORD processId;
    int count;
};

static BOOL CALLBACK CountWindow(HWND window, LPARAM data)
{
    WindowCount* counting = (WindowCount*)data;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == counting->processId && IsWindowVisible(window))
        counting->count++;
    return TRUE;
}

int CountVisibleWindows(DWORD processId)
{
    WindowCount counting = {processId, 0};
    EnumWindows(CountWindow, (LPARAM)&counting);
    return counting.count;
}

std::string ReadWholeFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string bytes(GetFileSize(file, NULL), '\0');
    DWORD read = 0;
    if (!bytes.empty())
        ReadFile(file, &bytes[0], (DWORD)bytes.size(), &read, NULL);
    CloseHandle(file);
    return bytes;
}

void WriteWholeFile(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    CloseHandle(file);
}
