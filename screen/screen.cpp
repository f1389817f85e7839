#include "screen/screen.h"

#include <string.h>

#include "runtime/program.h"
#include "screen/covers.h"
#include "screen/sprites.h"
#include "screen/system_interface.h"

static IDirectDraw7* DirectDraw;
static HWND ScreenWindow;
static IDirectDrawSurface7* PrimarySurface;
static IDirectDrawSurface7* BackBuffer;
static int32_t ScreenWidth;
static int32_t ScreenHeight;
static PixelLayout Layout;
static int32_t ScreenActive; // 1 while the screen window is the active window
static DWORD AbsenceStart;      // tick count of the window's last loss of activation
static DWORD LastAbsenceMs;     // the length of the last absence that ended, until taken
// Set when a flip finds the surfaces lost; cleared once they are restored.
static int32_t ScreenLost;
static DDSURFACEDESC2 OpenDescription; // the primary's description, taken at open

static SystemInterface DirectDrawLibrary;
static int32_t ScreenWindowCreated;
static HWND SavedScreenWindow;
static int32_t SpriteSystemStarted;
static IDirectDrawSurface7* DrawTarget;
static int32_t DrawWidth;
static int32_t DrawHeight;
static DDBLTFX FillRecord;

static const char SCREEN_CLASS[] = "MultimediaBase Class";
enum { INACTIVE_WAIT_MS = 50 };

// The screen's record keeps its sizes as 16-bit values: larger ones wrap as they did.
static int32_t AsSixteenBits(int32_t value)
{
    return (int16_t)value;
}

IDirectDraw7* ScreenDirectDraw(void)
{
    return DirectDraw;
}

IDirectDrawSurface7* ScreenBackBuffer(void)
{
    return BackBuffer;
}

HWND ScreenWindowHandle(void)
{
    return ScreenWindow;
}

PixelLayout ScreenPixelLayout(void)
{
    return Layout;
}

uint32_t PackColor(int32_t red, int32_t green, int32_t blue)
{
    return PackColorIn(Layout, red, green, blue);
}

typedef HRESULT(WINAPI* DirectDrawCreateExProc)(GUID*, void**, REFIID, IUnknown*);

static void CreateDirectDraw(FARPROC procedure, void** object)
{
    ((DirectDrawCreateExProc)(void*)procedure)(NULL, object, IID_IDirectDraw7, NULL);
}

IDirectDraw7* LoadDirectDraw(void)
{
    return DirectDraw = (IDirectDraw7*)UseSystemInterface(&DirectDrawLibrary, "DDRAW.DLL", "DirectDrawCreateEx",
                                                          CreateDirectDraw);
}

void ReleaseDirectDraw(void)
{
    DirectDraw = (IDirectDraw7*)DropSystemInterface(&DirectDrawLibrary);
}

int32_t IsScreenShowing(void)
{
    return PrimarySurface && ScreenActive && !ScreenLost;
}

int32_t IsScreenInFront(void)
{
    return IsScreenShowing() && !IsIconic(ScreenWindow);
}

// The other monitors stay covered while the show is in front, and go back to the
// program in front while it is not.
static void FollowShowWithCovers(void)
{
    ShowMonitorCovers(IsScreenInFront());
}

// Each absence is timed by the window's own messages, so that a show whose frames
// stalled across it still learns how long it was away. Activations before the screen
// opens count for nothing: opening clears what they left.
static void FollowActivation(int32_t active)
{
    DWORD now = GetTickCount();
    if (ScreenActive && !active)
        AbsenceStart = now;
    else if (active && !ScreenActive)
        LastAbsenceMs = now - AbsenceStart;
    ScreenActive = active;
    FollowShowWithCovers();
}

uint32_t TakeLastAbsenceMs(void)
{
    uint32_t length = LastAbsenceMs;
    LastAbsenceMs = 0;
    return length;
}

static LRESULT CALLBACK ScreenWindowProcedure(HWND window, UINT message, WPARAM first, LPARAM second)
{
    switch (message) {
    case WM_ACTIVATE:
        FollowActivation(LOWORD(first) != WA_INACTIVE);
        return 0;
    case WM_ACTIVATEAPP:
        // Another application or desktop took the screen, or gave it back.
        FollowActivation(first != FALSE);
        return 0;
    case WM_SIZE:
        FollowShowWithCovers();
        return DefWindowProcA(window, message, first, second);
    case WM_DISPLAYCHANGE:
        FollowMonitorLayout();
        FollowShowWithCovers();
        return DefWindowProcA(window, message, first, second);
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 1;
    }
    case WM_CLOSE:
        // Without its window the show would run on unseen: end the program instead.
        EndProgram();
    case WM_ENDSESSION:
        if (first)
            EndProgram();
        return 0;
    default:
        return DefWindowProcA(window, message, first, second);
    }
}

static int32_t CreateScreenWindow(void)
{
    if (ScreenWindowCreated)
        return ScreenWindow != NULL;
    RegisterBlackWindowClass(SCREEN_CLASS, ScreenWindowProcedure);
    ScreenWindow = CreateWindowExA(0, SCREEN_CLASS, "", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 1, 1, NULL, NULL,
                                   InstanceHandle, NULL);
    ScreenWindowCreated = 1;
    return ScreenWindow != NULL;
}

int32_t InitSpriteSystem(void)
{
    memset(&FillRecord, 0, sizeof FillRecord);
    FillRecord.dwSize = sizeof FillRecord;
    memset(&OpenDescription, 0, sizeof OpenDescription);
    OpenDescription.dwSize = sizeof OpenDescription;
    DrawTarget = NULL;
    ResetSpriteTable();
    if (!CreateScreenWindow())
        return 0;
    SpriteSystemStarted = 1;
    if (!LoadDirectDraw())
        return 0;
    SavedScreenWindow = ScreenWindow;
    return 1;
}

// Both buffers start black; GDI touches the surfaces only here.
static void PaintSurfaceBlack(IDirectDrawSurface7* surface)
{
    HDC dc;
    if (!surface || surface->GetDC(&dc) != DD_OK)
        return;
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    Rectangle(dc, 0, 0, ScreenWidth, ScreenHeight);
    surface->ReleaseDC(dc);
}

static void FindScreenPixelFormat(void)
{
    if (PrimarySurface->Lock(NULL, &OpenDescription, DDLOCK_WAIT, NULL) != DD_OK)
        return;
    PrimarySurface->Unlock(NULL);
    Layout.code = FindPixelFormatCode(Layout.depth, OpenDescription.ddpfPixelFormat.dwRBitMask,
                                      OpenDescription.ddpfPixelFormat.dwGBitMask);
}

static int32_t CreateFlippingChain(void)
{
    DDSURFACEDESC2 description;
    memset(&description, 0, sizeof description);
    description.dwSize = sizeof description;
    description.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    description.dwBackBufferCount = 1;
    description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE;
    if (DirectDraw->CreateSurface(&description, &PrimarySurface, NULL) != DD_OK) {
        PrimarySurface = NULL;
        return 0;
    }
    DDSCAPS2 caps;
    memset(&caps, 0, sizeof caps);
    caps.dwCaps = DDSCAPS_BACKBUFFER | DDSCAPS_3DDEVICE;
    if (PrimarySurface->GetAttachedSurface(&caps, &BackBuffer) != DD_OK) {
        BackBuffer = NULL;
        return 0;
    }
    return 1;
}

int32_t OpenFullScreen(int32_t width, int32_t height, int32_t depth, const char* title)
{
    if (!ScreenWindow || !DirectDraw) {
        CloseFullScreen();
        return 0;
    }
    SetWindowTextA(ScreenWindow, title ? title : "");
    MoveWindow(ScreenWindow, 0, 0, width, height, TRUE);
    ScreenWidth = AsSixteenBits(width);
    ScreenHeight = AsSixteenBits(height);
    Layout.depth = AsSixteenBits(depth);
    DrawWidth = ScreenWidth;
    DrawHeight = ScreenHeight;
    ShowCursor(FALSE);
    if (DirectDraw->SetCooperativeLevel(ScreenWindow, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE) != DD_OK ||
        DirectDraw->SetDisplayMode((DWORD)ScreenWidth, (DWORD)ScreenHeight, (DWORD)Layout.depth, 0, 0) != DD_OK ||
        !CreateFlippingChain()) {
        CloseFullScreen();
        return 0;
    }
    ShowWindow(ScreenWindow, SW_SHOWMAXIMIZED);
    EnableWindow(ScreenWindow, FALSE);
    PaintSurfaceBlack(BackBuffer);
    PaintSurfaceBlack(PrimarySurface);
    DrawTarget = BackBuffer;
    FindScreenPixelFormat();
    ScreenLost = 0;
    ScreenActive = 1;
    LastAbsenceMs = 0;
    // Taken after the mode change, which can move the other monitors.
    OpenMonitorCovers(ScreenWindow);
    FollowShowWithCovers();
    return 1;
}

int32_t RestoreSurface(IDirectDrawSurface7* surface)
{
    return surface->IsLost() == DD_OK || surface->Restore() == DD_OK;
}

// Once DirectDraw lets the program have the screen again: the mode, the surfaces and
// what the sprites' surfaces held. A surface that RestoreAllSurfaces left lost is
// restored on its own.
static void RestoreScreen(void)
{
    if (DirectDraw->TestCooperativeLevel() != DD_OK)
        return;
    DirectDraw->SetDisplayMode((DWORD)ScreenWidth, (DWORD)ScreenHeight, (DWORD)Layout.depth, 0, 0);
    DirectDraw->RestoreAllSurfaces();
    if (!RestoreSurface(PrimarySurface))
        return;
    ScreenLost = 0;
    ShowWindow(ScreenWindow, SW_SHOWMAXIMIZED);
    RefillSprites();
}

void PumpMessages(void)
{
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

IDirectDrawSurface7* FlipScreen(void)
{
    DrawTarget = BackBuffer;
    DrawWidth = ScreenWidth;
    DrawHeight = ScreenHeight;
    // Nothing paces the frames while no flip waits for the display: a short wait for
    // the window's messages keeps a show in the background from spinning.
    if (PrimarySurface && !IsScreenShowing())
        MsgWaitForMultipleObjectsEx(0, NULL, INACTIVE_WAIT_MS, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    PumpMessages();
    if (ScreenActive && PrimarySurface) {
        if (!ScreenLost && PrimarySurface->Flip(NULL, DDFLIP_WAIT) == DDERR_SURFACELOST)
            ScreenLost = 1;
        if (ScreenLost)
            RestoreScreen();
        FollowShowWithCovers();
    }
    DrawTarget = BackBuffer;
    return DrawTarget;
}

void ClearBackBuffer(int32_t red, int32_t green, int32_t blue)
{
    if (!DrawTarget)
        return;
    FillRecord.dwFillColor = PackColor(red, green, blue);
    DrawTarget->Blt(NULL, NULL, NULL, DDBLT_COLORFILL, &FillRecord);
}

// In the order DirectDraw needs: the sprites' surfaces, the flipping chain, then the
// exclusive mode. The 3-D device that drew into the chain is gone before this.
void CloseFullScreen(void)
{
    CloseMonitorCovers();
    ReleaseAllSprites();
    if (BackBuffer)
        BackBuffer->Release();
    BackBuffer = NULL;
    if (PrimarySurface)
        PrimarySurface->Release();
    PrimarySurface = NULL;
    DrawTarget = NULL;
    ScreenLost = 0;
    if (DirectDraw)
        DirectDraw->SetCooperativeLevel(NULL, DDSCL_NORMAL);
    if (ScreenWindow)
        ShowCursor(TRUE);
    ScreenWindow = SavedScreenWindow;
    if (ScreenWindow)
        ShowWindow(ScreenWindow, SW_HIDE);
}

void EndSpriteSystem(void)
{
    if (!SpriteSystemStarted)
        return;
    CloseFullScreen();
    ReleaseDirectDraw();
    SpriteSystemStarted = 0;
}
