// Feeds arbitrary bytes to the BMP reader and reads every byte of the rows it
// describes, as the sprite code would: the sanitizer sees any read outside the input.
#include <stdint.h>
#include <string.h>

#include "image/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    DecodedImage image;
    memset(&image, 0, sizeof image);
    if (!DescribeBmp(data, size, &image))
        return 0;
    if (image.width < 1 || image.height < 1 || image.rowPitch % 4 != 0)
        __builtin_trap();
    uint32_t sum = 0;
    size_t rowBytes = (size_t)image.width * image.bitsPerPixel / 8;
    for (int32_t y = 0; y < image.height; y++)
        for (size_t i = 0; i < rowBytes; i++)
            sum += image.pixels[(size_t)y * image.rowPitch + i];
    return sum == 0xFFFFFFFF;
}
