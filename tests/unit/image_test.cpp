#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>

#include <string>

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
// its bytes whatever its header says, gives no image (the guarded sweep cuts it short).
TEST(Bmp, DescribedInPlaceOrRefused)
{
    const int32_t good[][4] = {{5, 3, 24, 16}, {3, 3, 16, 8}, {5, 3, 8, 8}, {7, 3, 32, 28}, {6, -4, 24, 20}};
    DecodedImage image;
    for (const auto& row : good) {
        Bytes bytes = MakeBmp({row[0], row[1], (uint16_t)row[2]});
        ASSERT_EQ(Open(bytes, &image), 1) << row[0] << " x " << row[1] << " at " << row[2];
        EXPECT_TRUE(image.rowPitch == row[3] && image.height == abs(row[1]) && image.bottomUp == (row[1] > 0));
        EXPECT_EQ(image.pixels, bytes.data() + (row[2] == 8 ? 1078 : 54)) << "used in place";
    }
    const uint32_t bad[][2] = {{30, 1}, {30, 3}, {28, 4}, {28, 48}, {18, 0}, {18, 0xFFFFFFFC}, {18, IMAGE_MAX_SIDE + 1},
                               {22, IMAGE_MAX_SIDE + 1}, {22, (uint32_t)-(IMAGE_MAX_SIDE + 1)}, {22, 0x80000000},
                               {18, 0x7FFFFFFF}, {10, 55}, {10, 0xFFFFFFFF}};
    const Bytes bytes = MakeBmp({5, 3, 24});
    for (const auto& row : bad) {
        Bytes damaged = bytes;
        PutLittle(damaged, row[0], row[1], row[0] == 28 ? 2 : 4);
        EXPECT_EQ(Open(damaged, &image), 0) << "field at " << row[0] << " holding " << row[1];
    }
}

// A stand-in decoder that accepts anything, notes its calls (probe 'p', decode 'd',
// discard '-') and fills two rows of FakeSide pixels.
std::string Calls;
int32_t FakeSide = 5;
const ImageDecoder Fake = {
    [](FILE*, const void*, size_t, const char*) { Calls += 'p'; return 1; },
    [](uint8_t* rows, int32_t pitch, int32_t) { Calls += 'd'; memset(rows, 1, (size_t)pitch + FakeSide * 3); return 1; },
    []() { return FakeSide; },
    []() { return 2; },
    []() { Calls += '-'; },
};

TEST(ImageRegistry, DecodersInTurnAndUnusableImagesDiscarded)
{
    ResetImageDecoders();
    DecodedImage image;
    const Bytes data = {'Z', 'A', 'R', 'N', '!', 0, 0, 0, 0};
    EXPECT_EQ(Open(data, &image), 0) << "nothing registered";
    EnablePngDecoder();
    RegisterImageDecoder(&Fake);
    ASSERT_EQ(Open(data, &image), 1) << "the PNG decoder refuses, the next one decodes";
    EXPECT_EQ(ImageBufferSize(image.ownedBuffer), 48u) << "two rows of 16 bytes and a spare one";
    ReleaseDecodedImage(&image);
    for (int32_t side : {0, -1, IMAGE_MAX_SIDE + 1}) {
        FakeSide = side;
        EXPECT_EQ(Open(data, &image), 0) << side;
    }
    EXPECT_EQ(Calls, "pdp-p-p-") << "an image that cannot be had is discarded";
    EXPECT_EQ(Open(MakeBmp({4, 4, 16, 1}), &image), 0);
    EXPECT_EQ(Calls, "pdp-p-p-") << "data that starts like a BMP never reaches the decoders";
    static const ImageDecoder Late = Fake;
    for (int i = 2; i <= IMAGE_DECODER_ROOM; i++)
        RegisterImageDecoder(i < IMAGE_DECODER_ROOM ? &Fake : &Late);
    EXPECT_EQ(IsImageDecoderRegistered(&Late), 0) << "a full registry takes no more";
    ResetImageDecoders();
}

} // namespace
