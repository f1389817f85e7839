// Prints what a running process holds: private memory, working set, kernel handles,
// GDI and USER objects and threads (Toolhelp's count), as one line of "name=value"
// pairs. Used by scripts/soak.sh.
//   procstats <program file name, e.g. Zarn_Scr.scr>
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <stdio.h>

static DWORD FindProcess(const char* name, DWORD* threads)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    DWORD id = 0;
    for (BOOL more = Process32First(snapshot, &entry); more && !id; more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, name) == 0) {
            id = entry.th32ProcessID;
            *threads = entry.cntThreads;
        }
    }
    CloseHandle(snapshot);
    return id;
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: procstats <program file name>\n");
        return 2;
    }
    DWORD threads = 0;
    DWORD id = FindProcess(argv[1], &threads);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id);
    if (!process) {
        fprintf(stderr, "procstats: no process %s\n", argv[1]);
        return 1;
    }
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process, (PROCESS_MEMORY_COUNTERS*)&memory, sizeof memory);
    DWORD handles = 0;
    GetProcessHandleCount(process, &handles);
    DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
    DWORD user = GetGuiResources(process, GR_USEROBJECTS);
    printf("private_bytes=%llu working_set=%llu handles=%lu gdi_objects=%lu user_objects=%lu threads=%lu\n",
           (unsigned long long)memory.PrivateUsage, (unsigned long long)memory.WorkingSetSize,
           (unsigned long)handles, (unsigned long)gdi, (unsigned long)user, (unsigned long)threads);
    CloseHandle(process);
    return 0;
}
