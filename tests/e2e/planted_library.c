// A DLL planted beside the program under a system library's name: loaded, it leaves a
// file "<its own path>.ran" behind.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved)
{
    char mark[MAX_PATH + 8];
    (void)reserved;
    DWORD length = GetModuleFileNameA(self, mark, MAX_PATH);
    if (reason == DLL_PROCESS_ATTACH && length > 0 && length < MAX_PATH) {
        lstrcatA(mark, ".ran");
        CloseHandle(CreateFileA(mark, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL));
    }
    return TRUE;
}
