#include <gtest/gtest.h>
#include <stdint.h>
#include <string.h>

#include <vector>

#include "image/image.h"
#include "screen/pixels.h"

namespace {

struct ScreenFormat {
    int32_t depth;
    int32_t code;
};

class PixelTest : public testing::Test {
protected:
    void SetUp() override
    {
        savedDepth = ScreenDepth;
        savedCode = PixelFormatCode;
    }
    void TearDown() override
    {
        ScreenDepth = savedDepth;
        PixelFormatCode = savedCode;
    }
    void Use(int32_t depth, int32_t code)
    {
        ScreenDepth = depth;
        PixelFormatCode = code;
    }
    int32_t savedDepth = 0, savedCode = 0;
};

// A source image over caller-owned rows.
DecodedImage Image(const std::vector<uint8_t>& rows, int32_t width, int32_t height, int32_t bits, int32_t bottomUp,
                   int32_t pitch)
{
    DecodedImage image = {};
    image.pixels = rows.data();
    image.width = width;
    image.height = height;
    image.bitsPerPixel = bits;
    image.bottomUp = bottomUp;
    image.rowPitch = pitch;
    return image;
}

uint32_t Word(const uint8_t* at)
{
    return (uint32_t)at[0] | ((uint32_t)at[1] << 8);
}

} // namespace

TEST(PixelFormat, CodeFromDepthAndMasks)
{
    EXPECT_EQ(FindPixelFormatCode(32, 0xFF, 0xFF00), PIXEL_FORMAT_RGB32);
    EXPECT_EQ(FindPixelFormatCode(32, 0xFF0000, 0xFF00), PIXEL_FORMAT_BGR32);
    EXPECT_EQ(FindPixelFormatCode(24, 0xFF, 0xFF00), PIXEL_FORMAT_RGB24);
    EXPECT_EQ(FindPixelFormatCode(24, 0xFF0000, 0xFF00), PIXEL_FORMAT_BGR24);
    EXPECT_EQ(FindPixelFormatCode(16, 0xF800, 0x07E0), PIXEL_FORMAT_565);
    EXPECT_EQ(FindPixelFormatCode(16, 0x7C00, 0x03E0), PIXEL_FORMAT_555);
    EXPECT_EQ(FindPixelFormatCode(8, 0, 0), PIXEL_FORMAT_OTHER);
    EXPECT_EQ(FindPixelFormatCode(15, 0x7C00, 0x03E0), PIXEL_FORMAT_OTHER);
}

TEST_F(PixelTest, PackColorInEveryFormat)
{
    Use(16, PIXEL_FORMAT_565);
    EXPECT_EQ(PackColor(0, 0, 0), 0u);
    EXPECT_EQ(PackColor(255, 255, 255), 0xFFFFu);
    EXPECT_EQ(PackColor(255, 0, 0), 0xF800u);
    EXPECT_EQ(PackColor(0, 255, 0), 0x07E0u);
    EXPECT_EQ(PackColor(0, 0, 255), 0x001Fu);
    EXPECT_EQ(PackColor(7, 3, 7), 0u); // divisions truncate
    Use(16, 0); // no lock yet: 5-6-5
    EXPECT_EQ(PackColor(255, 255, 255), 0xFFFFu);
    Use(16, PIXEL_FORMAT_555);
    EXPECT_EQ(PackColor(0, 0, 0), 0u);
    EXPECT_EQ(PackColor(255, 255, 255), 0x7FFFu);
    EXPECT_EQ(PackColor(255, 0, 0), 0x7C00u);
    EXPECT_EQ(PackColor(0, 255, 0), 0x03E0u);
    Use(15, PIXEL_FORMAT_OTHER);
    EXPECT_EQ(PackColor(255, 255, 255), 0x7FFFu);
    for (int32_t code : {PIXEL_FORMAT_RGB24, PIXEL_FORMAT_RGB32}) {
        Use(code == PIXEL_FORMAT_RGB24 ? 24 : 32, code);
        EXPECT_EQ(PackColor(0x11, 0x22, 0x33), 0x332211u) << code;
    }
    for (int32_t code : {PIXEL_FORMAT_BGR24, PIXEL_FORMAT_BGR32}) {
        Use(code == PIXEL_FORMAT_BGR24 ? 24 : 32, code);
        EXPECT_EQ(PackColor(0x11, 0x22, 0x33), 0x112233u) << code;
        EXPECT_EQ(PackColor(0, 0, 0), 0u) << code;
    }
    Use(8, PIXEL_FORMAT_OTHER);
    EXPECT_EQ(PackColor(255, 255, 255), 0u);
}

// White, red, green, blue as 24-bit blue-green-red source pixels.
static const uint8_t PRIMARIES24[] = {255, 255, 255, 0, 0, 255, 0, 255, 0, 255, 0, 0};

TEST_F(PixelTest, TrueColourSourcesOnSixteenBitScreens)
{
    for (int32_t bits : {24, 32}) {
        std::vector<uint8_t> rows(16, 0);
        for (int i = 0; i < 4; i++)
            memcpy(&rows[(size_t)i * (size_t)(bits / 8)], &PRIMARIES24[i * 3], 3);
        DecodedImage image = Image(rows, 4, 1, bits, 0, 16);
        uint8_t out[8];
        Use(16, PIXEL_FORMAT_565);
        ASSERT_EQ(CopyImageToSurface(&image, out, 8), 1);
        EXPECT_EQ(Word(out), 0xFFFFu) << bits;
        EXPECT_EQ(Word(out + 2), 0xF800u) << bits;
        EXPECT_EQ(Word(out + 4), 0x07E0u) << bits;
        EXPECT_EQ(Word(out + 6), 0x001Fu) << bits;
        Use(16, PIXEL_FORMAT_555);
        ASSERT_EQ(CopyImageToSurface(&image, out, 8), 1);
        EXPECT_EQ(Word(out), 0x7FFFu) << bits;
        EXPECT_EQ(Word(out + 2), 0x7C00u) << bits;
        EXPECT_EQ(Word(out + 4), 0x03E0u) << bits;
        EXPECT_EQ(Word(out + 6), 0x001Fu) << bits;
    }
}

TEST_F(PixelTest, SixteenBitSources)
{
    // 0x7FFF white, 0x7C00 red, 0x0200 a 5-5-5 green of 16.
    std::vector<uint8_t> rows = {0xFF, 0x7F, 0x00, 0x7C, 0x00, 0x02, 0, 0};
    DecodedImage image = Image(rows, 3, 1, 16, 0, 8);
    uint8_t out[12] = {};
    Use(16, PIXEL_FORMAT_565);
    CopyImageToSurface(&image, out, 6);
    EXPECT_EQ(Word(out), 0xFFDFu); // green's new low bit stays 0
    EXPECT_EQ(Word(out + 2), 0xF800u);
    EXPECT_EQ(Word(out + 4), 16u << 6);
    Use(16, PIXEL_FORMAT_555);
    CopyImageToSurface(&image, out, 6);
    EXPECT_EQ(Word(out), 0x7FFFu);
    EXPECT_EQ(Word(out + 2), 0x7C00u);
    Use(24, PIXEL_FORMAT_BGR24);
    CopyImageToSurface(&image, out, 9);
    const uint8_t bgr[9] = {0xF8, 0xF8, 0xF8, 0, 0, 0xF8, 0, 0x80, 0};
    EXPECT_EQ(memcmp(out, bgr, 9), 0);
    Use(32, PIXEL_FORMAT_RGB32);
    memset(out, 0xAA, sizeof out);
    CopyImageToSurface(&image, out, 12);
    const uint8_t rgbx[12] = {0xF8, 0xF8, 0xF8, 0, 0xF8, 0, 0, 0, 0, 0x80, 0, 0};
    EXPECT_EQ(memcmp(out, rgbx, 12), 0);
}

TEST_F(PixelTest, TrueColourScreensInBothByteOrders)
{
    std::vector<uint8_t> rows = {0x30, 0x20, 0x10, 0x99, 0x03, 0x02, 0x01, 0x99}; // 32-bit: fourth byte skipped
    DecodedImage image = Image(rows, 2, 1, 32, 0, 8);
    uint8_t out[8];
    struct Case {
        int32_t depth, code;
        uint8_t expected[8];
    } cases[] = {
        {24, PIXEL_FORMAT_RGB24, {0x10, 0x20, 0x30, 0x01, 0x02, 0x03}},
        {24, PIXEL_FORMAT_BGR24, {0x30, 0x20, 0x10, 0x03, 0x02, 0x01}},
        {32, PIXEL_FORMAT_RGB32, {0x10, 0x20, 0x30, 0, 0x01, 0x02, 0x03, 0}},
        {32, PIXEL_FORMAT_BGR32, {0x30, 0x20, 0x10, 0, 0x03, 0x02, 0x01, 0}},
    };
    for (const Case& c : cases) {
        Use(c.depth, c.code);
        memset(out, 0x55, sizeof out);
        ASSERT_EQ(CopyImageToSurface(&image, out, 8), 1);
        EXPECT_EQ(memcmp(out, c.expected, (size_t)(c.depth / 8 * 2)), 0) << c.code;
    }
}

// Three rows of three 24-bit pixels, each row padded to 12 bytes; the first byte of
// each pixel tells its stored row and column.
static std::vector<uint8_t> PaddedRows()
{
    std::vector<uint8_t> rows(36, 0xEE);
    for (int row = 0; row < 3; row++)
        for (int x = 0; x < 3; x++) {
            uint8_t* pixel = &rows[(size_t)(row * 12 + x * 3)];
            pixel[0] = (uint8_t)(row * 16 + x);
            pixel[1] = 0;
            pixel[2] = 0;
        }
    return rows;
}

TEST_F(PixelTest, RowOrderAndPaddedRows)
{
    std::vector<uint8_t> rows = PaddedRows();
    Use(32, PIXEL_FORMAT_BGR32);
    uint8_t out[3 * 16];
    for (int32_t bottomUp : {0, 1}) {
        DecodedImage image = Image(rows, 3, 3, 24, bottomUp, 12);
        memset(out, 0x77, sizeof out);
        CopyImageToSurface(&image, out, 16); // destination pitch wider than a row
        for (int row = 0; row < 3; row++) {
            int stored = bottomUp ? 2 - row : row;
            for (int x = 0; x < 3; x++)
                EXPECT_EQ(out[row * 16 + x * 4], stored * 16 + x) << bottomUp << " " << row << " " << x;
            EXPECT_EQ(out[row * 16 + 12], 0x77) << "wrote past the row";
        }
    }
}

TEST_F(PixelTest, EightBitImages)
{
    std::vector<uint8_t> rows = {1, 2, 3, 0xEE, 4, 5, 6, 0xEE};
    DecodedImage image = Image(rows, 3, 2, 8, 1, 4);
    uint8_t block[6];
    CopyImageToBlock(&image, block);
    const uint8_t topFirst[6] = {4, 5, 6, 1, 2, 3};
    EXPECT_EQ(memcmp(block, topFirst, 6), 0);

    Use(8, PIXEL_FORMAT_OTHER);
    uint8_t surface[10];
    memset(surface, 0, sizeof surface);
    ASSERT_EQ(CopyImageToSurface(&image, surface, 5), 1);
    const uint8_t onScreen[10] = {4, 5, 6, 0, 0, 1, 2, 3, 0, 0};
    EXPECT_EQ(memcmp(surface, onScreen, 10), 0);
}

TEST_F(PixelTest, UnwritableScreenDepthCopiesNothing)
{
    std::vector<uint8_t> rows(12, 0xFF);
    DecodedImage image = Image(rows, 1, 1, 24, 0, 4);
    uint8_t out[4] = {};
    Use(15, PIXEL_FORMAT_OTHER);
    EXPECT_EQ(CopyImageToSurface(&image, out, 4), 0);
    EXPECT_EQ(out[0], 0);
}
