#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "app/picture.h"
#include "image/image.h"
#include "image/png_decoder.h"

namespace {

struct Chunk {
    std::string kind;
    const unsigned char* data;
    uint32_t length;
};

TEST(EmbeddedPicture, HasTheChunkLayoutTheProgramPromises)
{
    const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    ASSERT_GT(EmbeddedPictureSize, 8u);
    ASSERT_EQ(0, memcmp(EmbeddedPicture, signature, 8));
    std::vector<Chunk> chunks;
    uint32_t at = 8;
    while (at + 12 <= EmbeddedPictureSize) {
        uint32_t length = png_get_uint_32(EmbeddedPicture + at);
        ASSERT_LE(at + 12 + length, EmbeddedPictureSize);
        Chunk chunk = {std::string((const char*)EmbeddedPicture + at + 4, 4), EmbeddedPicture + at + 8, length};
        uint32_t crc = (uint32_t)crc32(0, EmbeddedPicture + at + 4, length + 4);
        EXPECT_EQ(crc, png_get_uint_32(EmbeddedPicture + at + 8 + length)) << chunk.kind;
        chunks.push_back(chunk);
        at += 12 + length;
    }
    EXPECT_EQ(EmbeddedPictureSize, at) << "nothing after the last chunk";
    ASSERT_GE(chunks.size(), 4u);

    const unsigned char header[13] = {0, 0, 1, 0, 0, 0, 1, 0, 8, 2, 0, 0, 0};
    EXPECT_EQ("IHDR", chunks[0].kind);
    ASSERT_EQ(13u, chunks[0].length);
    EXPECT_EQ(0, memcmp(header, chunks[0].data, 13));

    EXPECT_EQ("pHYs", chunks[1].kind);
    ASSERT_EQ(9u, chunks[1].length);
    EXPECT_EQ(23622u, png_get_uint_32(chunks[1].data));
    EXPECT_EQ(23622u, png_get_uint_32(chunks[1].data + 4));
    EXPECT_EQ(1, chunks[1].data[8]) << "unit: metre";

    size_t last = chunks.size() - 1;
    for (size_t i = 2; i < last; i++) {
        EXPECT_EQ("IDAT", chunks[i].kind);
        if (i + 1 < last)
            EXPECT_EQ(8192u, chunks[i].length);
        else
            EXPECT_TRUE(chunks[i].length > 0 && chunks[i].length < 8192) << chunks[i].length;
    }
    EXPECT_EQ("IEND", chunks[last].kind);
    EXPECT_EQ(0u, chunks[last].length);
}

TEST(EmbeddedPicture, DecodesTo256RowsOf768BytesOnBlack)
{
    ResetImageDecoders();
    EnablePngDecoder();
    DecodedImage image;
    ASSERT_EQ(1, OpenImage(EmbeddedPicture, EmbeddedPictureSize, &image));
    EXPECT_EQ(256, image.width);
    EXPECT_EQ(256, image.height);
    EXPECT_EQ(768, image.rowPitch);
    EXPECT_EQ(24, image.bitsPerPixel);
    EXPECT_EQ(0, image.bottomUp);
    // Black corners are transparent in the show; the middle is drawn.
    for (int corner : {0, 255 * 3, 255 * 768, 255 * 768 + 255 * 3})
        EXPECT_EQ(0, image.pixels[corner] | image.pixels[corner + 1] | image.pixels[corner + 2]);
    const uint8_t* middle = image.pixels + 128 * 768 + 128 * 3;
    EXPECT_GT(middle[0] + middle[1] + middle[2], 200);
    int drawn = 0;
    for (int i = 0; i < 256 * 256; i++) {
        const uint8_t* pixel = image.pixels + (i / 256) * 768 + (i % 256) * 3;
        drawn += (pixel[0] | pixel[1] | pixel[2]) != 0;
    }
    EXPECT_GT(drawn, 256 * 256 / 4);
    EXPECT_LT(drawn, 256 * 256 * 3 / 4);
    ReleaseDecodedImage(&image);
    ResetImageDecoders();
}

} // namespace
