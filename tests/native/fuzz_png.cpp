// Feeds arbitrary bytes to the PNG decoder through the registry and decodes into a
// buffer of exactly height rows: the sanitizer sees any read outside the input and
// any write outside the rows.
#include <stdint.h>
#include <stdlib.h>

#include "image/image.h"
#include "image/png_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static int ready = 0;
    if (!ready) {
        ResetImageDecoders();
        EnablePngDecoder();
        ready = 1;
    }
    if (!FindImageDecoder(NULL, data, size))
        return 0;
    int32_t width = ImageDecoderWidth();
    int32_t height = ImageDecoderHeight();
    // Large pictures are given up, as when a buffer cannot be had.
    if ((int64_t)width * height > 1 << 22) {
        AbandonImageDecoder();
        return 0;
    }
    int32_t pitch = (width * 3 + 3) & ~3;
    uint8_t* buffer = (uint8_t*)malloc((size_t)pitch * height);
    RunImageDecoder(buffer, pitch, 0);
    free(buffer);
    return 0;
}
