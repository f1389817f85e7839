#include <gtest/gtest.h>

#include "runtime/strings.h"
#include "test_data.h"

std::string TestDataDir()
{
    return ZARN_TEST_DATA;
}

int main(int argc, char** argv)
{
    if (!AllocateScratchArea())
        return 1;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
