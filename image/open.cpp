#include "image/bmp.h"
#include "image/image.h"
#include "image/image_buffer.h"

static void ForgetImage(DecodedImage* image)
{
    image->pixels = NULL;
    image->width = 0;
    image->height = 0;
    image->bitsPerPixel = 0;
    image->bottomUp = 0;
    image->rowPitch = 0;
    image->ownedBuffer = NULL;
}

int32_t OpenImage(const void* data, size_t length, DecodedImage* image)
{
    if (!image)
        return 0;
    ForgetImage(image);
    if (!data)
        return 0;
    // Data that starts like a BMP never reaches the decoders.
    if (IsBmp(data, length))
        return DescribeBmp(data, length, image);
    if (!FindImageDecoder(NULL, data, length))
        return 0;
    int32_t width = ImageDecoderWidth();
    int32_t height = ImageDecoderHeight();
    if (width < 1 || width > IMAGE_MAX_SIDE || height < 1 || height > IMAGE_MAX_SIDE) {
        AbandonImageDecoder();
        return 0;
    }
    int32_t pitch = (width * 3 + 3) & ~3;
    // One spare row, as decoders have always been given. Zeroed, so that rows a
    // failing decode never wrote are black, not leftovers.
    void* buffer = AllocateImageBuffer((size_t)pitch * ((size_t)height + 1));
    if (!buffer) {
        AbandonImageDecoder();
        return 0;
    }
    RunImageDecoder((uint8_t*)buffer, pitch, 0);
    image->pixels = (const uint8_t*)buffer;
    image->width = width;
    image->height = height;
    image->bitsPerPixel = 24;
    image->bottomUp = 0;
    image->rowPitch = pitch;
    image->ownedBuffer = buffer;
    return 1;
}

void ReleaseDecodedImage(DecodedImage* image)
{
    if (!image)
        return;
    if (image->ownedBuffer)
        FreeImageBuffer(image->ownedBuffer);
    ForgetImage(image);
}
