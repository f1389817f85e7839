#include <gtest/gtest.h>
#include <math.h>
#include <string.h>

#include <vector>

#include "image/image.h"
#include "screen/pixels.h"
#include "screen/quad.h"

namespace {

const PixelLayout RGB565 = {16, PIXEL_FORMAT_565}, RGB555 = {16, PIXEL_FORMAT_555}, BGR32 = {32, PIXEL_FORMAT_BGR32};

DecodedImage Image(const std::vector<uint8_t>& rows, int32_t width, int32_t height, int32_t bits, int32_t pitch,
                   int32_t bottomUp = 0)
{
    return DecodedImage{rows.data(), width, height, bits, bottomUp, pitch, NULL};
}

// One source pixel of each depth into the 16-bit layouts the show's screen has.
TEST(Pixels, EverySourceDepthIntoTheScreensLayouts)
{
    const std::vector<uint8_t> white24 = {255, 255, 255, 0}, red32 = {0, 0, 255, 0x99};
    const std::vector<uint8_t> white555 = {0xFF, 0x7F, 0, 0}, green555 = {0x00, 0x02, 0, 0};
    const struct {
        const std::vector<uint8_t>* source;
        int32_t bits;
        PixelLayout layout;
        std::vector<uint8_t> written;
    } rows[] = {
        {&white24, 24, RGB565, {0xFF, 0xFF}},  {&white24, 24, RGB555, {0xFF, 0x7F}}, {&red32, 32, RGB565, {0x00, 0xF8}},
        {&red32, 32, RGB555, {0x00, 0x7C}},    {&white555, 16, RGB565, {0xDF, 0xFF}}, {&white555, 16, RGB555, {0xFF, 0x7F}},
        {&green555, 16, RGB565, {0x00, 0x04}},
    };
    for (const auto& row : rows) {
        DecodedImage image = Image(*row.source, 1, 1, row.bits, 4);
        std::vector<uint8_t> out(4, 0xAA);
        ASSERT_EQ(CopyImageToSurface(row.layout, &image, out.data(), 4), 1);
        out.resize(row.written.size());
        EXPECT_EQ(out, row.written) << row.bits << " bits into " << row.layout.depth << "/" << row.layout.code;
    }
    EXPECT_TRUE(FindPixelFormatCode(16, 0xF800, 0x07E0) == PIXEL_FORMAT_565 &&
                FindPixelFormatCode(16, 0x7C00, 0x03E0) == PIXEL_FORMAT_555);
    std::vector<uint8_t> out(4, 0);
    DecodedImage image = Image(white24, 1, 1, 24, 4);
    EXPECT_EQ(CopyImageToSurface({15, PIXEL_FORMAT_OTHER}, &image, out.data(), 4), 0);
    EXPECT_EQ(out[0], 0) << "a depth that cannot be written copies nothing";
}

// Three rows of three 24-bit pixels padded to 12 bytes; each pixel's first byte tells
// its stored row and column. Bottom-up rows land turned over; no write passes a row.
TEST(Pixels, RowOrderAndPaddedRows)
{
    std::vector<uint8_t> rows(36, 0xEE);
    for (int i = 0; i < 9; i++)
        memcpy(&rows[(size_t)(i / 3 * 12 + i % 3 * 3)], std::vector<uint8_t>{(uint8_t)(i / 3 * 16 + i % 3), 0, 0}.data(), 3);
    for (int32_t bottomUp : {0, 1}) {
        DecodedImage image = Image(rows, 3, 3, 24, 12, bottomUp);
        uint8_t out[3 * 16];
        memset(out, 0x77, sizeof out);
        CopyImageToSurface(BGR32, &image, out, 16);
        for (int y = 0; y < 3; y++) {
            for (int x = 0; x < 3; x++)
                EXPECT_EQ(out[y * 16 + x * 4], (bottomUp ? 2 - y : y) * 16 + x) << bottomUp << " " << x << "," << y;
            EXPECT_EQ(out[y * 16 + 12], 0x77) << "wrote past the row";
        }
    }
}

// About the centre of its current size, 1.575 radians a quarter turn: the corners come
// near the square's, not onto them.
TEST(Quad, TurnedAboutItsCentre)
{
    Quad quad = {};
    FillQuad(&quad, 64, 64);
    ResizeQuad(&quad, 100, 100);
    TurnQuad(&quad, 0, 1);
    const float corners[4][2] = {{100, 0}, {100, 100}, {0, 0}, {0, 100}};
    for (int i = 0; i < 4; i++)
        EXPECT_TRUE(fabsf(quad.vertices[i].x - corners[i][0]) < 1 && fabsf(quad.vertices[i].y - corners[i][1]) < 1) << i;
}

} // namespace
