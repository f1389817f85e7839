#pragma once
// Stand-in image decoders that note every call in FakeLog.calls: the probe adds its
// name, the decode its name in upper case, the discard a '-'.
#include <stdio.h>

#include <string>

#include "image/image.h"

struct FakeLog {
    std::string calls;
    int32_t width = 5;
    int32_t height = 2;
    long filePosition = -1;
};
inline FakeLog Log;

inline int32_t ProbeFor(char name, FILE* file, const void* data, size_t length, bool accept)
{
    Log.calls += name;
    if (file)
        Log.filePosition = ftell(file);
    else if (!data || length == 0)
        return 0;
    return accept;
}

// Fills each row's pixel bytes with the decoder's name plus the row number.
inline int32_t DecodeFor(char name, uint8_t* buffer, int32_t pitch)
{
    Log.calls += (char)(name - 'a' + 'A');
    for (int32_t row = 0; row < Log.height; row++)
        for (int32_t i = 0; i < Log.width * 3; i++)
            buffer[row * pitch + i] = (uint8_t)(name + row);
    return 1;
}

template <char Name, bool Accepts>
const ImageDecoder FakeDecoder = {
    [](FILE* f, const void* d, size_t n, const char*) { return ProbeFor(Name, f, d, n, Accepts); },
    [](uint8_t* b, int32_t p, int32_t) { return DecodeFor(Name, b, p); },
    []() { return Log.width; },
    []() { return Log.height; },
    []() { Log.calls += '-'; },
};
