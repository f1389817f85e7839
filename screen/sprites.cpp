#include "screen/sprites.h"

#include <stdlib.h>
#include <string.h>

#include "image/image.h"
#include "runtime/heap.h"
#include "screen/pixels.h"
#include "screen/screen.h"

SpriteEntry* SpriteTable;
int32_t SpriteCapacity;

static uint32_t DefaultColorKey;
static DDSURFACEDESC2 SpriteDescription;

enum { TABLE_GROWTH = 50 };

void ResetSpriteTable(void)
{
    memset(&SpriteDescription, 0, sizeof SpriteDescription);
    SpriteDescription.dwSize = sizeof SpriteDescription;
    DefaultColorKey = 0;
    SpriteCapacity = TABLE_GROWTH;
    SpriteTable = (SpriteEntry*)AllocateZeroedBlock((size_t)(SpriteCapacity + 1) * sizeof(SpriteEntry));
    if (!SpriteTable)
        SpriteCapacity = 0;
}

static int32_t GrowSpriteTable(int32_t sprite)
{
    if (sprite < 0)
        return 0;
    if (sprite < SpriteCapacity)
        return 1;
    int64_t capacity = (int64_t)sprite + TABLE_GROWTH;
    if (capacity > INT32_MAX - 1)
        return 0;
    SpriteEntry* grown = (SpriteEntry*)ReallocateZeroedBlock(SpriteTable, (size_t)(capacity + 1) * sizeof(SpriteEntry));
    if (!grown)
        return 0;
    SpriteTable = grown;
    SpriteCapacity = (int32_t)capacity;
    return 1;
}

SpriteEntry* FindSprite(int32_t sprite)
{
    if (!SpriteTable || sprite < 0 || sprite >= SpriteCapacity)
        return NULL;
    return &SpriteTable[sprite];
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
    for (int32_t sprite = 0; sprite < SpriteCapacity; sprite++)
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

static int32_t DepthFits(int32_t bitsPerPixel)
{
    return bitsPerPixel == 0 || bitsPerPixel == ScreenDepth || (bitsPerPixel >= 16 && ScreenDepth >= 16);
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
    if (!DirectDraw || !DepthFits(image->bitsPerPixel))
        return;
    memset(&SpriteDescription, 0, sizeof SpriteDescription);
    SpriteDescription.dwSize = sizeof SpriteDescription;
    SpriteDescription.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    SpriteDescription.dwHeight = (DWORD)image->height;
    SpriteDescription.dwWidth = (DWORD)image->width;
    SpriteDescription.ddsCaps.dwCaps = SurfaceCaps(mode);
    IDirectDrawSurface7* surface = NULL;
    if (DirectDraw->CreateSurface(&SpriteDescription, &surface, NULL) == DD_OK)
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
    if (CopyImageToSurface(image, (uint8_t*)SpriteDescription.lpSurface, (int32_t)SpriteDescription.lPitch))
        result = surface;
    surface->Unlock(NULL);
    SetSurfaceKey(surface, colorKey);
    return result;
}

void* CreateSpriteFromImage(int32_t sprite, const void* data, size_t length, int32_t mode, const char* fileName)
{
    if (!GrowSpriteTable(sprite))
        return NULL;
    ReleaseSprite(sprite);
    DecodedImage image;
    memset(&image, 0, sizeof image);
    if (!data || !OpenImage(data, length, &image))
        return NULL;
    void* result = NULL;
    // Sizes beyond the entry's 16-bit fields are not representable.
    if (image.width > 0 && image.height > 0 && image.width <= INT16_MAX && image.height <= INT16_MAX) {
        SpriteEntry* entry = &SpriteTable[sprite];
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
    if (image.width == entry->width && image.height == entry->height && DepthFits(image.bitsPerPixel))
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
    for (int32_t sprite = 0; sprite < SpriteCapacity; sprite++) {
        SpriteEntry* entry = &SpriteTable[sprite];
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
