#include "screen/sprites.h"

#include <stdlib.h>
#include <string.h>

#include "image/image.h"
#include "runtime/heap.h"
#include "runtime/table.h"
#include "screen/pixels.h"
#include "screen/screen.h"

typedef struct SpriteEntry {
    void* surface; // IDirectDrawSurface7*, or the pixel block of a mode 2 sprite; NULL = empty
    int16_t width;
    int16_t height;
    int16_t depth; // bits per pixel of the source image; SPRITE_DEPTH_BLOCK for a block
    int16_t mode;
    char* fileName; // malloc'd copy; "" for sprites made from memory
    int16_t drawWidth;
    int16_t drawHeight;
    int16_t extra[2];
    const void* memorySource; // what a sprite made from memory was made from, or NULL
    size_t memoryLength;
    uint32_t colorKey; // the surface's source colour key
} SpriteEntry;

enum { SPRITE_DEPTH_BLOCK = -2 };
enum { SPRITE_TABLE_START = 50, SPRITE_TABLE_STEP = 50, SPRITE_TABLE_SPARE = 1 };

static NumberedTable Sprites;
static uint32_t DefaultColorKey;
static DDSURFACEDESC2 SpriteDescription;

void ResetSpriteTable(void)
{
    memset(&SpriteDescription, 0, sizeof SpriteDescription);
    SpriteDescription.dwSize = sizeof SpriteDescription;
    DefaultColorKey = 0;
    CreateTable(&Sprites, SPRITE_TABLE_START, SPRITE_TABLE_STEP, SPRITE_TABLE_SPARE, sizeof(SpriteEntry));
}

static SpriteEntry* FindSprite(int32_t sprite)
{
    return (SpriteEntry*)FindTableEntry(&Sprites, sprite);
}

IDirectDrawSurface7* FindSpriteTexture(int32_t sprite, int32_t* width, int32_t* height)
{
    SpriteEntry* entry = FindSprite(sprite);
    if (!entry || !entry->surface || entry->mode != SPRITE_MODE_TEXTURE)
        return NULL;
    *width = entry->width;
    *height = entry->height;
    return (IDirectDrawSurface7*)entry->surface;
}

void ReleaseSprite(int32_t sprite)
{
    SpriteEntry* entry = FindSprite(sprite);
    if (!entry || !entry->surface)
        return;
    if (entry->depth == SPRITE_DEPTH_BLOCK)
        FreeBlock(entry->surface);
    else
        ((IDirectDrawSurface7*)entry->surface)->Release();
    free(entry->fileName);
    entry->fileName = NULL;
    entry->surface = NULL;
    entry->memorySource = NULL;
}

void ReleaseAllSprites(void)
{
    for (int32_t sprite = 0; sprite < Sprites.capacity; sprite++)
        ReleaseSprite(sprite);
}

static DWORD SurfaceCaps(int32_t mode)
{
    switch (mode) {
    case SPRITE_MODE_SYSTEM:
        return DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    case SPRITE_MODE_TEXTURE:
        return DDSCAPS_TEXTURE;
    default:
        return DDSCAPS_OFFSCREENPLAIN;
    }
}

static void CreateStorage(SpriteEntry* entry, const DecodedImage* image, int32_t mode)
{
    if (mode == SPRITE_MODE_BLOCK) {
        if (image->bitsPerPixel != 0 && image->bitsPerPixel != 8)
            return;
        entry->surface = AllocateBlock((size_t)image->width * (size_t)image->height);
        entry->depth = SPRITE_DEPTH_BLOCK;
        return;
    }
    IDirectDraw7* directDraw = ScreenDirectDraw();
    if (!directDraw || !DepthFitsScreen(ScreenPixelLayout(), image->bitsPerPixel))
        return;
    memset(&SpriteDescription, 0, sizeof SpriteDescription);
    SpriteDescription.dwSize = sizeof SpriteDescription;
    SpriteDescription.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    SpriteDescription.dwHeight = (DWORD)image->height;
    SpriteDescription.dwWidth = (DWORD)image->width;
    SpriteDescription.ddsCaps.dwCaps = SurfaceCaps(mode);
    IDirectDrawSurface7* surface = NULL;
    if (directDraw->CreateSurface(&SpriteDescription, &surface, NULL) == DD_OK)
        entry->surface = surface;
}

static char* CopyFileName(const char* fileName)
{
    if (!fileName)
        fileName = "";
    size_t length = strlen(fileName) + 1;
    char* copy = (char*)malloc(length);
    if (copy)
        memcpy(copy, fileName, length);
    return copy;
}

static void SetSurfaceKey(IDirectDrawSurface7* surface, uint32_t value)
{
    DDCOLORKEY key;
    key.dwColorSpaceLowValue = value;
    key.dwColorSpaceHighValue = value;
    surface->SetColorKey(DDCKEY_SRCBLT, &key);
}

static void* FillSurface(IDirectDrawSurface7* surface, const DecodedImage* image, uint32_t colorKey)
{
    if (surface->Lock(NULL, &SpriteDescription, DDLOCK_WAIT, NULL) != DD_OK)
        return NULL;
    void* result = NULL;
    if (CopyImageToSurface(ScreenPixelLayout(), image, (uint8_t*)SpriteDescription.lpSurface,
                           (int32_t)SpriteDescription.lPitch))
        result = surface;
    surface->Unlock(NULL);
    SetSurfaceKey(surface, colorKey);
    return result;
}

void* CreateSpriteFromImage(int32_t sprite, const void* data, size_t length, int32_t mode, const char* fileName)
{
    if (!MakeRoomInTable(&Sprites, sprite))
        return NULL;
    ReleaseSprite(sprite);
    DecodedImage image;
    memset(&image, 0, sizeof image);
    if (!data || !OpenImage(data, length, &image))
        return NULL;
    void* result = NULL;
    // Sizes beyond the entry's 16-bit fields are not representable.
    if (image.width > 0 && image.height > 0 && image.width <= INT16_MAX && image.height <= INT16_MAX) {
        SpriteEntry* entry = FindSprite(sprite);
        memset(entry, 0, sizeof *entry);
        entry->width = (int16_t)image.width;
        entry->height = (int16_t)image.height;
        entry->depth = (int16_t)image.bitsPerPixel;
        entry->mode = (int16_t)mode;
        entry->drawWidth = entry->width;
        entry->drawHeight = entry->height;
        entry->colorKey = DefaultColorKey;
        CreateStorage(entry, &image, mode);
        if (entry->surface) {
            entry->fileName = CopyFileName(fileName);
            if (mode == SPRITE_MODE_BLOCK) {
                CopyImageToBlock(&image, (uint8_t*)entry->surface);
                result = entry->surface;
            } else {
                result = FillSurface((IDirectDrawSurface7*)entry->surface, &image, entry->colorKey);
            }
        }
    }
    ReleaseDecodedImage(&image);
    return result;
}

// The whole file in a block of the global heap (free it with GlobalFree), or NULL.
static HGLOBAL ReadWholeFile(const char* fileName, DWORD* length)
{
    HANDLE file = CreateFileA(fileName ? fileName : "", GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return NULL;
    DWORD size = GetFileSize(file, NULL);
    HGLOBAL block = size == INVALID_FILE_SIZE ? NULL : GlobalAlloc(GMEM_FIXED, size ? size : 1);
    // Only the bytes actually read are handed on.
    if (block && !ReadFile(file, block, size, length, NULL))
        *length = 0;
    CloseHandle(file);
    return block;
}

void* LoadSpriteFile(int32_t sprite, const char* fileName, int32_t mode)
{
    DWORD length = 0;
    HGLOBAL block = ReadWholeFile(fileName, &length);
    if (!block)
        return NULL;
    void* result = CreateSpriteFromImage(sprite, block, length, mode, fileName);
    GlobalFree(block);
    return result;
}

void* LoadSpriteFromMemory(int32_t sprite, const void* address, size_t length, int32_t mode)
{
    void* result = CreateSpriteFromImage(sprite, address, length, mode, "");
    SpriteEntry* entry = FindSprite(sprite);
    if (entry && entry->surface) {
        entry->memorySource = address;
        entry->memoryLength = length;
    }
    return result;
}

void SetSpriteColorKey(int32_t sprite, int32_t red, int32_t green, int32_t blue)
{
    uint32_t value = PackColor(red, green, blue);
    if (sprite < 0) {
        DefaultColorKey = value;
        return;
    }
    SpriteEntry* entry = FindSprite(sprite);
    if (!entry || !entry->surface || entry->depth == SPRITE_DEPTH_BLOCK)
        return;
    entry->colorKey = value;
    SetSurfaceKey((IDirectDrawSurface7*)entry->surface, value);
}

// A restored surface's pixels are undefined: it is filled again from the picture it was
// made from, when that still gives a picture of the sprite's size. The surface stays
// the same, so the 3-D sprites that show it keep working. 1 when it was filled.
static int32_t RefillSurface(SpriteEntry* entry, const void* data, size_t length)
{
    DecodedImage image;
    if (!OpenImage(data, length, &image))
        return 0;
    int32_t filled = 0;
    if (image.width == entry->width && image.height == entry->height &&
        DepthFitsScreen(ScreenPixelLayout(), image.bitsPerPixel))
        filled = FillSurface((IDirectDrawSurface7*)entry->surface, &image, entry->colorKey) != NULL;
    ReleaseDecodedImage(&image);
    return filled;
}

static int32_t RefillFromSource(SpriteEntry* entry)
{
    if (!RestoreSurface((IDirectDrawSurface7*)entry->surface))
        return 0;
    if (entry->memorySource)
        return RefillSurface(entry, entry->memorySource, entry->memoryLength);
    if (!entry->fileName || !entry->fileName[0])
        return 0;
    DWORD length = 0;
    HGLOBAL block = ReadWholeFile(entry->fileName, &length);
    if (!block)
        return 0;
    int32_t filled = RefillSurface(entry, block, length);
    GlobalFree(block);
    return filled;
}

void RefillSprites(void)
{
    for (int32_t sprite = 0; sprite < Sprites.capacity; sprite++) {
        SpriteEntry* entry = FindSprite(sprite);
        if (!entry->surface || entry->depth == SPRITE_DEPTH_BLOCK || RefillFromSource(entry))
            continue;
        if (entry->mode != SPRITE_MODE_DEFAULT)
            continue;
        // A default-mode sprite whose file changed is loaded afresh. The reload frees the
        // slot first, and with it the stored name: take it over.
        char* name = entry->fileName;
        entry->fileName = NULL;
        LoadSpriteFile(sprite, name, SPRITE_MODE_DEFAULT);
        free(name);
    }
}
