#include <gtest/gtest.h>
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <png.h>
#include <zlib.h>

#include <vector>

#include "app/picture.h"
#include "bmp_sample.h"
#include "image/image.h"
#include "image/png_decoder.h"

namespace {

// Image bytes placed so that they end exactly where a no-access page begins: any
// read past the block faults and ends the test program.
struct GuardedRegion {
    uint8_t* base = NULL;
    size_t room = 0;
};

GuardedRegion MakeGuardedRegion(size_t largest)
{
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    size_t page = system.dwPageSize;
    GuardedRegion region;
    region.room = (largest + page - 1) / page * page;
    region.base = (uint8_t*)VirtualAlloc(NULL, region.room + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    DWORD old = 0;
    if (!region.base || !VirtualProtect(region.base + region.room, page, PAGE_NOACCESS, &old))
        region.base = NULL;
    return region;
}

const uint8_t* PlaceAtGuard(const GuardedRegion& region, const uint8_t* bytes, size_t length)
{
    uint8_t* at = region.base + region.room - length;
    memcpy(at, bytes, length);
    return at;
}

// Opens the image and, when it lies in the caller's bytes, reads every byte its rows
// are said to hold, as the sprite code does.
int32_t OpenAndTouch(const uint8_t* data, size_t length)
{
    DecodedImage image;
    int32_t result = OpenImage(data, length, &image);
    if (result) {
        EXPECT_TRUE(image.ownedBuffer || (image.pixels >= data && image.pixels < data + length));
        EXPECT_GT(image.width, 0);
        EXPECT_GT(image.height, 0);
        EXPECT_LE(image.width, IMAGE_MAX_SIDE);
        EXPECT_LE(image.height, IMAGE_MAX_SIDE);
        volatile uint32_t sum = 0;
        size_t rowBytes = (size_t)image.width * image.bitsPerPixel / 8;
        for (int32_t y = 0; !image.ownedBuffer && y < image.height; y++)
            for (size_t i = 0; i < rowBytes; i++)
                sum = sum + image.pixels[(size_t)y * image.rowPitch + i];
        ReleaseDecodedImage(&image);
    }
    return result;
}

// libpng reports every damaged chunk on the error stream. The sweep closes it for a
// while: a write to a closed stream fails at once, where each written line would
// cost Wine a round trip to its server.
struct QuietErrors {
    int saved;
    QuietErrors()
    {
        fflush(stderr);
        saved = _dup(2);
        _close(2);
    }
    ~QuietErrors()
    {
        fflush(stderr);
        _dup2(saved, 2);
        _close(saved);
    }
};

// After a change inside a chunk's type or data, give it a matching CRC again so the
// damage reaches the parsers instead of stopping at the CRC check.
void MendCrc(std::vector<uint8_t>& png, size_t changed)
{
    size_t at = 8;
    while (at + 12 <= png.size()) {
        uint32_t length = png_get_uint_32(&png[at]);
        if (length > png.size() - at - 12)
            return;
        if (changed >= at + 4 && changed < at + 8 + length) {
            uint32_t crc = (uint32_t)crc32(0, &png[at + 4], length + 4);
            for (int i = 0; i < 4; i++)
                png[at + 8 + length + i] = (uint8_t)(crc >> (24 - 8 * i));
            return;
        }
        at += 12 + length;
    }
}

// A read of the guard page ends the test program at once with a message, instead of
// waiting in Wine's debugger.
LONG WINAPI ReportFault(EXCEPTION_POINTERS* fault)
{
    printf("\nFault %08lX at %p: the image code read outside its block\n",
        fault->ExceptionRecord->ExceptionCode, fault->ExceptionRecord->ExceptionAddress);
    fflush(stdout);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

class GuardedImage : public testing::Test {
protected:
    void SetUp() override
    {
        SetUnhandledExceptionFilter(ReportFault);
        ResetImageDecoders();
        EnablePngDecoder();
    }
    void TearDown() override { ResetImageDecoders(); }
};

TEST_F(GuardedImage, TheGuardPageIsNoAccess)
{
    GuardedRegion region = MakeGuardedRegion(100);
    ASSERT_NE(nullptr, region.base);
    MEMORY_BASIC_INFORMATION after;
    ASSERT_NE(0u, VirtualQuery(region.base + region.room, &after, sizeof after));
    EXPECT_EQ((DWORD)PAGE_NOACCESS, after.Protect);
    MEMORY_BASIC_INFORMATION block;
    ASSERT_NE(0u, VirtualQuery(region.base + region.room - 1, &block, sizeof block));
    EXPECT_EQ((DWORD)PAGE_READWRITE, block.Protect);
}

TEST_F(GuardedImage, EveryTruncationAndCorruptionOfABmp)
{
    for (uint16_t bits : {8, 16, 24, 32}) {
        std::vector<uint8_t> bmp = MakeBmp({7, 5, bits});
        GuardedRegion region = MakeGuardedRegion(bmp.size());
        ASSERT_NE(nullptr, region.base);
        int opened = 0;
        for (size_t length = 0; length <= bmp.size(); length++)
            opened += OpenAndTouch(PlaceAtGuard(region, bmp.data(), length), length);
        EXPECT_EQ(1, opened) << "only the whole file is an image";
        for (size_t at = 0; at < 64 && at < bmp.size(); at++) {
            for (uint8_t flip : {0x01, 0x04, 0x10, 0x40, 0x80, 0xFF}) {
                std::vector<uint8_t> damaged = bmp;
                damaged[at] ^= flip;
                OpenAndTouch(PlaceAtGuard(region, damaged.data(), damaged.size()), damaged.size());
            }
        }
        VirtualFree(region.base, 0, MEM_RELEASE);
    }
}

TEST_F(GuardedImage, EveryTruncationOfTheEmbeddedPicture)
{
    GuardedRegion region = MakeGuardedRegion(EmbeddedPictureSize);
    ASSERT_NE(nullptr, region.base);
    QuietErrors quiet;
    int opened = 0;
    for (size_t length = 0; length <= EmbeddedPictureSize; length++)
        opened += OpenAndTouch(PlaceAtGuard(region, EmbeddedPicture, length), length);
    // Once the header chunks are in, a cut picture still gives its rows read so far.
    EXPECT_GT(opened, (int)EmbeddedPictureSize - 200);
    VirtualFree(region.base, 0, MEM_RELEASE);
}

TEST_F(GuardedImage, SingleByteCorruptionsOfTheEmbeddedPicture)
{
    std::vector<uint8_t> png(EmbeddedPicture, EmbeddedPicture + EmbeddedPictureSize);
    GuardedRegion region = MakeGuardedRegion(png.size());
    ASSERT_NE(nullptr, region.base);
    QuietErrors quiet;
    int tried = 0;
    for (size_t at = 0; at < png.size(); at += at < 120 ? 1 : 61) {
        for (uint8_t flip : {0x01, 0x20, 0x80, 0xFF}) {
            for (bool mend : {false, true}) {
                std::vector<uint8_t> damaged = png;
                damaged[at] ^= flip;
                if (mend)
                    MendCrc(damaged, at);
                OpenAndTouch(PlaceAtGuard(region, damaged.data(), damaged.size()), damaged.size());
                tried++;
            }
        }
    }
    EXPECT_GT(tried, 4000);
    VirtualFree(region.base, 0, MEM_RELEASE);
}

} // namespace
