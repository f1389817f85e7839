// The screen layers on the real display: DirectDraw, Direct3D and DirectInput under
// Wine on the tests' 640x480 16-bit Xvfb. One screen is opened for the whole suite.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "runtime/program.h"
#include "samples.h"
#include "screen/keyboard.h"
#include "screen/screen.h"
#include "screen/sprite3d.h"
#include "screen/sprites.h"
#include "unix_command.h"

namespace {

uint32_t Gradient(int32_t x, int32_t y)
{
    return (uint32_t)(x * 20) << 16 | (uint32_t)(y * 30) << 8 | (uint32_t)(255 - x * 10);
}

// The 16-bit pixels of a surface, row by row, after filling each row with fill when
// one is given; empty when the surface cannot be locked.
std::vector<uint16_t> ReadSurface(IDirectDrawSurface7* surface, int32_t width, int32_t height, int fill = -1)
{
    std::vector<uint16_t> pixels;
    DDSURFACEDESC2 description = {};
    description.dwSize = sizeof description;
    for (int32_t y = 0; y < height && surface->Lock(NULL, &description, DDLOCK_WAIT, NULL) == DD_OK; y++) {
        uint16_t* row = (uint16_t*)((uint8_t*)description.lpSurface + y * description.lPitch);
        if (fill >= 0)
            std::fill(row, row + width, (uint16_t)fill);
        pixels.insert(pixels.end(), row, row + width);
        surface->Unlock(NULL);
    }
    return pixels;
}

void OpenScreen()
{
    ASSERT_TRUE(InitSpriteSystem() && InitKeyboardInput() && InitSprite3DSystem());
    ASSERT_EQ(OpenFullScreen(640, 480, 16, "Sprite"), 1);
}

void EndScreen()
{
    EndKeyboard();
    EndSprite3DSystem();
    EndSpriteSystem();
}

class ScreenDisplay : public testing::Test {
protected:
    static void SetUpTestSuite() { OpenScreen(); }
    static void TearDownTestSuite() { EndScreen(); }
    const std::string path = std::string(ProgramDirectory) + "zarn_sprite_test.bmp";
};

TEST_F(ScreenDisplay, SpritesHoldThePictureInTheScreensFormat)
{
    // Width 7: every source row carries filler bytes.
    const Bytes bmp = MakeBmp({7, 5, 24}, Gradient);
    std::vector<uint16_t> expected;
    for (int32_t i = 0; i < 35; i++) {
        uint32_t colour = Gradient(i % 7, i / 7); // as 5-6-5: the top bits of each channel
        expected.push_back((uint16_t)((colour >> 8 & 0xF800) | (colour >> 5 & 0x07E0) | (colour >> 3 & 0x001F)));
    }
    WriteFileBytes(path, bmp);
    auto* fromFile = (IDirectDrawSurface7*)LoadSpriteFile(3, path.c_str(), SPRITE_MODE_DEFAULT);
    auto* fromMemory = (IDirectDrawSurface7*)LoadSpriteFromMemory(4, bmp.data(), bmp.size(), SPRITE_MODE_TEXTURE);
    ASSERT_TRUE(fromFile && fromMemory);
    EXPECT_EQ(ReadSurface(fromFile, 7, 5), expected);
    EXPECT_EQ(ReadSurface(fromMemory, 7, 5), expected);
    EXPECT_TRUE(!MakeSprite3D(5, 3) && MakeSprite3D(5, 4)) << "only a texture makes a 3-D sprite";
    EXPECT_EQ(LoadSpriteFromMemory(4, "not a picture", 14, SPRITE_MODE_TEXTURE), nullptr);
    EXPECT_EQ(MakeSprite3D(5, 4), 0) << "a failed load into a used number freed the old sprite";
    EXPECT_FALSE(LoadSpriteFile(51, "Z:\\no\\such.bmp", 0) || LoadSpriteFromMemory(-1, bmp.data(), bmp.size(), 0));
}

TEST_F(ScreenDisplay, QuadsShowTheTextureButNotItsKeyColour)
{
    // Left half red, right half black (the key), 32 x 32.
    const Bytes bmp = MakeBmp({32, 32, 24}, [](int32_t x, int32_t) { return x < 16 ? 0xFF0000u : 0u; });
    ASSERT_NE(LoadSpriteFromMemory(60, bmp.data(), bmp.size(), SPRITE_MODE_TEXTURE), nullptr);
    SetSpriteColorKey(60, 0, 0, 0);
    ASSERT_TRUE(MakeSprite3D(1, 60) && MakeSprite3D(70, 60)) << "numbers beyond the first tables";
    IDirectDrawSurface7* back = FlipScreen();
    ClearBackBuffer(0, 0, 255);
    ASSERT_NE(BeginScene3D(), 0);
    SetSprite3DFilter(0);
    ResizeSprite3D(1, 64, 64);
    DrawSprite3D(1, 100, 100, 255);
    ResizeSprite3D(70, 64, 64);
    DrawSprite3D(70, 300, 100, 0);
    DrawSprite3D(2, 400, 300, 255); // never made: no texture, alpha 0
    EndScene3D();
    EndScene3D();
    std::vector<uint16_t> pixels = ReadSurface(back, 640, 480);
    ASSERT_EQ(pixels.size(), 640u * 480u);
    // Red texels drawn; key-coloured ones, the outside, alpha 0 and an empty 3-D sprite not.
    const int spots[][3] = {{110, 110, 0xF800}, {125, 160, 0xF800}, {145, 110, 0x001F}, {160, 160, 0x001F},
                            {90, 110, 0x001F}, {310, 110, 0x001F}, {410, 310, 0x001F}};
    for (const auto& spot : spots)
        EXPECT_EQ(pixels[(size_t)(spot[1] * 640 + spot[0])], spot[2]) << spot[0] << "," << spot[1];
}

// Another desktop taking the screen (for Wine: WM_ACTIVATEAPP FALSE) loses every
// surface; once it is back, the sprites show their pictures again, on the same surfaces.
TEST_F(ScreenDisplay, LostSurfacesAreFilledAgainFromFileAndMemory)
{
    static const Bytes bmp = MakeBmp({8, 6, 24}, Gradient);
    WriteFileBytes(path, bmp);
    auto* fromMemory = (IDirectDrawSurface7*)LoadSpriteFromMemory(20, bmp.data(), bmp.size(), SPRITE_MODE_TEXTURE);
    auto* fromFile = (IDirectDrawSurface7*)LoadSpriteFile(21, path.c_str(), SPRITE_MODE_TEXTURE);
    ASSERT_TRUE(fromMemory && fromFile);
    SetSpriteColorKey(20, 255, 255, 255);
    std::vector<uint16_t> picture = ReadSurface(fromMemory, 8, 6);
    ReadSurface(fromMemory, 8, 6, 0x5A5A);
    ReadSurface(fromFile, 8, 6, 0x5A5A);
    SendMessageA(ScreenWindowHandle(), WM_ACTIVATEAPP, FALSE, 0);
    FlipScreen();
    EXPECT_TRUE(!IsScreenShowing() && fromMemory->IsLost() == DDERR_SURFACELOST);
    SendMessageA(ScreenWindowHandle(), WM_ACTIVATEAPP, TRUE, 0);
    for (int flips = 0; flips < 50 && (flips == 0 || !IsScreenShowing()); flips++)
        FlipScreen();
    ASSERT_EQ(IsScreenShowing(), 1);
    EXPECT_EQ(ReadSurface(fromMemory, 8, 6), picture);
    EXPECT_EQ(ReadSurface(fromFile, 8, 6), picture);
    DDCOLORKEY key = {};
    fromMemory->GetColorKey(DDCKEY_SRCBLT, &key);
    EXPECT_EQ(key.dwColorSpaceLowValue, 0xFFFFu) << "the sprite's own key was lost";
}

// A press that begins and ends between two polls is seen by a poll after it; once a poll finds it over, it
// stays over. Each poll comes after the window's messages, as in the show: the release may come polls later.
TEST_F(ScreenDisplay, EveryShortPressIsSeenOnce)
{
    auto poll = [] { return PumpMessages(), PollKeyboard(), IsKeyDown(KEY_ESCAPE) != 0; };
    for (int press = 0; press < 10; press++) {
        FlipScreen();
        poll();
        ASSERT_TRUE(RunUnixCommand("/usr/bin/xdotool key Escape"));
        int polls = 0;
        while (polls < 50 && !(poll() && IsKeyDown(KEY_ANY)))
            polls++, Sleep(10);
        EXPECT_LT(polls, 50) << "press " << press << " missed";
        for (polls = 0; polls < 50 && poll(); polls++)
            Sleep(10);
        EXPECT_LT(polls, 50) << "press " << press << " never ends";
        EXPECT_FALSE(poll()) << "press " << press << " seen again after its release";
    }
}

// The end routines give everything back, and the screen opens again. DirectInput is looked for at once: Wine 10
// reloads it for a moment for a hook of its own (and Wine pins DDRAW.DLL, which cannot be checked here).
TEST_F(ScreenDisplay, EndRoutinesGiveEverythingBack)
{
    EndKeyboard();
    EXPECT_EQ(GetModuleHandleA("DINPUT.DLL"), nullptr);
    for (int round = 0; round < 2; round++) {
        EndScreen();
        OpenScreen();
        FlipScreen();
        EXPECT_TRUE(IsScreenShowing() && BeginScene3D()) << round;
        EndScene3D();
    }
}

} // namespace
