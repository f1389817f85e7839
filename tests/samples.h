#pragma once
// Picture files built in memory for the tests: BMPs of any depth and row order. The
// PNGs are libpng's own test suite and the program's picture.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

typedef std::vector<uint8_t> Bytes;

inline Bytes ReadFileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), {});
}

inline void WriteFileBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary).write((const char*)bytes.data(), (std::streamsize)bytes.size());
}

inline void PutLittle(Bytes& bytes, size_t at, uint32_t value, int size)
{
    for (int i = 0; i < size; i++)
        bytes[at + (size_t)i] = (uint8_t)(value >> (8 * i));
}

struct BmpFields {
    int32_t width;
    int32_t height; // negative: stored top row first
    uint16_t bits;
    uint32_t compression = 0;
};

// colour(x, y), y counted from the picture's top: 0xRRGGBB for 24 and 32 bits, a 5-5-5
// word for 16, a palette index for 8 (the palette is a gray ramp). Row padding is
// 0xEE. Without a colour, the bytes of the pixels count up.
inline Bytes MakeBmp(const BmpFields& fields, std::function<uint32_t(int32_t, int32_t)> colour = nullptr)
{
    uint32_t offset = 54 + (fields.bits == 8 ? 1024 : 0);
    int32_t rows = abs(fields.height), pitch = (fields.width * fields.bits / 8 + 3) & ~3;
    Bytes bytes(offset, 0);
    bytes.resize(offset + (size_t)pitch * (size_t)rows, 0xEE);
    const uint32_t header[][3] = {{0, 'B' | 'M' << 8, 2}, {2, (uint32_t)bytes.size(), 4}, {10, offset, 4},
                                  {14, 40, 4}, {18, (uint32_t)fields.width, 4}, {22, (uint32_t)fields.height, 4},
                                  {26, 1, 2}, {28, fields.bits, 2}, {30, fields.compression, 4}};
    for (const auto& field : header)
        PutLittle(bytes, field[0], field[1], (int)field[2]);
    for (uint32_t i = 0; fields.bits == 8 && i < 256; i++)
        PutLittle(bytes, 54 + 4 * i, i * 0x010101, 4);
    for (int32_t y = 0; y < rows; y++) {
        size_t row = offset + (size_t)pitch * (size_t)(fields.height < 0 ? y : rows - 1 - y);
        for (int32_t x = 0; x < fields.width; x++) {
            size_t at = row + (size_t)(x * fields.bits / 8);
            for (int i = 0; i < fields.bits / 8; i++)
                bytes[at + i] = (uint8_t)(colour ? colour(x, y) >> (8 * i) : (at + i) * 7);
        }
    }
    return bytes;
}
