#include <gtest/gtest.h>

#include "dialog_driver.h"
#include "scr_process.h"

// Switches that select no mode end the program at once, silently, with exit code 0.
TEST(Startup, UnsupportedSwitchesEndAtOnce)
{
    std::string folder = MakeScrFolder("unsupported");
    for (const char* parameters : {"/p 1234", "/a", "/x", "-P", "/A:99"}) {
        HANDLE process = StartScr(folder, parameters);
        ASSERT_NE(process, nullptr);
        DWORD start = GetTickCount();
        DWORD code = WaitForScr(process, 20000);
        EXPECT_EQ(code, 0u) << parameters;
        EXPECT_LT(GetTickCount() - start, 10000u) << parameters;
    }
}

// The guard: with the mutex taken, any start ends at once.
TEST(Startup, ASecondCopyEndsAtOnce)
{
    std::string folder = MakeScrFolder("second_copy");
    HANDLE guard = CreateMutexA(NULL, TRUE, "Zarn-Screensaver");
    ASSERT_NE(guard, nullptr);
    for (const char* parameters : {"/s", "", "/c"}) {
        HANDLE process = StartScr(folder, parameters);
        DWORD code = WaitForScr(process, 20000);
        EXPECT_EQ(code, 0u) << parameters;
    }
    ReleaseMutex(guard);
    CloseHandle(guard);
}

// Odd command lines never crash the program.
TEST(Startup, OddCommandLinesEndCleanly)
{
    std::string folder = MakeScrFolder("odd_lines");
    std::string longParameter = "/x" + std::string(30000, 'q');
    for (const std::string& parameters : {std::string("\"/x"), longParameter, std::string("/\xE9\xE9")}) {
        DWORD code = RunScr(folder, parameters.c_str(), 20000);
        EXPECT_EQ(code, 0u) << parameters.substr(0, 20);
    }
    // An empty first parameter is no switch at all: the dialog, which the close box ends.
    HANDLE process = StartScr(folder, "\"\" /p");
    HWND dialog = WaitForProcessWindow(GetProcessId(process), "Zarn Screensaver Configuration", 15000);
    EXPECT_NE(dialog, nullptr);
    RequestClose(dialog);
    EXPECT_EQ(WaitForScr(process, 20000), 0u);
}
