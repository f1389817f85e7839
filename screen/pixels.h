#pragma once
// The open screen's pixel layout and the conversions into it. Platform-free: the
// callers hand in locked surface memory.
#include <stdint.h>

struct DecodedImage;

// Pixel format codes of the open screen.
enum {
    PIXEL_FORMAT_OTHER = 1,
    PIXEL_FORMAT_555 = 2,
    PIXEL_FORMAT_565 = 3,
    PIXEL_FORMAT_RGB24 = 4, // red in the lowest byte
    PIXEL_FORMAT_BGR24 = 5,
    PIXEL_FORMAT_RGB32 = 6, // red in the lowest byte
    PIXEL_FORMAT_BGR32 = 7
};

// A screen's pixels: the bits per pixel asked of it and its format code (0 until the
// screen was locked once, which counts as 5-6-5).
typedef struct PixelLayout {
    int32_t depth;
    int32_t code;
} PixelLayout;

int32_t FindPixelFormatCode(int32_t depth, uint32_t redMask, uint32_t greenMask);
// Red, green and blue (0 to 255) as a pixel value of the layout.
uint32_t PackColorIn(PixelLayout layout, int32_t red, int32_t green, int32_t blue);
// 1 when an image of that many bits per pixel can be put on such a screen.
int32_t DepthFitsScreen(PixelLayout layout, int32_t bitsPerPixel);
// Converts the image into the layout at surface, rows pitch bytes apart. 1 when the
// depth is one that can be written (8, 16, 24, 32), else 0.
int32_t CopyImageToSurface(PixelLayout layout, const DecodedImage* image, uint8_t* surface, int32_t pitch);
// 8-bit pixels into a block of width x height bytes, top row first.
void CopyImageToBlock(const DecodedImage* image, uint8_t* block);
