#include "screen/pixels.h"

#include <stddef.h>
#include <string.h>

#include "image/image.h"

int32_t FindPixelFormatCode(int32_t depth, uint32_t redMask, uint32_t greenMask)
{
    switch (depth) {
    case 32:
        return redMask == 0xFF ? PIXEL_FORMAT_RGB32 : PIXEL_FORMAT_BGR32;
    case 24:
        return redMask == 0xFF ? PIXEL_FORMAT_RGB24 : PIXEL_FORMAT_BGR24;
    case 16:
        return greenMask == 0x07E0 ? PIXEL_FORMAT_565 : PIXEL_FORMAT_555;
    default:
        return PIXEL_FORMAT_OTHER;
    }
}

static int32_t RedFirst(PixelLayout layout)
{
    return layout.code == PIXEL_FORMAT_RGB24 || layout.code == PIXEL_FORMAT_RGB32;
}

uint32_t PackColorIn(PixelLayout layout, int32_t red, int32_t green, int32_t blue)
{
    if (layout.depth == 15 || (layout.depth == 16 && layout.code == PIXEL_FORMAT_555))
        return (uint32_t)(blue / 8 + (green / 8) * 32 + (red / 8) * 1024);
    if (layout.depth == 16)
        return (uint32_t)(blue / 8 + (green / 4) * 32 + (red / 8) * 2048);
    if (layout.depth == 24 || layout.depth == 32) {
        if (RedFirst(layout))
            return (uint32_t)(red + green * 256 + blue * 65536);
        return (uint32_t)(blue + green * 256 + red * 65536);
    }
    return 0;
}

typedef struct SourceColor {
    uint32_t red, green, blue;
} SourceColor;

// Source pixels: blue, green, red bytes (a fourth skipped), or a 5-5-5 word.
static SourceColor ReadSourceColor(const uint8_t* pixel, int32_t bitsPerPixel)
{
    SourceColor color;
    if (bitsPerPixel == 16) {
        uint32_t word = (uint32_t)pixel[0] | ((uint32_t)pixel[1] << 8);
        color.red = ((word >> 10) & 31) << 3;
        color.green = ((word >> 5) & 31) << 3;
        color.blue = (word & 31) << 3;
    } else {
        color.blue = pixel[0];
        color.green = pixel[1];
        color.red = pixel[2];
    }
    return color;
}

static void WriteWord(uint8_t* out, uint32_t word)
{
    out[0] = (uint8_t)word;
    out[1] = (uint8_t)(word >> 8);
}

static void ConvertRow(PixelLayout layout, const uint8_t* source, int32_t bitsPerPixel, int32_t width, uint8_t* out)
{
    int32_t sourceBytes = bitsPerPixel / 8;
    int32_t outBytes = layout.depth / 8;
    int32_t redFirst = RedFirst(layout);
    for (int32_t x = 0; x < width; x++, source += sourceBytes, out += outBytes) {
        if (layout.depth == 16 && bitsPerPixel == 16) {
            uint32_t word = (uint32_t)source[0] | ((uint32_t)source[1] << 8);
            if (layout.code != PIXEL_FORMAT_555)
                word = ((word >> 10) & 31) * 2048 + ((word >> 5) & 31) * 64 + (word & 31);
            WriteWord(out, word);
            continue;
        }
        SourceColor color = ReadSourceColor(source, bitsPerPixel);
        if (layout.depth == 16) {
            if (layout.code == PIXEL_FORMAT_555)
                WriteWord(out, (color.red >> 3) * 1024 + (color.green >> 3) * 32 + (color.blue >> 3));
            else
                WriteWord(out, (color.red >> 3) * 2048 + (color.green >> 2) * 32 + (color.blue >> 3));
            continue;
        }
        out[0] = (uint8_t)(redFirst ? color.red : color.blue);
        out[1] = (uint8_t)color.green;
        out[2] = (uint8_t)(redFirst ? color.blue : color.red);
        if (outBytes == 4)
            out[3] = 0;
    }
}

// Which source depths a screen depth can take; anything else is left unwritten.
static int32_t CanConvert(PixelLayout layout, int32_t bitsPerPixel)
{
    if (layout.depth == 8)
        return bitsPerPixel == 8;
    if (layout.depth == 16 || layout.depth == 24 || layout.depth == 32)
        return bitsPerPixel == 16 || bitsPerPixel == 24 || bitsPerPixel == 32;
    return 0;
}

static const uint8_t* SourceRow(const DecodedImage* image, int32_t row)
{
    // Stored bottom row first: the first stored row is the picture's last.
    int32_t stored = image->bottomUp ? image->height - 1 - row : row;
    return image->pixels + (size_t)stored * (size_t)image->rowPitch;
}

int32_t DepthFitsScreen(PixelLayout layout, int32_t bitsPerPixel)
{
    return bitsPerPixel == 0 || bitsPerPixel == layout.depth || (bitsPerPixel >= 16 && layout.depth >= 16);
}

int32_t CopyImageToSurface(PixelLayout layout, const DecodedImage* image, uint8_t* surface, int32_t pitch)
{
    if (layout.depth != 8 && layout.depth != 16 && layout.depth != 24 && layout.depth != 32)
        return 0;
    if (!CanConvert(layout, image->bitsPerPixel))
        return 1;
    for (int32_t row = 0; row < image->height; row++) {
        uint8_t* out = surface + (ptrdiff_t)row * pitch;
        if (layout.depth == 8)
            memcpy(out, SourceRow(image, row), (size_t)image->width);
        else
            ConvertRow(layout, SourceRow(image, row), image->bitsPerPixel, image->width, out);
    }
    return 1;
}

void CopyImageToBlock(const DecodedImage* image, uint8_t* block)
{
    for (int32_t row = 0; row < image->height; row++)
        memcpy(block + (size_t)row * (size_t)image->width, SourceRow(image, row), (size_t)image->width);
}
