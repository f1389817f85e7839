#include <gtest/gtest.h>

#include "runtime/program.h"

// Each entry names the program it must test: the 32-bit ones the 32-bit program under WoW64.
TEST(Build, IsTheOneItsEntryNames)
{
    BOOL wow64 = FALSE;
    const char* found = !IsWow64Process(GetCurrentProcess(), &wow64) ? "unknown" : sizeof(void*) == 8 ? "64" : wow64 ? "32 wow64" : "32";
    EXPECT_STREQ(getenv("ZARN_BUILD"), found);
}

// The engine's libraries expect the runtime's start sequence to have run.
int main(int argc, char** argv)
{
    StartProgram(GetModuleHandleA(NULL), NULL, NULL);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
