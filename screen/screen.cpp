#include "screen/screen.h"

#include <string.h>

#include "runtime/program.h"
#include "screen/pixels.h"
#include "screen/sprites.h"

IDirectDraw7* DirectDraw;
HWND ScreenWindow;
IDirectDrawSurface7* PrimarySurface;
IDirectDrawSurface7* BackBuffer;
int32_t ScreenWidth;
int32_t ScreenHeight;
int32_t ScreenActive;
DDSURFACEDESC2 OpenDescription;

static HMODULE DirectDrawModule;
static int32_t DirectDrawUses;
static int32_t ScreenWindowCreated;
static HWND SavedScreenWindow;
static int32_t SpriteSystemStarted;
static IDirectDrawSurface7* DrawTarget;
static int32_t DrawWidth;
static int32_t DrawHeight;
static DDBLTFX FillRecord;

static const char SCREEN_CLASS[] = "MultimediaBase Class";

typedef HRESULT(WINAPI* DirectDrawCreateExProc)(GUID*, void**, REFIID, IUnknown*);

IDirectDraw7* LoadDirectDraw(void)
{
    if (!DirectDraw) {
        DirectDrawModule = LoadLibraryA("DDRAW.DLL");
        if (DirectDrawModule) {
            DirectDrawCreateExProc create =
                (DirectDrawCreateExProc)(void*)GetProcAddress(DirectDrawModule, "DirectDrawCreateEx");
            if (create)
                create(NULL, (void**)&DirectDraw, IID_IDirectDraw7, NULL);
            if (!DirectDraw) {
                FreeLibrary(DirectDrawModule);
                DirectDrawModule = NULL;
            }
        }
    }
    DirectDrawUses++;
    return DirectDraw;
}

void ReleaseDirectDraw(void)
{
    DirectDrawUses--;
    if (DirectDraw && DirectDrawUses == 0) {
        DirectDraw->Release();
        FreeLibrary(DirectDrawModule);
        DirectDrawModule = NULL;
        DirectDraw = NULL;
    }
}

static LRESULT CALLBACK ScreenWindowProcedure(HWND window, UINT message, WPARAM first, LPARAM second)
{
    switch (message) {
    case WM_ACTIVATE:
        ScreenActive = LOWORD(first) != WA_INACTIVE;
        return 0;
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
    WNDCLASSEXA windowClass;
    memset(&windowClass, 0, sizeof windowClass);
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ScreenWindowProcedure;
    windowClass.hInstance = InstanceHandle;
    windowClass.hbrBackground = (HBRUSH)GetStockObject(BLACK_BRUSH);
    windowClass.lpszClassName = SCREEN_CLASS;
    RegisterClassExA(&windowClass);
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
    PixelFormatCode = FindPixelFormatCode(ScreenDepth, OpenDescription.ddpfPixelFormat.dwRBitMask,
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
    ScreenWidth = (int16_t)width;
    ScreenHeight = (int16_t)height;
    ScreenDepth = (int16_t)depth;
    DrawWidth = ScreenWidth;
    DrawHeight = ScreenHeight;
    ShowCursor(FALSE);
    if (DirectDraw->SetCooperativeLevel(ScreenWindow, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE) != DD_OK ||
        DirectDraw->SetDisplayMode((DWORD)ScreenWidth, (DWORD)ScreenHeight, (DWORD)ScreenDepth, 0, 0) != DD_OK ||
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
    ScreenActive = 1;
    return 1;
}

static void RestoreScreen(void)
{
    DirectDraw->SetDisplayMode((DWORD)ScreenWidth, (DWORD)ScreenHeight, (DWORD)ScreenDepth, 0, 0);
    DirectDraw->RestoreAllSurfaces();
    ShowWindow(ScreenWindow, SW_SHOWMAXIMIZED);
    ReloadFileSprites();
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
    PumpMessages();
    if (ScreenActive && PrimarySurface && PrimarySurface->Flip(NULL, DDFLIP_WAIT) == DDERR_SURFACELOST)
        RestoreScreen();
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

static void CloseScreen(int32_t hideWindow)
{
    ReleaseAllSprites();
    if (DirectDraw)
        DirectDraw->SetCooperativeLevel(NULL, DDSCL_NORMAL);
    if (BackBuffer)
        BackBuffer->Release();
    BackBuffer = NULL;
    if (PrimarySurface)
        PrimarySurface->Release();
    PrimarySurface = NULL;
    DrawTarget = NULL;
    if (ScreenWindow)
        ShowCursor(TRUE);
    ScreenWindow = SavedScreenWindow;
    if (ScreenWindow && hideWindow)
        ShowWindow(ScreenWindow, SW_HIDE);
}

void CloseFullScreen(void)
{
    CloseScreen(1);
}

void EndSpriteSystem(void)
{
    if (!SpriteSystemStarted)
        return;
    // The window goes with the process. Hiding it first made Wine wait two seconds for
    // a window manager to withdraw it (plain X servers have none) before the end.
    CloseScreen(0);
    ReleaseDirectDraw();
    SpriteSystemStarted = 0;
}
