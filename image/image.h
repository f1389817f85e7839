#pragma once
// Image bytes in memory turned into rows of pixels: a BMP is described in place,
// any other format goes through the first registered decoder that accepts it and is
// decoded into a buffer of 24-bit rows (blue, green, red), top row first.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

typedef struct DecodedImage {
    const uint8_t* pixels; // first stored row
    int32_t width;
    int32_t height;        // always positive
    int32_t bitsPerPixel;  // 8, 16, 24 or 32 for a BMP; 24 for decoder output
    int32_t bottomUp;      // 1: first stored row is the picture's bottom row (BMP)
    int32_t rowPitch;      // bytes from one stored row to the next, multiple of 4
    void* ownedBuffer;     // decoder output, freed by ReleaseDecodedImage; NULL for a BMP
} DecodedImage;

// Larger pictures are refused: their buffers could not be had anyway, and the limit
// keeps every size computation far from overflow.
enum { IMAGE_MAX_SIDE = 32768 };

// How a format plugs in. probe gets either an open stream at its start (data NULL)
// or a block of length bytes (file and fileName NULL); an accepting probe keeps
// what the other operations need. decode writes height rows of width x 3 bytes,
// row i at buffer + i x pitch, and touches nothing after them in a row; it releases
// the per-image state before it returns. discard releases that state when the image
// is not decoded after all.
typedef struct ImageDecoder {
    int32_t (*probe)(FILE* file, const void* data, size_t length, const char* fileName);
    int32_t (*decode)(uint8_t* buffer, int32_t pitch, int32_t flags);
    int32_t (*width)(void);
    int32_t (*height)(void);
    void (*discard)(void);
} ImageDecoder;

enum { IMAGE_DECODER_ROOM = 100 };

// 1 = an image (release it with ReleaseDecodedImage), 0 = none. Nothing outside the
// length bytes at data is ever read.
int32_t OpenImage(const void* data, size_t length, DecodedImage* image);
void ReleaseDecodedImage(DecodedImage* image);

void ResetImageDecoders(void);
// The decoder must live as long as the program. Beyond IMAGE_DECODER_ROOM decoders
// further ones are ignored.
void RegisterImageDecoder(const ImageDecoder* decoder);
int32_t IsImageDecoderRegistered(const ImageDecoder* decoder);
// With a file name the file is probed (data is not used); otherwise the block.
// 1 when a decoder accepted, and it becomes the chosen one.
int32_t FindImageDecoder(const char* fileName, const void* data, size_t length);
int32_t ImageDecoderWidth(void);
int32_t ImageDecoderHeight(void);
int32_t RunImageDecoder(uint8_t* buffer, int32_t pitch, int32_t flags);
// Gives up the chosen decoder's image without decoding it.
void AbandonImageDecoder(void);
