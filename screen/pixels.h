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

extern int32_t ScreenDepth;     // bits per pixel asked of the open screen
extern int32_t PixelFormatCode; // 0 until a screen was locked once (counts as 5-6-5)

int32_t FindPixelFormatCode(int32_t depth, uint32_t redMask, uint32_t greenMask);
// Red, green and blue (0 to 255) as a pixel value of the open screen.
uint32_t PackColor(int32_t red, int32_t green, int32_t blue);
// Converts the image into the screen's format at surface, rows pitch bytes apart.
// 1 when the screen depth is one that can be written (8, 16, 24, 32), else 0.
int32_t CopyImageToSurface(const DecodedImage* image, uint8_t* surface, int32_t pitch);
// 8-bit pixels into a block of width x height bytes, top row first.
void CopyImageToBlock(const DecodedImage* image, uint8_t* block);
