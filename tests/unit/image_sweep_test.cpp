// The image code over every truncation and many corruptions of its input, with the
// bytes placed so that they end where a no-access page begins: any read past the
// block ends this program. And libpng's own test suite against an independent decode.
#include <gtest/gtest.h>
#include <io.h>
#include <windows.h>
#include <zlib.h>

#include <algorithm>
#include <string>

#include "app/picture.h"
#include "image/image.h"
#include "image/png_decoder.h"
#include "runtime/program.h"
#include "samples.h"

namespace {

LONG WINAPI ReportFault(EXCEPTION_POINTERS* fault)
{
    printf("\nFault %08lX: the image code read outside its block\n", fault->ExceptionRecord->ExceptionCode);
    fflush(stdout);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

// Opens bytes placed at the guard page and reads every byte the rows are said to hold;
// gives the picture's width, 0 for no image.
int32_t OpenAtGuard(const Bytes& bytes, size_t length)
{
    static uint8_t* region = NULL;
    static const size_t room = 64 * 1024;
    if (!region) {
        region = (uint8_t*)VirtualAlloc(NULL, room + 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        DWORD old;
        if (!region || !VirtualProtect(region + room, 4096, PAGE_NOACCESS, &old))
            ADD_FAILURE() << "no guard page";
        SetUnhandledExceptionFilter(ReportFault);
    }
    uint8_t* at = region + room - length;
    memcpy(at, bytes.data(), length);
    DecodedImage image;
    int32_t opened = OpenImage(at, length, &image);
    volatile uint32_t sum = 0;
    for (int32_t y = 0; opened && y < image.height; y++)
        for (int32_t i = 0; i < image.width * image.bitsPerPixel / 8; i++)
            sum = sum + image.pixels[(size_t)y * image.rowPitch + i];
    int32_t width = opened ? image.width : 0;
    ReleaseDecodedImage(&image);
    return width;
}

// libpng reports each damaged chunk on the error stream, at a round trip to Wine's
// server per line: closed for the sweep, a write fails at once.
struct QuietErrors {
    int saved = _dup(2);
    QuietErrors() { _close(2); }
    ~QuietErrors() { _dup2(saved, 2); }
};

TEST(GuardedImage, EveryTruncationAndCorruption)
{
    ResetImageDecoders();
    EnablePngDecoder();
    QuietErrors quiet;
    const Bytes picture(EmbeddedPicture, EmbeddedPicture + EmbeddedPictureSize);
    for (const Bytes& bytes : {MakeBmp({7, 5, 8}), MakeBmp({7, 5, 16}), MakeBmp({7, -5, 24}), MakeBmp({7, 5, 32}),
                               picture}) {
        int opened = 0;
        for (size_t length = 0; length < bytes.size(); length++)
            opened += OpenAtGuard(bytes, length) != 0;
        EXPECT_EQ(OpenAtGuard(bytes, bytes.size()), bytes[0] == 'B' ? 7 : 256);
        EXPECT_TRUE(opened == 0 || bytes[0] != 'B') << "a BMP is an image only whole";
        for (size_t at = 0; at < bytes.size(); at += at < 120 ? 1 : 61) {
            for (uint8_t flip : {0x01, 0x20, 0x80, 0xFF}) {
                Bytes damaged = bytes;
                damaged[at] ^= flip;
                // Inside a PNG chunk, the damage is given a matching CRC so that it
                // reaches the parsers instead of stopping at the check.
                for (size_t chunk = 8, length; bytes[0] != 'B' && chunk + 12 <= damaged.size(); chunk += 12 + length) {
                    length = (size_t)damaged[chunk] << 24 | damaged[chunk + 1] << 16 | damaged[chunk + 2] << 8 | damaged[chunk + 3];
                    if (length <= damaged.size() - chunk - 12 && at >= chunk + 4 && at < chunk + 8 + length) {
                        uint32_t crc = (uint32_t)crc32(0, &damaged[chunk + 4], (uInt)length + 4);
                        std::reverse_copy((uint8_t*)&crc, (uint8_t*)&crc + 4, &damaged[chunk + 8 + length]);
                    }
                }
                OpenAtGuard(damaged, damaged.size());
            }
        }
    }
    ResetImageDecoders();
}

// Every file of libpng's suite against ImageMagick's decode of it: their 16-to-8
// reductions differ (high byte against rounding), so a channel may be 1 apart.
TEST(PngSuite, EveryFileAgreesWithAnIndependentDecode)
{
    ResetImageDecoders();
    EnablePngDecoder();
    std::string folder = std::string(ProgramDirectory) + "pngsuite\\";
    FILE* index = fopen((folder + "index.txt").c_str(), "r");
    ASSERT_NE(index, nullptr) << folder;
    char name[64];
    int width = 0, height = 0, files = 0;
    while (fscanf(index, "%63s %d %d", name, &width, &height) == 3) {
        SCOPED_TRACE(name);
        files++;
        Bytes file = ReadFileBytes(folder + name);
        Bytes reference = ReadFileBytes(folder + std::string(name, strlen(name) - 4) + ".rgb");
        ASSERT_EQ(reference.size(), (size_t)width * height * 3);
        DecodedImage image;
        ASSERT_EQ(OpenImage(file.data(), file.size(), &image), 1);
        ASSERT_EQ(image.width, width);
        int worst = 0;
        for (int i = 0; i < width * height * 3; i++) {
            const uint8_t* bgr = image.pixels + (i / 3 / width) * image.rowPitch + (i / 3 % width) * 3;
            worst = std::max(worst, abs(bgr[2 - i % 3] - reference[(size_t)i]));
        }
        EXPECT_LE(worst, 1);
        ReleaseDecodedImage(&image);
    }
    fclose(index);
    EXPECT_GE(files, 50);
    ResetImageDecoders();
}

} // namespace
