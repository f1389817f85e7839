#include "screen/sprite3d.h"

#include <windows.h>
#include <d3d.h>
#include <ddraw.h>
#include <string.h>

#include "runtime/table.h"
#include "screen/quad.h"
#include "screen/screen.h"
#include "screen/sprites.h"

static_assert(sizeof(QuadVertex) == sizeof(D3DTLVERTEX), "QuadVertex must match D3DTLVERTEX");

typedef struct Sprite3DEntry {
    IDirectDrawSurface7* texture; // borrowed from the sprite table; NULL = empty slot
    Quad quad;
} Sprite3DEntry;

enum { SPRITE3D_TABLE_START = 50, SPRITE3D_TABLE_STEP = 50, SPRITE3D_TABLE_SPARE = 1 };

static NumberedTable Sprites3D;

static IDirect3D7* Direct3D;
static IDirect3DDevice7* Device;
static int32_t DeviceToCreate;
static int32_t SceneOpen;
static int32_t FilterQuality;
static int32_t HoldsDirectDraw; // the use of DirectDraw taken for Direct3D

int32_t InitSprite3DSystem(void)
{
    CreateTable(&Sprites3D, SPRITE3D_TABLE_START, SPRITE3D_TABLE_STEP, SPRITE3D_TABLE_SPARE, sizeof(Sprite3DEntry));
    int32_t result = 0;
    IDirectDraw7* directDraw = ScreenDirectDraw();
    if (directDraw) {
        // Direct3D lives in DirectDraw's module: a use of it keeps that loaded.
        LoadDirectDraw();
        HoldsDirectDraw = 1;
        if (directDraw->QueryInterface(IID_IDirect3D7, (void**)&Direct3D) == DD_OK)
            result = 1;
        else
            Direct3D = NULL;
    }
    DeviceToCreate = 1;
    SceneOpen = 0;
    return result;
}

static Sprite3DEntry* FindSprite3D(int32_t sprite3D)
{
    return (Sprite3DEntry*)FindTableEntry(&Sprites3D, sprite3D);
}

int32_t MakeSprite3D(int32_t sprite3D, int32_t sprite)
{
    if (!MakeRoomInTable(&Sprites3D, sprite3D))
        return 0;
    ReleaseSprite3D(sprite3D);
    int32_t width = 0, height = 0;
    IDirectDrawSurface7* texture = FindSpriteTexture(sprite, &width, &height);
    if (!texture)
        return 0;
    Sprite3DEntry* entry = FindSprite3D(sprite3D);
    FillQuad(&entry->quad, width, height);
    entry->texture = texture;
    return 1;
}

void ReleaseSprite3D(int32_t sprite3D)
{
    Sprite3DEntry* entry = FindSprite3D(sprite3D);
    if (entry)
        entry->texture = NULL;
}

int32_t BeginScene3D(void)
{
    IDirectDrawSurface7* backBuffer = ScreenBackBuffer();
    if (DeviceToCreate && Direct3D && backBuffer) {
        D3DVIEWPORT7 viewport;
        if (Direct3D->CreateDevice(IID_IDirect3DHALDevice, backBuffer, &Device) == D3D_OK) {
            if (Device->GetViewport(&viewport) == D3D_OK) {
                DeviceToCreate = 0;
            } else {
                Device->Release();
                Device = NULL;
            }
        } else {
            Device = NULL;
        }
    }
    if (!Device || Device->BeginScene() != D3D_OK)
        return 0;
    Device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
    Device->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
    Device->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
    Device->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, TRUE);
    SceneOpen = 1;
    return 1;
}

void EndScene3D(void)
{
    if (!SceneOpen)
        return;
    Device->EndScene();
    SceneOpen = 0;
}

void SetSprite3DFilter(int32_t quality)
{
    FilterQuality = quality;
}

void ResizeSprite3D(int32_t sprite3D, int32_t width, int32_t height)
{
    Sprite3DEntry* entry = FindSprite3D(sprite3D);
    if (entry)
        ResizeQuad(&entry->quad, width, height);
}

void SetSprite3DAngle(int32_t sprite3D, int32_t angle, int32_t mode)
{
    Sprite3DEntry* entry = FindSprite3D(sprite3D);
    if (entry)
        TurnQuad(&entry->quad, angle, mode);
}

void DrawSprite3D(int32_t sprite3D, int32_t x, int32_t y, int32_t alpha)
{
    Sprite3DEntry* entry = FindSprite3D(sprite3D);
    if (!entry || !SceneOpen)
        return;
    QuadVertex vertices[4];
    PlaceQuad(&entry->quad, x, y, alpha, vertices);
    Device->SetTextureStageState(0, D3DTSS_MAGFILTER, FilterQuality == 0 ? D3DTFG_POINT : D3DTFG_LINEAR);
    Device->SetTexture(0, entry->texture);
    Device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
    Device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, vertices, 4, 0);
}

// The device goes first, with no texture bound, while the surfaces it draws from and
// into still exist; then Direct3D, then the use of DirectDraw that kept both loaded.
void EndSprite3DSystem(void)
{
    for (int32_t sprite3D = 0; sprite3D < Sprites3D.capacity; sprite3D++)
        FindSprite3D(sprite3D)->texture = NULL;
    if (Device) {
        if (SceneOpen)
            Device->EndScene();
        Device->SetTexture(0, NULL);
        Device->Release();
        Device = NULL;
    }
    SceneOpen = 0;
    DeviceToCreate = 0;
    if (Direct3D)
        Direct3D->Release();
    Direct3D = NULL;
    if (HoldsDirectDraw)
        ReleaseDirectDraw();
    HoldsDirectDraw = 0;
}
