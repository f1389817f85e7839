#include <gtest/gtest.h>

#include "runtime/strings.h"

int main(int argc, char** argv)
{
    if (!AllocateScratchArea())
        return 1;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
