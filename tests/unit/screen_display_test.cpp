// The screen layers on the real display: DirectDraw, Direct3D and DirectInput under
// Wine on the tests' 640x480 16-bit Xvfb. One screen is opened for the whole suite.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "bmp_sample.h"
#include "runtime/program.h"
#include "screen/keyboard.h"
#include "screen/pixels.h"
#include "screen/screen.h"
#include "screen/sprite3d.h"
#include "screen/sprites.h"
#include "unix_command.h"

namespace {

struct Rgb {
    uint8_t red, green, blue;
};

// A 24-bit BMP, bottom row first, width w (rows padded) filled by colourAt(x, y).
template <typename ColourAt>
std::vector<uint8_t> MakeColourBmp(int32_t width, int32_t height, ColourAt colourAt)
{
    std::vector<uint8_t> bytes = MakeBmp({width, height, 24});
    int32_t pitch = BmpPitch(width, 24);
    for (int32_t y = 0; y < height; y++)
        for (int32_t x = 0; x < width; x++) {
            Rgb colour = colourAt(x, y);
            uint8_t* pixel = &bytes[54 + (size_t)((height - 1 - y) * pitch + x * 3)];
            pixel[0] = colour.blue;
            pixel[1] = colour.green;
            pixel[2] = colour.red;
        }
    return bytes;
}

uint16_t Pack565(Rgb c)
{
    return (uint16_t)((c.red >> 3) * 2048 + (c.green >> 2) * 32 + (c.blue >> 3));
}

Rgb Gradient(int32_t x, int32_t y)
{
    return Rgb{(uint8_t)(x * 20), (uint8_t)(y * 30), (uint8_t)(255 - x * 10)};
}

std::string WriteTestFile(const char* name, const std::vector<uint8_t>& bytes)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + name;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written = 0;
    WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    CloseHandle(file);
    return path;
}

// The 16-bit pixels of a surface, row by row.
std::vector<uint16_t> ReadSurface(IDirectDrawSurface7* surface, int32_t width, int32_t height)
{
    std::vector<uint16_t> pixels;
    DDSURFACEDESC2 description = {};
    description.dwSize = sizeof description;
    if (surface->Lock(NULL, &description, DDLOCK_WAIT | DDLOCK_READONLY, NULL) != DD_OK)
        return pixels;
    for (int32_t y = 0; y < height; y++) {
        const uint16_t* row = (const uint16_t*)((const uint8_t*)description.lpSurface + y * description.lPitch);
        pixels.insert(pixels.end(), row, row + width);
    }
    surface->Unlock(NULL);
    return pixels;
}

void RunXdotool(const char* arguments)
{
    ASSERT_TRUE(RunUnixCommand(std::string("/usr/bin/xdotool ") + arguments)) << arguments;
}

class ScreenDisplay : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_EQ(OpenFullScreen(640, 480, 16, "Sprite"), 0) << "opened before InitSpriteSystem";
        ASSERT_NE(InitSpriteSystem(), 0);
        ASSERT_NE(InitKeyboardInput(), 0);
        ASSERT_NE(InitSprite3DSystem(), 0);
        ASSERT_EQ(OpenFullScreen(640, 480, 16, "Sprite"), 1);
    }
    static void TearDownTestSuite()
    {
        EndKeyboard();
        EndSprite3DSystem();
        EndSpriteSystem();
    }
};

} // namespace

TEST_F(ScreenDisplay, TheScreenIsFiveSixFive)
{
    EXPECT_EQ(PixelFormatCode, PIXEL_FORMAT_565);
    EXPECT_EQ(ScreenDepth, 16);
    EXPECT_EQ(PackColor(255, 255, 255), 0xFFFFu);
    EXPECT_EQ(FlipScreen(), BackBuffer);
    ClearBackBuffer(255, 0, 0);
    std::vector<uint16_t> pixels = ReadSurface(BackBuffer, 640, 480);
    ASSERT_EQ(pixels.size(), 640u * 480u);
    EXPECT_EQ(pixels[0], 0xF800);
    EXPECT_EQ(pixels[640 * 480 - 1], 0xF800);
}

TEST_F(ScreenDisplay, SpritesFromFileAndMemoryHoldTheConvertedPixels)
{
    // Width 7: every source row carries filler bytes.
    std::vector<uint8_t> bmp = MakeColourBmp(7, 5, Gradient);
    std::string path = WriteTestFile("zarn_sprite_test.bmp", bmp);
    ASSERT_NE(LoadSpriteFile(3, path.c_str(), SPRITE_MODE_DEFAULT), nullptr);
    ASSERT_NE(LoadSpriteFromMemory(4, bmp.data(), bmp.size(), SPRITE_MODE_TEXTURE), nullptr);
    for (int32_t sprite : {3, 4}) {
        SpriteEntry* entry = FindSprite(sprite);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->width, 7);
        EXPECT_EQ(entry->height, 5);
        EXPECT_EQ(entry->depth, 24);
        std::vector<uint16_t> pixels = ReadSurface((IDirectDrawSurface7*)entry->surface, 7, 5);
        ASSERT_EQ(pixels.size(), 35u);
        for (int32_t y = 0; y < 5; y++)
            for (int32_t x = 0; x < 7; x++)
                EXPECT_EQ(pixels[(size_t)(y * 7 + x)], Pack565(Gradient(x, y))) << sprite << " " << x << "," << y;
    }
    EXPECT_STREQ(FindSprite(3)->fileName, path.c_str());
    EXPECT_STREQ(FindSprite(4)->fileName, "");
    DeleteFileA(path.c_str());
}

TEST_F(ScreenDisplay, EightBitPicturesOnlyAsMemoryBlocks)
{
    std::vector<uint8_t> bmp = MakeBmp({6, 2, 8});
    EXPECT_EQ(LoadSpriteFromMemory(5, bmp.data(), bmp.size(), SPRITE_MODE_DEFAULT), nullptr);
    EXPECT_EQ(FindSprite(5)->surface, nullptr);
    uint8_t* block = (uint8_t*)LoadSpriteFromMemory(5, bmp.data(), bmp.size(), SPRITE_MODE_BLOCK);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(FindSprite(5)->depth, SPRITE_DEPTH_BLOCK);
    // Stored rows: bottom row at 54 + 1024, top row one pitch (8) later.
    for (int x = 0; x < 6; x++) {
        EXPECT_EQ(block[x], bmp[54 + 1024 + 8 + (size_t)x]) << x;
        EXPECT_EQ(block[6 + x], bmp[54 + 1024 + (size_t)x]) << x;
    }
    ReleaseSprite(5);
    EXPECT_EQ(FindSprite(5)->surface, nullptr);
}

TEST_F(ScreenDisplay, TableGrowsAndReloadFreesFirst)
{
    std::vector<uint8_t> bmp = MakeColourBmp(4, 4, Gradient);
    ASSERT_NE(LoadSpriteFromMemory(1, bmp.data(), bmp.size(), SPRITE_MODE_TEXTURE), nullptr);
    void* first = FindSprite(1)->surface;
    ASSERT_LE(SpriteCapacity, 50);
    ASSERT_NE(LoadSpriteFromMemory(50, bmp.data(), bmp.size(), SPRITE_MODE_DEFAULT), nullptr);
    EXPECT_EQ(SpriteCapacity, 100);
    EXPECT_EQ(FindSprite(1)->surface, first) << "growth lost an older sprite";
    EXPECT_EQ(FindSprite(1)->width, 4);

    const char notAPicture[] = "not a picture at all";
    EXPECT_EQ(LoadSpriteFromMemory(50, notAPicture, sizeof notAPicture, SPRITE_MODE_DEFAULT), nullptr);
    EXPECT_EQ(FindSprite(50)->surface, nullptr) << "a failed load into a used number keeps the old sprite";
    EXPECT_EQ(LoadSpriteFile(51, "Z:\\no\\such\\file.bmp", 0), nullptr);
    EXPECT_EQ(LoadSpriteFromMemory(-1, bmp.data(), bmp.size(), 0), nullptr);
    SetSpriteColorKey(500, 0, 0, 0); // beyond the table: nothing happens
    SetSpriteColorKey(2, 0, 0, 0);   // empty slot
    ReleaseSprite(1);
}

TEST_F(ScreenDisplay, QuadsShowTheTextureAndNotItsKeyColour)
{
    // Left half red, right half black (the key), 32 x 32.
    std::vector<uint8_t> bmp =
        MakeColourBmp(32, 32, [](int32_t x, int32_t) { return x < 16 ? Rgb{255, 0, 0} : Rgb{0, 0, 0}; });
    ASSERT_NE(LoadSpriteFromMemory(0, bmp.data(), bmp.size(), SPRITE_MODE_TEXTURE), nullptr);
    SetSpriteColorKey(0, 0, 0, 0);
    ASSERT_NE(MakeSprite3D(1, 0), 0);
    ASSERT_NE(MakeSprite3D(2, 0), 0);
    EXPECT_EQ(MakeSprite3D(3, 7), 0) << "an empty sprite slot";
    ASSERT_NE(LoadSpriteFromMemory(7, bmp.data(), bmp.size(), SPRITE_MODE_DEFAULT), nullptr);
    EXPECT_EQ(MakeSprite3D(3, 7), 0) << "not a texture";
    ASSERT_NE(MakeSprite3D(60, 0), 0);
    EXPECT_GE(Sprite3DCapacity, 110);

    FlipScreen();
    ClearBackBuffer(0, 0, 255);
    ASSERT_NE(BeginScene3D(), 0);
    SetSprite3DFilter(0);
    ResizeSprite3D(1, 64, 64);
    DrawSprite3D(1, 100, 100, 255);
    ResizeSprite3D(2, 64, 64);
    DrawSprite3D(2, 300, 100, 0); // fully transparent
    DrawSprite3D(3, 400, 300, 255); // failed: no texture, alpha 0
    EndScene3D();
    EndScene3D(); // no scene open: nothing

    std::vector<uint16_t> pixels = ReadSurface(BackBuffer, 640, 480);
    ASSERT_EQ(pixels.size(), 640u * 480u);
    auto at = [&](int x, int y) { return pixels[(size_t)(y * 640 + x)]; };
    const uint16_t red = 0xF800, blue = 0x001F;
    EXPECT_EQ(at(110, 110), red);
    EXPECT_EQ(at(125, 160), red);
    EXPECT_EQ(at(145, 110), blue) << "a key-coloured texel was drawn";
    EXPECT_EQ(at(160, 160), blue) << "a key-coloured texel was drawn";
    EXPECT_EQ(at(90, 110), blue);
    EXPECT_EQ(at(110, 170), blue);
    EXPECT_EQ(at(310, 110), blue) << "alpha 0 drew something";
    EXPECT_EQ(at(410, 310), blue) << "an empty 3-D sprite drew something";
    ReleaseSprite(7);
}

// Another desktop taking the screen (Wine: WM_ACTIVATEAPP FALSE) loses every surface;
// once it is back, the sprites show their pictures again, on the same surfaces.
TEST_F(ScreenDisplay, LostSurfacesAreFilledAgainFromFileAndMemory)
{
    static const std::vector<uint8_t> bmp = MakeColourBmp(8, 6, Gradient);
    std::string path = WriteTestFile("zarn_refill_test.bmp", bmp);
    SetSpriteColorKey(-1, 0, 0, 0);
    auto* fromMemory = (IDirectDrawSurface7*)LoadSpriteFromMemory(20, bmp.data(), bmp.size(), SPRITE_MODE_TEXTURE);
    auto* fromFile = (IDirectDrawSurface7*)LoadSpriteFile(21, path.c_str(), SPRITE_MODE_TEXTURE);
    ASSERT_NE(fromMemory, nullptr);
    ASSERT_NE(fromFile, nullptr);
    SetSpriteColorKey(20, 255, 255, 255);
    std::vector<uint16_t> picture = ReadSurface(fromMemory, 8, 6);
    for (IDirectDrawSurface7* surface : {fromMemory, fromFile}) {
        DDSURFACEDESC2 description = {};
        description.dwSize = sizeof description;
        ASSERT_EQ(surface->Lock(NULL, &description, DDLOCK_WAIT, NULL), DD_OK);
        for (int32_t y = 0; y < 6; y++)
            memset((uint8_t*)description.lpSurface + y * description.lPitch, 0x5A, 16);
        surface->Unlock(NULL);
    }

    SendMessageA(ScreenWindow, WM_ACTIVATEAPP, FALSE, 0);
    FlipScreen();
    EXPECT_EQ(IsScreenShowing(), 0);
    EXPECT_EQ(fromMemory->IsLost(), DDERR_SURFACELOST);
    SendMessageA(ScreenWindow, WM_ACTIVATEAPP, TRUE, 0);
    for (int flips = 0; flips < 50 && (flips == 0 || !IsScreenShowing()); flips++)
        FlipScreen();
    ASSERT_EQ(IsScreenShowing(), 1);
    EXPECT_EQ(ReadSurface(fromMemory, 8, 6), picture);
    EXPECT_EQ(ReadSurface(fromFile, 8, 6), picture);
    DDCOLORKEY key = {};
    fromMemory->GetColorKey(DDCKEY_SRCBLT, &key);
    EXPECT_EQ(key.dwColorSpaceLowValue, 0xFFFFu) << "the sprite's own key was lost";
    fromFile->GetColorKey(DDCKEY_SRCBLT, &key);
    EXPECT_EQ(key.dwColorSpaceLowValue, 0u);
    ReleaseSprite(20);
    ReleaseSprite(21);
    DeleteFileA(path.c_str());
}

// A press that begins and ends between two polls is still seen by the next one.
TEST_F(ScreenDisplay, EveryShortPressIsSeen)
{
    for (int press = 0; press < 10; press++) {
        FlipScreen();
        PollKeyboard();
        RunXdotool("key Escape");
        for (int pumps = 0; pumps < 5; pumps++) {
            Sleep(10);
            PumpMessages();
        }
        PollKeyboard();
        EXPECT_EQ(IsKeyDown(KEY_ESCAPE), 128) << "press " << press;
        PollKeyboard();
        EXPECT_EQ(IsKeyDown(KEY_ESCAPE), 0) << "press " << press;
    }
}

TEST_F(ScreenDisplay, EscapeIsSeenByTheKeyboard)
{
    FlipScreen();
    PollKeyboard();
    EXPECT_EQ(IsKeyDown(KEY_ESCAPE), 0);
    RunXdotool("keydown Escape");
    int32_t down = 0;
    for (int tries = 0; tries < 100 && !down; tries++) {
        Sleep(20);
        FlipScreen();
        PollKeyboard();
        down = IsKeyDown(KEY_ESCAPE);
    }
    EXPECT_EQ(down, 128);
    EXPECT_EQ(IsKeyDown(KEY_ANY), 1);
    RunXdotool("keyup Escape");
    for (int tries = 0; tries < 100 && down; tries++) {
        Sleep(20);
        FlipScreen();
        PollKeyboard();
        down = IsKeyDown(KEY_ESCAPE);
    }
    EXPECT_EQ(down, 0);
    EXPECT_EQ(IsKeyDown(KEY_ANY), 0);
    EXPECT_EQ(IsKeyDown(256), 0);
    EXPECT_EQ(IsKeyDown(-5), 0);
}

// The end routines give everything back: DirectInput is unloaded (Wine pins DDRAW.DLL
// once loaded, so that one cannot be checked here), and the screen opens again.
TEST_F(ScreenDisplay, EndRoutinesGiveEverythingBack)
{
    for (int round = 0; round < 2; round++) {
        EndKeyboard();
        EndSprite3DSystem();
        EndSpriteSystem();
        EXPECT_EQ(GetModuleHandleA("DINPUT.DLL"), nullptr) << round;
        ASSERT_NE(InitSpriteSystem(), 0) << round;
        ASSERT_NE(InitKeyboardInput(), 0) << round;
        ASSERT_NE(InitSprite3DSystem(), 0) << round;
        ASSERT_EQ(OpenFullScreen(640, 480, 16, "Sprite"), 1) << round;
        FlipScreen();
        EXPECT_EQ(IsScreenShowing(), 1) << round;
        ASSERT_NE(BeginScene3D(), 0) << round;
        EndScene3D();
    }
}
