#include <gtest/gtest.h>

#include "runtime/program.h"

// The engine's libraries expect the runtime's start sequence to have run.
int main(int argc, char** argv)
{
    StartProgram(GetModuleHandleA(NULL), NULL, NULL);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
