#include "image/png_decoder.h"

#include <png.h>
#include <string.h>

#include "image/image.h"

static png_structp Reader;
static png_infop Info;
static png_uint_32 Width;
static png_uint_32 Height;
static int32_t BitDepth;
static int32_t ColorType;
static const uint8_t* MemoryPosition;
static const uint8_t* MemoryEnd;

static void PngDiscard(void)
{
    if (Reader)
        png_destroy_read_struct(&Reader, Info ? &Info : NULL, NULL);
    Reader = NULL;
    Info = NULL;
    MemoryPosition = NULL;
    MemoryEnd = NULL;
}

// A stream that ends early is a libpng error here, never a read past the block.
static void ReadFromMemory(png_structp reader, png_bytep destination, size_t length)
{
    if ((size_t)(MemoryEnd - MemoryPosition) < length)
        png_error(reader, "PNG data ends early");
    memcpy(destination, MemoryPosition, length);
    MemoryPosition += length;
}

static int32_t PngProbe(FILE* file, const void* data, size_t length, const char* fileName)
{
    (void)fileName;
    PngDiscard();
    png_byte signature[8];
    if (file) {
        if (fread(signature, 1, sizeof signature, file) != sizeof signature)
            return 0;
    } else {
        if (!data || length < sizeof signature)
            return 0;
        memcpy(signature, data, sizeof signature);
    }
    if (png_sig_cmp(signature, 0, sizeof signature) != 0)
        return 0;

    Reader = png_create_read_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
    if (!Reader)
        return 0;
    if (setjmp(png_jmpbuf(Reader))) {
        PngDiscard();
        return 0;
    }
    // Pictures beyond what the registry accepts are refused before any row is read.
    png_set_user_limits(Reader, IMAGE_MAX_SIDE, IMAGE_MAX_SIDE);
    if (file) {
        png_init_io(Reader, file);
        png_set_sig_bytes(Reader, sizeof signature);
    } else {
        MemoryPosition = (const uint8_t*)data;
        MemoryEnd = MemoryPosition + length;
        png_set_read_fn(Reader, NULL, ReadFromMemory);
    }
    Info = png_create_info_struct(Reader);
    if (!Info) {
        PngDiscard();
        return 0;
    }
    png_read_info(Reader, Info);
    int bitDepth = 0;
    int colorType = 0;
    png_get_IHDR(Reader, Info, &Width, &Height, &bitDepth, &colorType, NULL, NULL, NULL);
    BitDepth = bitDepth;
    ColorType = colorType;
    return 1;
}

static int32_t PngDecode(uint8_t* buffer, int32_t pitch, int32_t flags)
{
    (void)flags;
    if (!Reader)
        return 0;
    if (setjmp(png_jmpbuf(Reader))) {
        PngDiscard();
        return 0;
    }
    if (ColorType == PNG_COLOR_TYPE_PALETTE) {
        png_set_palette_to_rgb(Reader);
    } else if (ColorType == PNG_COLOR_TYPE_GRAY || ColorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        if (BitDepth < 8)
            png_set_expand_gray_1_2_4_to_8(Reader);
        png_set_gray_to_rgb(Reader);
    }
    if (BitDepth == 16)
        png_set_strip_16(Reader);
    png_set_bgr(Reader);
    // The expansion turns a transparency chunk into an alpha channel: dropped too,
    // so that every row is exactly width x 3 bytes.
    if ((ColorType & PNG_COLOR_MASK_ALPHA) || png_get_valid(Reader, Info, PNG_INFO_tRNS))
        png_set_strip_alpha(Reader);
    int passes = png_set_interlace_handling(Reader);
    png_read_update_info(Reader, Info);
    if (png_get_rowbytes(Reader, Info) != (size_t)Width * 3)
        png_error(Reader, "rows are not 24-bit");
    for (int pass = 0; pass < passes; pass++) {
        uint8_t* row = buffer;
        for (png_uint_32 i = 0; i < Height; i++) {
            png_read_rows(Reader, &row, NULL, 1);
            row += pitch;
        }
    }
    PngDiscard();
    return 1;
}

static int32_t PngWidth(void)
{
    return (int32_t)Width;
}

static int32_t PngHeight(void)
{
    return (int32_t)Height;
}

static const ImageDecoder PngDecoder = {PngProbe, PngDecode, PngWidth, PngHeight, PngDiscard};

void EnablePngDecoder(void)
{
    if (!IsImageDecoderRegistered(&PngDecoder))
        RegisterImageDecoder(&PngDecoder);
}
