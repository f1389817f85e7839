#include "image/bmp.h"

enum {
    BMP_OFF_BITS = 10,
    BMP_WIDTH = 18,
    BMP_HEIGHT = 22,
    BMP_BIT_COUNT = 28,
    BMP_COMPRESSION = 30,
    BMP_FIELDS_END = 34,
};

static uint32_t ReadLittle32(const uint8_t* at)
{
    return (uint32_t)at[0] | ((uint32_t)at[1] << 8) | ((uint32_t)at[2] << 16) | ((uint32_t)at[3] << 24);
}

static uint16_t ReadLittle16(const uint8_t* at)
{
    return (uint16_t)(at[0] | (at[1] << 8));
}

int32_t IsBmp(const void* data, size_t length)
{
    const uint8_t* bytes = (const uint8_t*)data;
    return data && length >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
}

int32_t DescribeBmp(const void* data, size_t length, DecodedImage* image)
{
    const uint8_t* bytes = (const uint8_t*)data;
    if (!IsBmp(data, length) || length < BMP_FIELDS_END)
        return 0;
    if (ReadLittle32(bytes + BMP_COMPRESSION) != 0)
        return 0;
    int32_t bits = ReadLittle16(bytes + BMP_BIT_COUNT);
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return 0;
    int64_t width = (int32_t)ReadLittle32(bytes + BMP_WIDTH);
    int64_t height = (int32_t)ReadLittle32(bytes + BMP_HEIGHT);
    // A negative height is a top-down BMP: its first stored row is the top one.
    int32_t bottomUp = height > 0;
    if (height < 0)
        height = -height;
    if (width < 1 || width > IMAGE_MAX_SIDE || height < 1 || height > IMAGE_MAX_SIDE)
        return 0;
    int64_t pitch = (width * bits / 8 + 3) & ~(int64_t)3;
    uint64_t offset = ReadLittle32(bytes + BMP_OFF_BITS);
    if (offset > length || (uint64_t)(pitch * height) > length - offset)
        return 0;
    image->pixels = bytes + offset;
    image->width = (int32_t)width;
    image->height = (int32_t)height;
    image->bitsPerPixel = bits;
    image->bottomUp = bottomUp;
    image->rowPitch = (int32_t)pitch;
    image->ownedBuffer = NULL;
    return 1;
}
