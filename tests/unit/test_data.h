#pragma once
#include <string>

// The folder that holds the tests' reference data (tests/data), with a trailing separator.
std::string TestDataDir();
