#pragma once
// The DirectDraw 7 full-screen display: the hidden screen window, the display mode,
// the flipping chain with one back buffer, colour fills and the per-frame flip.
#include <windows.h>
#include <ddraw.h>
#include <stdint.h>

#include "screen/pixels.h"

// 0 when the screen window can't be created or DirectDraw 7 is not available.
int32_t InitSpriteSystem(void);
// 1 on success; on failure the screen is closed again and 0 returned.
int32_t OpenFullScreen(int32_t width, int32_t height, int32_t depth, const char* title);
// Shows the frame drawn since the last flip, pumps the thread's messages and restores
// lost surfaces, filling the sprites again. While the screen is not showing it waits
// a little for messages instead of flipping. Gives the back buffer, the drawing target.
IDirectDrawSurface7* FlipScreen(void);
// 1 while the screen is open, its window active and its surfaces usable: the frames
// drawn are the ones shown.
int32_t IsScreenShowing(void);
// 1 while the screen is showing and its window is not minimised: the show is in front.
int32_t IsScreenInFront(void);
// How long the screen window's last absence from the foreground lasted, in ms, once it
// is back; 0 when none ended since the last call.
uint32_t TakeLastAbsenceMs(void);
// Dispatches every message waiting for the thread; the screen window's procedure runs here.
void PumpMessages(void);
void ClearBackBuffer(int32_t red, int32_t green, int32_t blue);
// Red, green and blue (0 to 255) as a pixel value of the open screen.
uint32_t PackColor(int32_t red, int32_t green, int32_t blue);
void CloseFullScreen(void);
void EndSpriteSystem(void);

// A use of DirectDraw, counted: the interface or NULL. DDRAW.DLL is unloaded when the
// last use is released.
IDirectDraw7* LoadDirectDraw(void);
void ReleaseDirectDraw(void);

// For the sprite, 3-D sprite and keyboard layers.
IDirectDraw7* ScreenDirectDraw(void);
IDirectDrawSurface7* ScreenBackBuffer(void);
HWND ScreenWindowHandle(void);
PixelLayout ScreenPixelLayout(void);
// 1 when the surface is usable: it was not lost, or it could be restored.
int32_t RestoreSurface(IDirectDrawSurface7* surface);
