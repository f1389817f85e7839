// The reference for the engine benchmark: the DirectX calls the show makes per frame
// (message pump, flip, colour fill, a scene of 100 textured quads of the same texture
// and sizes, keyboard read), made directly with nothing in between. The copies fly by
// the application's motion from the same seed as in the engine benchmark.
#define DIRECTINPUT_VERSION 0x0700
#include <windows.h>
#include <d3d.h>
#include <ddraw.h>
#include <dinput.h>
#include <math.h>
#include <stdio.h>
#include <string.h>

#include "allocation_count.h"
#include "app/copies.h"
#include "app/motion.h"
#include "app/picture.h"
#include "frame_meter.h"
#include "image/image.h"
#include "image/png_decoder.h"
#include "runtime/program.h"
#include "runtime/random.h"
#include "screen/pixels.h"

enum { BENCH_SEED = 12345, BENCH_COPIES = 100 };

static IDirectDraw7* Draw;
static IDirectDrawSurface7* Primary;
static IDirectDrawSurface7* Back;
static IDirectDrawSurface7* Texture;
static IDirect3D7* D3D;
static IDirect3DDevice7* Device;
static IDirectInput7A* Input;
static IDirectInputDevice7A* Keyboard;
static DDBLTFX Fill;
static int32_t TextureWidth, TextureHeight;
static uint8_t Keys[256];

static int Fail(const char* what)
{
    printf("reference_failed %s\n", what);
    return 1;
}

static int LoadTexture(void)
{
    EnablePngDecoder();
    DecodedImage image;
    memset(&image, 0, sizeof image);
    if (!OpenImage(EmbeddedPicture, EmbeddedPictureSize, &image))
        return 0;
    DDSURFACEDESC2 description;
    memset(&description, 0, sizeof description);
    description.dwSize = sizeof description;
    description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    description.dwWidth = (DWORD)image.width;
    description.dwHeight = (DWORD)image.height;
    description.ddsCaps.dwCaps = DDSCAPS_TEXTURE;
    if (Draw->CreateSurface(&description, &Texture, NULL) != DD_OK)
        return 0;
    if (Texture->Lock(NULL, &description, DDLOCK_WAIT, NULL) != DD_OK)
        return 0;
    PixelLayout layout = {16, PIXEL_FORMAT_565};
    CopyImageToSurface(layout, &image, (uint8_t*)description.lpSurface, (int32_t)description.lPitch);
    Texture->Unlock(NULL);
    DDCOLORKEY key = {0, 0};
    Texture->SetColorKey(DDCKEY_SRCBLT, &key);
    TextureWidth = image.width;
    TextureHeight = image.height;
    ReleaseDecodedImage(&image);
    return 1;
}

static int SetUp(void)
{
    WNDCLASSEXA windowClass;
    memset(&windowClass, 0, sizeof windowClass);
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = "ReferenceBench";
    RegisterClassExA(&windowClass);
    HWND window = CreateWindowExA(0, "ReferenceBench", "Reference", WS_POPUP, 0, 0, 640, 480, NULL, NULL,
                                  GetModuleHandleA(NULL), NULL);
    if (DirectDrawCreateEx(NULL, (void**)&Draw, IID_IDirectDraw7, NULL) != DD_OK)
        return Fail("DirectDrawCreateEx");
    Draw->SetCooperativeLevel(window, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE);
    if (Draw->SetDisplayMode(640, 480, 16, 0, 0) != DD_OK)
        return Fail("SetDisplayMode");
    DDSURFACEDESC2 description;
    memset(&description, 0, sizeof description);
    description.dwSize = sizeof description;
    description.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    description.dwBackBufferCount = 1;
    description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE;
    if (Draw->CreateSurface(&description, &Primary, NULL) != DD_OK)
        return Fail("CreateSurface");
    DDSCAPS2 caps;
    memset(&caps, 0, sizeof caps);
    caps.dwCaps = DDSCAPS_BACKBUFFER | DDSCAPS_3DDEVICE;
    if (Primary->GetAttachedSurface(&caps, &Back) != DD_OK)
        return Fail("GetAttachedSurface");
    ShowWindow(window, SW_SHOWMAXIMIZED);
    if (!LoadTexture())
        return Fail("texture");
    if (Draw->QueryInterface(IID_IDirect3D7, (void**)&D3D) != DD_OK)
        return Fail("IDirect3D7");
    if (D3D->CreateDevice(IID_IDirect3DHALDevice, Back, &Device) != D3D_OK)
        return Fail("CreateDevice");
    if (DirectInputCreateEx(GetModuleHandleA(NULL), 0x0700, IID_IDirectInput7A, (void**)&Input, NULL) != DI_OK ||
        Input->CreateDeviceEx(GUID_SysKeyboard, IID_IDirectInputDevice7A, (void**)&Keyboard, NULL) != DI_OK)
        return Fail("keyboard");
    Keyboard->SetDataFormat(&c_dfDIKeyboard);
    Keyboard->SetCooperativeLevel(window, DISCL_EXCLUSIVE | DISCL_FOREGROUND);
    Keyboard->Acquire();
    memset(&Fill, 0, sizeof Fill);
    Fill.dwSize = sizeof Fill;
    return 0;
}

// The quad of an edge x edge square turned by angle degrees about its centre, at (x, y).
static void MakeQuad(D3DTLVERTEX vertices[4], int32_t edge, int32_t angle, int32_t x, int32_t y)
{
    static const float uv[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    static const int order[4] = {0, 1, 3, 2};
    int32_t half = edge / 2;
    float t = (float)(0.0175 * angle);
    for (int i = 0; i < 4; i++) {
        D3DTLVERTEX* vertex = &vertices[order[i]];
        double c = cos((double)t), s = sin((double)t);
        vertex->sx = (float)(half + half * c + half * s) + (float)x;
        vertex->sy = (float)(half + half * s - half * c) + (float)y;
        vertex->sz = 0;
        vertex->rhw = 1;
        vertex->color = 0xFFFFFFFF;
        vertex->specular = 0;
        vertex->tu = uv[order[i]][0];
        vertex->tv = uv[order[i]][1];
        t = (float)(t + 1.575);
    }
}

static void ReferenceFrame(void)
{
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    Primary->Flip(NULL, DDFLIP_WAIT);
    Fill.dwFillColor = 0;
    Back->Blt(NULL, NULL, NULL, DDBLT_COLORFILL, &Fill);
    if (Device->BeginScene() == D3D_OK) {
        Device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
        Device->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
        Device->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
        Device->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, TRUE);
        for (int32_t i = 1; i <= BENCH_COPIES; i++) {
            D3DTLVERTEX vertices[4];
            MakeQuad(vertices, RoundToInt(Size[i]), RoundToInt(Angle[i]), RoundToInt(PosX[i]), RoundToInt(PosY[i]));
            Device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_POINT);
            Device->SetTexture(0, Texture);
            Device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
            Device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, vertices, 4, 0);
            MoveCopy(i);
            CheckBounds(i);
        }
        Device->EndScene();
    }
    Keyboard->GetDeviceState(sizeof Keys, Keys);
}

int main(int argc, char** argv)
{
    int frames = argc > 1 ? atoi(argv[1]) : 600;
    CountAllocations();
    StartProgram(GetModuleHandleA(NULL), ResetImageDecoders, NULL);
    AllocateCopyTables();
    if (SetUp())
        return 1;
    SeedRandom(BENCH_SEED);
    for (int32_t i = 1; i <= BENCH_COPIES; i++)
        InitCopy(i);
    ReferenceFrame();
    printf("reference_start_to_first_flip_ms %.1f\n", MillisecondsSinceStart());
    // Set-up allocates; a count of 0 here would mean the counting is not hooked in.
    printf("reference_setup_allocations %llu\n", (unsigned long long)AllocationsSoFar());
    MeasureFrames("reference", ReferenceFrame, frames, RoundsOnRequest(argc, argv));
    Draw->SetCooperativeLevel(NULL, DDSCL_NORMAL);
    ExitProcess(0);
}
