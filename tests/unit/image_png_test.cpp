#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include <string.h>
#include <zlib.h>

#include "fake_decoders.h"
#include "image/image.h"
#include "image/image_buffer.h"
#include "image/png_decoder.h"
#include "png_sample.h"

namespace {

class PngImage : public testing::Test {
protected:
    void SetUp() override
    {
        ResetImageDecoders();
        EnablePngDecoder();
    }
    void TearDown() override { ResetImageDecoders(); }
};

// The decoded rows without their padding, or an empty vector for no image.
std::vector<uint8_t> DecodeRows(const std::vector<uint8_t>& file, DecodedImage* seen = NULL)
{
    DecodedImage image;
    if (!OpenImage(file.data(), file.size(), &image))
        return {};
    std::vector<uint8_t> rows;
    for (int32_t y = 0; y < image.height; y++)
        rows.insert(rows.end(), image.pixels + y * image.rowPitch, image.pixels + y * image.rowPitch + image.width * 3);
    if (seen)
        *seen = image;
    ReleaseDecodedImage(&image);
    return rows;
}

struct Format {
    int colorType;
    int depths[5];
    bool transparencyAllowed;
};

const Format Formats[] = {
    {PNG_COLOR_TYPE_GRAY, {1, 2, 4, 8, 16}, true},
    {PNG_COLOR_TYPE_RGB, {8, 16}, true},
    {PNG_COLOR_TYPE_PALETTE, {1, 2, 4, 8}, true},
    {PNG_COLOR_TYPE_GRAY_ALPHA, {8, 16}, false},
    {PNG_COLOR_TYPE_RGB_ALPHA, {8, 16}, false},
};

TEST_F(PngImage, EveryColourTypeDepthAndInterlacingGivesTheSame24BitRows)
{
    const int width = 13, height = 9;
    int decoded = 0;
    for (const Format& format : Formats) {
        for (int depth : format.depths) {
            if (depth == 0)
                continue;
            for (int transparency = 0; transparency <= (format.transparencyAllowed ? 1 : 0); transparency++) {
                std::vector<uint8_t> plain;
                for (bool interlaced : {false, true}) {
                    PngFormat png = {format.colorType, depth, interlaced, transparency == 1};
                    SCOPED_TRACE(testing::Message() << "colour type " << format.colorType << ", " << depth
                                                    << " bits, interlaced " << interlaced << ", tRNS "
                                                    << transparency);
                    PngSample sample = MakePngSample(width, height, png);
                    DecodedImage image;
                    std::vector<uint8_t> rows = DecodeRows(sample.file, &image);
                    ASSERT_EQ(sample.expected.size(), rows.size());
                    EXPECT_EQ(width, image.width);
                    EXPECT_EQ(height, image.height);
                    EXPECT_EQ(24, image.bitsPerPixel);
                    EXPECT_EQ(0, image.bottomUp);
                    EXPECT_EQ(40, image.rowPitch);
                    EXPECT_TRUE(sample.expected == rows);
                    if (interlaced)
                        EXPECT_TRUE(plain == rows) << "interlaced equals not interlaced";
                    else
                        plain = rows;
                    decoded++;
                }
            }
        }
    }
    EXPECT_EQ(2 * (5 * 2 + 2 * 2 + 4 * 2 + 2 + 2), decoded);
}

TEST_F(PngImage, AnyFormatDecodesLikeTheSamePictureIn8BitRgb)
{
    const int width = 6, height = 5;
    // The expected rows of a 16-bit RGBA picture, written again as 8-bit RGB.
    PngSample wide = MakePngSample(width, height, {PNG_COLOR_TYPE_RGB_ALPHA, 16, true, false});
    std::vector<std::vector<uint8_t>> rgbRows;
    for (int y = 0; y < height; y++) {
        std::vector<uint8_t> row;
        for (int x = 0; x < width; x++) {
            const uint8_t* bgr = &wide.expected[(y * width + x) * 3];
            row.insert(row.end(), {bgr[2], bgr[1], bgr[0]});
        }
        rgbRows.push_back(row);
    }
    std::vector<uint8_t> rgb = WritePng(width, height, {PNG_COLOR_TYPE_RGB, 8, false, false}, rgbRows, {}, {}, NULL);
    std::vector<uint8_t> fromRgb = DecodeRows(rgb);
    ASSERT_FALSE(fromRgb.empty());
    EXPECT_TRUE(fromRgb == DecodeRows(wide.file));
}

TEST_F(PngImage, OneBitGrayIsBlackAndWhite)
{
    PngSample sample = MakePngSample(17, 3, {PNG_COLOR_TYPE_GRAY, 1, false, false});
    std::vector<uint8_t> rows = DecodeRows(sample.file);
    ASSERT_EQ(17u * 3 * 3, rows.size());
    int black = 0, white = 0;
    for (uint8_t value : rows) {
        black += value == 0;
        white += value == 255;
    }
    EXPECT_EQ(rows.size(), (size_t)(black + white));
    EXPECT_GT(black, 0);
    EXPECT_GT(white, 0);
}

TEST_F(PngImage, DecoderWritesOnlyThePixelBytesOfEachRow)
{
    PngSample sample = MakePngSample(5, 2, {PNG_COLOR_TYPE_PALETTE, 2, true, true});
    DecodedImage image;
    ASSERT_EQ(1, OpenImage(sample.file.data(), sample.file.size(), &image));
    EXPECT_EQ(16, image.rowPitch);
    EXPECT_EQ(48u, ImageBufferSize(image.ownedBuffer)) << "two rows and a spare one";
    ReleaseDecodedImage(&image);

    ASSERT_EQ(1, FindImageDecoder(NULL, sample.file.data(), sample.file.size()));
    EXPECT_EQ(5, ImageDecoderWidth());
    EXPECT_EQ(2, ImageDecoderHeight());
    uint8_t buffer[48];
    memset(buffer, 0xAA, sizeof buffer);
    EXPECT_EQ(1, RunImageDecoder(buffer, 16, 0));
    EXPECT_EQ(0, memcmp(buffer, sample.expected.data(), 15));
    EXPECT_EQ(0, memcmp(buffer + 16, sample.expected.data() + 15, 15));
    EXPECT_EQ(0xAA, buffer[15]);
    EXPECT_EQ(0xAA, buffer[31]);
    for (int i = 32; i < 48; i++)
        EXPECT_EQ(0xAA, buffer[i]);
}

TEST_F(PngImage, RegisteredOnceAndOnlyWhenEnabled)
{
    PngSample sample = MakePngSample(4, 4, {PNG_COLOR_TYPE_RGB, 8, false, false});
    ResetImageDecoders();
    EXPECT_TRUE(DecodeRows(sample.file).empty()) << "no decoder before EnablePngDecoder";

    EnablePngDecoder();
    EnablePngDecoder();
    // With the PNG decoder in one slot, the rest of the room takes 99 more.
    for (int i = 1; i < IMAGE_DECODER_ROOM - 1; i++)
        RegisterImageDecoder(&FakeDecoder<'l', false>);
    RegisterImageDecoder(&FakeDecoder<'z', false>);
    EXPECT_EQ(1, IsImageDecoderRegistered(&FakeDecoder<'z', false>));
    Log = FakeLog();
    const char notPng[] = "GIF89a, not a PNG at all";
    DecodedImage image;
    EXPECT_EQ(0, OpenImage(notPng, sizeof notPng, &image));
    EXPECT_EQ(std::string(IMAGE_DECODER_ROOM - 2, 'l') + "z", Log.calls);
    EXPECT_EQ(sample.expected, DecodeRows(sample.file));
}

TEST_F(PngImage, AFileIsProbedFromItsStartAndDecoded)
{
    PngSample sample = MakePngSample(7, 6, {PNG_COLOR_TYPE_GRAY_ALPHA, 16, true, false});
    const char* name = "png_file_probe.png";
    FILE* file = fopen(name, "wb");
    ASSERT_NE(nullptr, file);
    fwrite(sample.file.data(), 1, sample.file.size(), file);
    fclose(file);
    ASSERT_EQ(1, FindImageDecoder(name, NULL, 0));
    ASSERT_EQ(7, ImageDecoderWidth());
    ASSERT_EQ(6, ImageDecoderHeight());
    std::vector<uint8_t> buffer(24 * 7, 0);
    RunImageDecoder(buffer.data(), 24, 0);
    for (int y = 0; y < 6; y++)
        EXPECT_EQ(0, memcmp(&buffer[y * 24], &sample.expected[y * 21], 21)) << "row " << y;
#ifdef _WIN32
    // Windows refuses to delete a file that is still open.
    EXPECT_TRUE(DeleteFileA(name)) << "the file is closed after the decode";
#else
    remove(name);
#endif
}

TEST_F(PngImage, DamagedOrShortDataGivesNoImageOrTheRowsReadSoFar)
{
    PngSample sample = MakePngSample(8, 8, {PNG_COLOR_TYPE_RGB, 8, false, false});
    std::vector<uint8_t> damaged = sample.file;
    damaged[1] = 'Q';
    EXPECT_TRUE(DecodeRows(damaged).empty());
    damaged = sample.file;
    damaged[20] ^= 0x40; // inside IHDR: its CRC no longer matches
    EXPECT_TRUE(DecodeRows(damaged).empty());
    EXPECT_TRUE(DecodeRows(std::vector<uint8_t>(sample.file.begin(), sample.file.begin() + 7)).empty());
    EXPECT_TRUE(DecodeRows(std::vector<uint8_t>(sample.file.begin(), sample.file.begin() + 40)).empty());

    // Cut inside the image data: the picture's size is known, rows not read are black.
    std::vector<uint8_t> cut(sample.file.begin(), sample.file.end() - 40);
    std::vector<uint8_t> rows = DecodeRows(cut);
    ASSERT_EQ(sample.expected.size(), rows.size());
    EXPECT_EQ(0, rows.back());
}

TEST_F(PngImage, AbsurdSizeIsRefusedByTheProbe)
{
    PngSample sample = MakePngSample(4, 4, {PNG_COLOR_TYPE_RGB, 8, false, false});
    std::vector<uint8_t> huge = sample.file;
    // IHDR width 40000, with its CRC put right so that only the size is at fault.
    huge[16] = 0;
    huge[17] = 0;
    huge[18] = 0x9C;
    huge[19] = 0x40;
    uLong fixed = crc32(0, &huge[12], 17);
    huge[29] = (uint8_t)(fixed >> 24);
    huge[30] = (uint8_t)(fixed >> 16);
    huge[31] = (uint8_t)(fixed >> 8);
    huge[32] = (uint8_t)fixed;
    EXPECT_EQ(0, FindImageDecoder(NULL, huge.data(), huge.size()));
}

} // namespace
