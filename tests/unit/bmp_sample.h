#pragma once
// BMP files built in memory for the image tests.
#include <stdint.h>
#include <string.h>

#include <vector>

struct BmpFields {
    int32_t width;
    int32_t height;
    uint16_t bits;
    uint32_t compression = 0;
};

inline void PutLittle(std::vector<uint8_t>& bytes, size_t at, uint32_t value, int size)
{
    for (int i = 0; i < size; i++)
        bytes[at + i] = (uint8_t)(value >> (8 * i));
}

inline int32_t BmpPitch(int32_t width, int bits)
{
    return (width * bits / 8 + 3) & ~3;
}

// Headers, a 256-entry colour table for 8 bits, then rows whose bytes count up.
inline std::vector<uint8_t> MakeBmp(const BmpFields& fields)
{
    uint32_t table = fields.bits == 8 ? 1024 : 0;
    uint32_t offset = 54 + table;
    int32_t rows = fields.height < 0 ? -fields.height : fields.height;
    uint32_t size = offset + (uint32_t)(BmpPitch(fields.width, fields.bits) * rows);
    std::vector<uint8_t> bytes(size, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    PutLittle(bytes, 2, size, 4);
    PutLittle(bytes, 10, offset, 4);
    PutLittle(bytes, 14, 40, 4);
    PutLittle(bytes, 18, (uint32_t)fields.width, 4);
    PutLittle(bytes, 22, (uint32_t)fields.height, 4);
    PutLittle(bytes, 26, 1, 2);
    PutLittle(bytes, 28, fields.bits, 2);
    PutLittle(bytes, 30, fields.compression, 4);
    for (uint32_t i = offset; i < size; i++)
        bytes[i] = (uint8_t)(i * 7);
    return bytes;
}
