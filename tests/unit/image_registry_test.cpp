#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include <string>
#include <vector>

#include "fake_decoders.h"
#include "image/image.h"
#include "image/image_buffer.h"

namespace {

const ImageDecoder& Refusing = FakeDecoder<'r', false>;
const ImageDecoder& First = FakeDecoder<'a', true>;
const ImageDecoder& Second = FakeDecoder<'b', true>;

class ImageRegistry : public testing::Test {
protected:
    void SetUp() override
    {
        ResetImageDecoders();
        Log = FakeLog();
    }
    void TearDown() override { ResetImageDecoders(); }
    const char data[6] = "ZARN!";
};

TEST_F(ImageRegistry, NothingRegisteredGivesNoImage)
{
    DecodedImage image;
    EXPECT_EQ(0, OpenImage(data, sizeof data, &image));
    EXPECT_EQ(nullptr, image.pixels);
    EXPECT_EQ(0, OpenImage(NULL, 10, &image));
    EXPECT_EQ(0, FindImageDecoder(NULL, data, sizeof data));
}

TEST_F(ImageRegistry, FirstAcceptingDecoderInRegistrationOrderDecodes)
{
    RegisterImageDecoder(&Refusing);
    RegisterImageDecoder(&First);
    RegisterImageDecoder(&Second);
    DecodedImage image;
    ASSERT_EQ(1, OpenImage(data, sizeof data, &image));
    EXPECT_EQ("raA", Log.calls);
    EXPECT_EQ(5, image.width);
    EXPECT_EQ(2, image.height);
    EXPECT_EQ(24, image.bitsPerPixel);
    EXPECT_EQ(0, image.bottomUp);
    EXPECT_EQ(16, image.rowPitch);
    ASSERT_NE(nullptr, image.ownedBuffer);
    EXPECT_EQ(image.ownedBuffer, (void*)image.pixels);
    EXPECT_EQ(48u, ImageBufferSize(image.ownedBuffer));
    EXPECT_EQ('a', image.pixels[0]);
    EXPECT_EQ('a', image.pixels[14]);
    EXPECT_EQ(0, image.pixels[15]) << "padding is left alone";
    EXPECT_EQ('a' + 1, image.pixels[16]);
    ReleaseDecodedImage(&image);
    EXPECT_EQ(nullptr, image.ownedBuffer);
}

TEST_F(ImageRegistry, OnlyRegisteredDecodersAreFoundAndRoomIsBounded)
{
    EXPECT_EQ(0, IsImageDecoderRegistered(&First));
    RegisterImageDecoder(&Refusing);
    EXPECT_EQ(1, IsImageDecoderRegistered(&Refusing));
    EXPECT_EQ(0, IsImageDecoderRegistered(&First));
    for (int i = 1; i < IMAGE_DECODER_ROOM; i++)
        RegisterImageDecoder(&Refusing);
    RegisterImageDecoder(&First);
    EXPECT_EQ(0, IsImageDecoderRegistered(&First)) << "a full registry takes no more";
    EXPECT_EQ(0, FindImageDecoder(NULL, data, sizeof data));
    EXPECT_EQ((size_t)IMAGE_DECODER_ROOM, Log.calls.size());
}

TEST_F(ImageRegistry, UnusableSizeDiscardsTheDecodersImage)
{
    RegisterImageDecoder(&First);
    DecodedImage image;
    for (int32_t side : {0, -1, IMAGE_MAX_SIDE + 1}) {
        Log.calls.clear();
        Log.width = side;
        EXPECT_EQ(0, OpenImage(data, sizeof data, &image)) << side;
        EXPECT_EQ("a-", Log.calls);
    }
    Log.width = 3;
    Log.height = INT32_MAX;
    Log.calls.clear();
    EXPECT_EQ(0, OpenImage(data, sizeof data, &image));
    EXPECT_EQ("a-", Log.calls);
}

TEST_F(ImageRegistry, FileProbeStartsAtTheTopAndTheFileIsClosedAfterDecoding)
{
    const char* name = "registry_probe.bin";
    FILE* file = fopen(name, "wb");
    ASSERT_NE(nullptr, file);
    fputs("some image bytes", file);
    fclose(file);
    RegisterImageDecoder(&Refusing);
    RegisterImageDecoder(&Second);
    ASSERT_EQ(1, FindImageDecoder(name, NULL, 0));
    EXPECT_EQ(0, Log.filePosition);
#ifdef _WIN32
    // Windows refuses to delete a file that is still open.
    EXPECT_FALSE(DeleteFileA(name)) << "the probe file stays open until the decode";
#endif
    std::vector<uint8_t> buffer(16 * 3, 0);
    RunImageDecoder(buffer.data(), 16, 0);
    EXPECT_EQ("rbB", Log.calls);
#ifdef _WIN32
    EXPECT_TRUE(DeleteFileA(name));
#else
    remove(name);
#endif
    EXPECT_EQ(0, FindImageDecoder("no such file here.bin", NULL, 0));
}

} // namespace
