#include <gtest/gtest.h>

#include "bmp_sample.h"
#include "fake_decoders.h"
#include "image/image.h"

namespace {

DecodedImage Open(const std::vector<uint8_t>& bytes, int32_t* result)
{
    DecodedImage image;
    memset(&image, 0x5A, sizeof image);
    *result = OpenImage(bytes.data(), bytes.size(), &image);
    return image;
}

TEST(BmpImage, DescribedInPlaceWithRoundedRowPitch)
{
    struct { int32_t width; uint16_t bits; int32_t pitch; } cases[] = {
        {5, 24, 16}, {3, 16, 8}, {5, 8, 8}, {7, 32, 28}, {4, 24, 12}, {1, 8, 4}, {2, 16, 4},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> bytes = MakeBmp({c.width, 3, c.bits});
        int32_t result = 0;
        DecodedImage image = Open(bytes, &result);
        SCOPED_TRACE(testing::Message() << c.width << " px at " << c.bits << " bits");
        ASSERT_EQ(1, result);
        EXPECT_EQ(c.pitch, image.rowPitch);
        EXPECT_EQ(c.width, image.width);
        EXPECT_EQ(3, image.height);
        EXPECT_EQ(c.bits, image.bitsPerPixel);
        EXPECT_EQ(1, image.bottomUp);
        EXPECT_EQ(bytes.data() + (c.bits == 8 ? 1078 : 54), image.pixels);
        EXPECT_EQ(nullptr, image.ownedBuffer);
        ReleaseDecodedImage(&image);
    }
}

TEST(BmpImage, TopDownBmpIsTopRowFirst)
{
    std::vector<uint8_t> bytes = MakeBmp({6, -4, 24});
    int32_t result = 0;
    DecodedImage image = Open(bytes, &result);
    ASSERT_EQ(1, result);
    EXPECT_EQ(4, image.height);
    EXPECT_EQ(0, image.bottomUp);
    EXPECT_EQ(20, image.rowPitch);
}

TEST(BmpImage, CompressedOrOddDepthGivesNoImage)
{
    for (uint32_t compression : {1u, 2u, 3u, 4u, 5u}) {
        int32_t result = 1;
        Open(MakeBmp({4, 4, 8, compression}), &result);
        EXPECT_EQ(0, result) << "compression " << compression;
    }
    for (uint16_t bits : {0, 1, 4, 15, 48}) {
        int32_t result = 1;
        std::vector<uint8_t> bytes = MakeBmp({4, 4, 24});
        PutLittle(bytes, 28, bits, 2);
        Open(bytes, &result);
        EXPECT_EQ(0, result) << bits << " bits";
    }
}

TEST(BmpImage, SizesOutsideTheSupportedRangeGiveNoImage)
{
    struct { int32_t width, height; } cases[] = {
        {0, 4}, {4, 0}, {-4, 4}, {IMAGE_MAX_SIDE + 1, 1}, {1, IMAGE_MAX_SIDE + 1},
        {1, -(IMAGE_MAX_SIDE + 1)}, {INT32_MIN, 1}, {1, INT32_MIN}, {INT32_MAX, INT32_MAX},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> bytes = MakeBmp({2, 2, 32});
        PutLittle(bytes, 18, (uint32_t)c.width, 4);
        PutLittle(bytes, 22, (uint32_t)c.height, 4);
        bytes.resize(bytes.size() + 4096, 0);
        int32_t result = 1;
        Open(bytes, &result);
        EXPECT_EQ(0, result) << c.width << " x " << c.height;
    }
}

TEST(BmpImage, RowsOrHeaderBeyondTheBlockGiveNoImage)
{
    std::vector<uint8_t> bytes = MakeBmp({5, 3, 24});
    int32_t result = 0;
    for (size_t length = 0; length < bytes.size(); length++) {
        DecodedImage image;
        EXPECT_EQ(0, OpenImage(bytes.data(), length, &image)) << "length " << length;
        EXPECT_EQ(nullptr, image.pixels);
    }
    Open(bytes, &result);
    EXPECT_EQ(1, result);

    for (uint32_t offset : {55u, 100u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        std::vector<uint8_t> moved = bytes;
        PutLittle(moved, 10, offset, 4);
        Open(moved, &result);
        EXPECT_EQ(0, result) << "offset " << offset;
    }
}

TEST(BmpImage, BmpNeverReachesTheDecoders)
{
    ResetImageDecoders();
    RegisterImageDecoder(&FakeDecoder<'g', true>);
    Log = FakeLog();
    int32_t result = 1;
    Open(MakeBmp({4, 4, 16, 1}), &result);
    EXPECT_EQ(0, result);
    Open(MakeBmp({4, 4, 16}), &result);
    EXPECT_EQ(1, result);
    EXPECT_EQ("", Log.calls);
    ResetImageDecoders();
}

} // namespace
