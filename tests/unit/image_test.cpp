#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>

#include <string>

#include "app/picture.h"
#include "image/image.h"
#include "image/image_buffer.h"
#include "image/png_decoder.h"
#include "samples.h"

namespace {

int32_t Open(const Bytes& bytes, DecodedImage* image)
{
    return OpenImage(bytes.data(), bytes.size(), image);
}

// A BMP is used in place; one that is compressed, or whose rows would not lie within
// its bytes whatever its header says, gives no image.
TEST(Bmp, DescribedInPlaceOrRefused)
{
    const struct {
        int32_t width, height;
        uint16_t bits;
        int32_t pitch;
    } good[] = {{5, 3, 24, 16}, {3, 3, 16, 8}, {5, 3, 8, 8}, {7, 3, 32, 28}, {6, -4, 24, 20}};
    DecodedImage image;
    for (const auto& row : good) {
        Bytes bytes = MakeBmp({row.width, row.height, row.bits});
        ASSERT_EQ(Open(bytes, &image), 1) << row.width << " x " << row.height << " at " << row.bits;
        EXPECT_TRUE(image.rowPitch == row.pitch && image.height == abs(row.height)) << row.bits;
        EXPECT_EQ(image.bottomUp, row.height > 0);
        EXPECT_EQ(image.pixels, bytes.data() + (row.bits == 8 ? 1078 : 54)) << "used in place";
    }
    const struct {
        const char* what;
        size_t at;
        uint32_t value;
    } bad[] = {
        {"run-length coded", 30, 1}, {"bit fields", 30, 3}, {"4 bits", 28, 4}, {"48 bits", 28, 48},
        {"no width", 18, 0}, {"negative width", 18, 0xFFFFFFFC}, {"too wide", 18, IMAGE_MAX_SIDE + 1},
        {"too high", 22, IMAGE_MAX_SIDE + 1}, {"too high, top-down", 22, (uint32_t)-(IMAGE_MAX_SIDE + 1)},
        {"most negative height", 22, 0x80000000}, {"huge sides", 18, 0x7FFFFFFF}, {"pixels past the end", 10, 55},
        {"pixels far past the end", 10, 0xFFFFFFFF},
    };
    const Bytes bytes = MakeBmp({5, 3, 24});
    for (const auto& row : bad) {
        Bytes damaged = bytes;
        PutLittle(damaged, row.at, row.value, row.at == 28 ? 2 : 4);
        EXPECT_EQ(Open(damaged, &image), 0) << row.what;
    }
    for (size_t length = 0; length < bytes.size(); length++)
        EXPECT_EQ(OpenImage(bytes.data(), length, &image), 0) << "cut to " << length;
}

// A stand-in decoder that accepts anything and fills each row with its row number,
// noting its calls: probe 'p', decode 'd', discard '-'.
std::string Calls;
int32_t FakeSide = 5;
const ImageDecoder Fake = {
    [](FILE*, const void*, size_t, const char*) { Calls += 'p'; return 1; },
    [](uint8_t* buffer, int32_t pitch, int32_t) {
        Calls += 'd';
        for (int32_t row = 0; row < 2; row++)
            memset(buffer + row * pitch, row + 1, (size_t)FakeSide * 3);
        return 1;
    },
    []() { return FakeSide; },
    []() { return 2; },
    []() { Calls += '-'; },
};

TEST(ImageRegistry, DecodersInTurnAndUnusableImagesDiscarded)
{
    ResetImageDecoders();
    DecodedImage image;
    const char data[] = "ZARN!";
    EXPECT_EQ(OpenImage(data, sizeof data, &image), 0) << "nothing registered";
    EnablePngDecoder();
    RegisterImageDecoder(&Fake);
    Calls.clear();
    ASSERT_EQ(OpenImage(data, sizeof data, &image), 1) << "the PNG decoder refuses, the next one decodes";
    EXPECT_EQ(Calls, "pd");
    EXPECT_EQ(image.rowPitch, 16);
    EXPECT_EQ(ImageBufferSize(image.ownedBuffer), 48u) << "two rows and a spare one";
    EXPECT_EQ(image.pixels[14], 1);
    EXPECT_EQ(image.pixels[15], 0) << "padding is left alone";
    ReleaseDecodedImage(&image);
    for (int32_t side : {0, -1, IMAGE_MAX_SIDE + 1}) {
        Calls.clear();
        FakeSide = side;
        EXPECT_EQ(OpenImage(data, sizeof data, &image), 0) << side;
        EXPECT_EQ(Calls, "p-") << side;
    }
    FakeSide = 5;
    Calls.clear();
    EXPECT_EQ(Open(MakeBmp({4, 4, 16, 1}), &image), 0) << "a damaged BMP";
    EXPECT_EQ(Calls, "") << "data that starts like a BMP never reaches the decoders";
    static const ImageDecoder Late = Fake;
    for (int i = 2; i < IMAGE_DECODER_ROOM; i++)
        RegisterImageDecoder(&Fake);
    RegisterImageDecoder(&Late);
    EXPECT_EQ(IsImageDecoderRegistered(&Late), 0) << "a full registry takes no more";
    ResetImageDecoders();
}

// The same picture in every colour type, bit depth, transparency and interlacing gives
// the same 24-bit rows. Its samples are each channel's ends, which every depth holds
// exactly; the PngSuite comparison checks the values between.
TEST(Png, EveryFormatGivesTheSameRows)
{
    const struct {
        int colorType, depth;
        Bytes transparency;
    } formats[] = {
        {0, 1, {}}, {0, 2, {0, 3}}, {0, 4, {}}, {0, 8, {0, 0}}, {0, 16, {}}, {2, 8, {0, 0, 0, 255, 0, 0}},
        {2, 16, {}}, {3, 1, {}}, {3, 2, {}}, {3, 4, {0, 128, 255}}, {3, 8, {}}, {4, 8, {}}, {4, 16, {}},
        {6, 8, {}}, {6, 16, {}},
    };
    Bytes palette;
    for (int k = 0; k < 256; k++)
        palette.insert(palette.end(), {(uint8_t)(k & 1 ? 255 : 0), (uint8_t)(k & 2 ? 255 : 0), (uint8_t)(k & 4 ? 255 : 0)});
    ResetImageDecoders();
    EnablePngDecoder();
    for (const auto& format : formats) {
        const bool gray = format.colorType == 0 || format.colorType == 4;
        const unsigned top = (1u << format.depth) - 1;
        // Colour k of a pixel: bit 0 red, 1 green, 2 blue; gray pictures are black and white.
        auto colour = [&](int x, int y) { return (x + 2 * y + x * y) % (gray ? 2 : format.depth < 3 ? 1 << format.depth : 8); };
        auto sample = [&](int x, int y, int channel) -> unsigned {
            int k = colour(x, y);
            if (format.colorType == 3)
                return (unsigned)k;
            if (channel == (gray ? 1 : 3))
                return (unsigned)(x * 37) & top; // alpha, dropped
            return (gray ? k : k >> channel & 1) ? top : 0;
        };
        Bytes entries(palette.begin(), palette.begin() + (format.colorType == 3 ? 3 << format.depth : 0));
        for (bool interlaced : {false, true}) {
            SCOPED_TRACE(testing::Message() << "colour type " << format.colorType << ", " << format.depth
                                            << " bits, interlaced " << interlaced);
            DecodedImage image;
            ASSERT_EQ(Open(MakePng(13, 9, {format.colorType, format.depth, interlaced, entries, format.transparency},
                                   sample), &image), 1);
            EXPECT_TRUE(image.bitsPerPixel == 24 && !image.bottomUp && image.rowPitch == 40);
            for (int i = 0; i < 13 * 9; i++) {
                int k = gray ? colour(i % 13, i / 13) * 7 : colour(i % 13, i / 13);
                const uint8_t bgr[3] = {(uint8_t)(k & 4 ? 255 : 0), (uint8_t)(k & 2 ? 255 : 0), (uint8_t)(k & 1 ? 255 : 0)};
                ASSERT_EQ(memcmp(image.pixels + i / 13 * 40 + i % 13 * 3, bgr, 3), 0) << "pixel " << i;
            }
            ReleaseDecodedImage(&image);
        }
    }
    ResetImageDecoders();
}

Bytes RedPng(int width, int height)
{
    return MakePng(width, height, {2, 8, false, {}, {}}, [](int, int, int channel) { return channel ? 0u : 255u; });
}

TEST(Png, DamagedShortAndAbsurdData)
{
    ResetImageDecoders();
    EnablePngDecoder();
    const Bytes good = RedPng(8, 8);
    Bytes signature = good, header = good;
    signature[1] = 'Q';
    header[20] ^= 0x40; // inside IHDR: its CRC no longer matches
    DecodedImage image;
    for (const Bytes& bytes : {signature, header, Bytes(good.begin(), good.begin() + 7),
                               Bytes(good.begin(), good.begin() + 40), RedPng(IMAGE_MAX_SIDE + 1, 1)})
        EXPECT_EQ(Open(bytes, &image), 0) << "damaged, short or absurd data of " << bytes.size() << " bytes";
    // Cut inside the image data: the picture's size is known, rows not read are black.
    ASSERT_EQ(Open(Bytes(good.begin(), good.end() - 20), &image), 1);
    EXPECT_EQ(image.pixels[7 * image.rowPitch + 23], 0);
    ReleaseDecodedImage(&image);

    // A file is probed from its start, decoded, and closed once decoded.
    const char* name = "png_file_probe.png";
    WriteFileBytes(name, good);
    ASSERT_EQ(FindImageDecoder(name, NULL, 0), 1);
    uint8_t rows[8 * 28];
    memset(rows, 0xAA, sizeof rows);
    RunImageDecoder(rows, 28, 0);
    EXPECT_EQ(rows[7 * 28 + 2], 255);
    EXPECT_EQ(rows[7 * 28 + 24], 0xAA) << "only each row's pixels are written";
    EXPECT_EQ(remove(name), 0) << "the file was left open";
    ResetImageDecoders();
}

TEST(EmbeddedPicture, DecodesTo256RowsOnBlack)
{
    ResetImageDecoders();
    EnablePngDecoder();
    DecodedImage image;
    ASSERT_EQ(OpenImage(EmbeddedPicture, EmbeddedPictureSize, &image), 1);
    EXPECT_TRUE(image.width == 256 && image.height == 256 && image.rowPitch == 768);
    int drawn = 0;
    for (int i = 0; i < 256 * 256; i++)
        drawn += (image.pixels[i * 3] | image.pixels[i * 3 + 1] | image.pixels[i * 3 + 2]) != 0;
    EXPECT_EQ(image.pixels[0] | image.pixels[767], 0) << "black corners: transparent in the show";
    EXPECT_TRUE(drawn > 256 * 256 / 4 && drawn < 256 * 256 * 3 / 4) << drawn;
    ReleaseDecodedImage(&image);
    ResetImageDecoders();
}

} // namespace
