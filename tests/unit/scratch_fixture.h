#pragma once
#include <gtest/gtest.h>

#include "runtime/strings.h"

// Every test starts with an empty scratch area.
class ScratchTest : public testing::Test {
protected:
    void SetUp() override { ScratchCursor = ScratchArea; }
    char* Out() { return ScratchCursor; }
};
