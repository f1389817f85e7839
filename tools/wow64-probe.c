/* Answers when Wine runs it as a 32-bit program inside a 64-bit one, as the tests'
   32-bit Wine must. */
#include <stdio.h>
#include <windows.h>

int main(void)
{
    BOOL wow64 = FALSE;
    if (sizeof(void*) == 4 && IsWow64Process(GetCurrentProcess(), &wow64) && wow64)
        puts("a 32-bit program under WoW64");
    else
        puts("not a 32-bit program under WoW64");
    return 0;
}
