#include <gtest/gtest.h>
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "image/image.h"
#include "image/png_decoder.h"

namespace {

std::string SuiteFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(NULL, path, sizeof path);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of("\\/") + 1) + "pngsuite\\";
}

std::vector<uint8_t> ReadFile(const std::string& name)
{
    std::vector<uint8_t> bytes;
    FILE* file = fopen(name.c_str(), "rb");
    if (!file)
        return bytes;
    uint8_t chunk[4096];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    fclose(file);
    return bytes;
}

// Every file of libpng's suite against ImageMagick's decode of it: the 16-to-8
// reductions differ (high byte against rounding), so a channel may be 1 apart.
TEST(PngSuite, EveryFileAgreesWithAnIndependentDecode)
{
    ResetImageDecoders();
    EnablePngDecoder();
    std::string folder = SuiteFolder();
    FILE* index = fopen((folder + "index.txt").c_str(), "r");
    ASSERT_NE(nullptr, index) << folder;
    char name[64];
    int width = 0, height = 0, files = 0, interlaced = 0, transparent = 0;
    while (fscanf(index, "%63s %d %d", name, &width, &height) == 3) {
        SCOPED_TRACE(name);
        files++;
        std::string base(name);
        interlaced += base[0] == 'i';
        transparent += base.find("ft") != std::string::npos;
        std::vector<uint8_t> file = ReadFile(folder + base);
        std::vector<uint8_t> reference = ReadFile(folder + base.substr(0, base.size() - 4) + ".rgb");
        ASSERT_FALSE(file.empty());
        ASSERT_EQ((size_t)width * height * 3, reference.size());

        DecodedImage image;
        ASSERT_EQ(1, OpenImage(file.data(), file.size(), &image));
        ASSERT_EQ(width, image.width);
        ASSERT_EQ(height, image.height);
        int worst = 0;
        for (int y = 0; y < height; y++) {
            for (int x = 0; x < width; x++) {
                const uint8_t* bgr = image.pixels + y * image.rowPitch + x * 3;
                const uint8_t* rgb = &reference[(y * width + x) * 3];
                for (int c = 0; c < 3; c++)
                    worst = std::max(worst, abs(bgr[2 - c] - rgb[c]));
            }
        }
        EXPECT_LE(worst, 1);
        ReleaseDecodedImage(&image);
    }
    fclose(index);
    EXPECT_GE(files, 50);
    EXPECT_GE(interlaced, 20);
    EXPECT_GE(transparent, 20);
    ResetImageDecoders();
}

} // namespace
