#include "app/show.h"

#include <windows.h>

#include "app/app.h"
#include "app/copies.h"
#include "app/motion.h"
#include "app/picture.h"
#include "app/settings.h"
#include "image/png_decoder.h"
#include "runtime/program.h"
#include "runtime/strings.h"
#include "runtime/system.h"
#include "runtime/timer.h"
#include "screen/keyboard.h"
#include "screen/screen.h"
#include "screen/sprite3d.h"
#include "screen/sprites.h"

enum {
    PICTURE_SPRITE = 0,
    FULL_ALPHA = 255,
    TURN_ABOUT_CURRENT_SIZE = 1,
    // A long pause is slept in slices this long, so that Escape and the loss of the
    // foreground are seen within one.
    DELAY_SLICE_MS = 50,
    // Out of the foreground this long in a row, the show ends: short losses, such as a
    // mode change by another program, it comes back from by itself.
    AWAY_LIMIT_MS = 5000,
};

static int32_t CopyCount;
static int32_t Away;        // 1 while the show is out of the foreground
static uint32_t AwaySince; // when it went out, in milliseconds of a clock that wraps

[[noreturn]] static void FailShow(const char* text)
{
    ShowAppMessage(text);
    EndProgram();
}

static void LoadPicture(void)
{
    char* path = NULL;
    char* start = ScratchCursor;
    AppendToScratch(SettingsDir);
    AppendToScratch(PICTURE_FILE_NAME);
    AssignFromScratch(&path, start);
    if (QueryFileSize(path) > 0) {
        LoadSpriteFile(PICTURE_SPRITE, path, SPRITE_MODE_TEXTURE);
    } else {
        EnablePngDecoder();
        LoadSpriteFromMemory(PICTURE_SPRITE, EmbeddedPicture, EmbeddedPictureSize, SPRITE_MODE_TEXTURE);
    }
    FreeString(path);
}

void SetUpShow(void)
{
    OpenSystemTimer();
    // Sleep is only as fine as the system timer, which by default ticks every 15.6 ms. A
    // finer timer costs every program on the machine, so only a delay to keep asks for it.
    if (FrameDelay > 0)
        RaiseTimerResolutionTo(1);
    if (!InitSpriteSystem() || !InitKeyboardInput())
        FailShow("Error: Can't open DirectX 7 Or later");
    if (!InitSprite3DSystem())
        FailShow("Error: Direct3D system can't be initialized correctly");
    if (!OpenFullScreen(SHOW_SCREEN_WIDTH, SHOW_SCREEN_HEIGHT, SHOW_SCREEN_DEPTH, "Sprite"))
        FailShow("Error: Can't open a 640*480 - 16 bit screen !");
    LoadPicture();
    SetSprite3DFilter(0);
    SetSpriteColorKey(PICTURE_SPRITE, 0, 0, 0);
    CopyCount = AnimatedCopyCount();
    for (SpriteIndex = 1; SpriteIndex <= CopyCount; SpriteIndex++) {
        MakeSprite3D(SpriteIndex, PICTURE_SPRITE);
        InitCopy(SpriteIndex);
    }
}

void DrawShowFrame(void)
{
    FlipScreen();
    // While another application or desktop has the screen nothing is drawn and no
    // copy moves: the show goes on where it stood once it is back.
    if (!IsScreenShowing())
        return;
    ClearBackBuffer(0, 0, 0);
    if (!BeginScene3D())
        return;
    for (SpriteIndex = 1; SpriteIndex <= CopyCount; SpriteIndex++) {
        int32_t edge = RoundToInt(Size[SpriteIndex]);
        ResizeSprite3D(SpriteIndex, edge, edge);
        SetSprite3DAngle(SpriteIndex, RoundToInt(Angle[SpriteIndex]), TURN_ABOUT_CURRENT_SIZE);
        DrawSprite3D(SpriteIndex, RoundToInt(PosX[SpriteIndex]), RoundToInt(PosY[SpriteIndex]), FULL_ALPHA);
        MoveCopy(SpriteIndex);
        CheckBounds(SpriteIndex);
    }
    EndScene3D();
}

// Given whether the show is out of the foreground now: 1 once it has been so for
// AWAY_LIMIT_MS in a row. The unsigned difference stays right across the clock's wrap.
static int32_t IsAwayTooLong(int32_t away, uint32_t now)
{
    if (away && !Away)
        AwaySince = now;
    Away = away;
    return away && now - AwaySince >= AWAY_LIMIT_MS;
}

// Out of the foreground the keyboard device no longer reads Escape, yet the show would
// hold the single-instance guard against every later start: it ends by itself instead.
// A minimised window counts as well as an inactive one or lost surfaces; an absence the
// frames missed, being stalled meanwhile, counts by the window's own timing.
static void EndShowWhenOver(void)
{
    PollKeyboard();
    int32_t away = !IsScreenInFront();
    if (IsAwayTooLong(away, ReadClockMs()) || TakeLastAbsenceMs() >= AWAY_LIMIT_MS || IsKeyDown(KEY_ESCAPE))
        EndProgram();
}

// The pause after a frame. A short one is one sleep; a long one is slept in slices
// between which the keyboard and the window messages are looked at, against a fixed
// deadline so that the pacing stays that of the delay.
void PauseAfterFrame(void)
{
    if (FrameDelay <= 0)
        return;
    if (FrameDelay <= DELAY_SLICE_MS) {
        DelayMs(FrameDelay);
        return;
    }
    uint32_t start = ReadClockMs();
    for (;;) {
        uint32_t elapsed = ReadClockMs() - start;
        if (elapsed >= (uint32_t)FrameDelay)
            return;
        uint32_t left = (uint32_t)FrameDelay - elapsed;
        if (left <= DELAY_SLICE_MS) {
            DelayMs((int32_t)left);
            return;
        }
        DelayMs(DELAY_SLICE_MS);
        PumpMessages();
        EndShowWhenOver();
    }
}

void RunShow(void)
{
    SetUpShow();
    for (;;) {
        DrawShowFrame();
        PauseAfterFrame();
        EndShowWhenOver();
    }
}
