#pragma once
// Numbered sprites: pictures held in DirectDraw surfaces in the screen's pixel
// format, or (mode 2) as a block of 8-bit pixels in the program heap.
#include <stddef.h>
#include <stdint.h>

struct IDirectDrawSurface7;

enum {
    SPRITE_MODE_DEFAULT = 0, // surface wherever DirectDraw puts it; loaded afresh after a loss
    SPRITE_MODE_SYSTEM = 1,  // surface in system memory
    SPRITE_MODE_BLOCK = 2,   // 8-bit pixels in the program heap
    SPRITE_MODE_TEXTURE = 4, // texture for 3-D sprites
};

// Non-zero on success: the surface, or the block of a mode 2 sprite; 0 on failure.
void* LoadSpriteFile(int32_t sprite, const char* fileName, int32_t mode);
// The bytes at address are read again whenever the surface has to be filled anew
// (after the screen was lost), so they must stay valid as long as the sprite lives.
void* LoadSpriteFromMemory(int32_t sprite, const void* address, size_t length, int32_t mode);
void* CreateSpriteFromImage(int32_t sprite, const void* data, size_t length, int32_t mode, const char* fileName);
void ReleaseSprite(int32_t sprite);
// A negative sprite number sets the default key of sprites created later.
void SetSpriteColorKey(int32_t sprite, int32_t red, int32_t green, int32_t blue);
// The surface of a texture-mode sprite and its size, or NULL.
struct IDirectDrawSurface7* FindSpriteTexture(int32_t sprite, int32_t* width, int32_t* height);

// For the screen: a fresh table, every slot freed, and after a loss of the screen every
// sprite filled again from its file or memory (a default-mode sprite whose picture is
// no longer the same size loaded afresh from its file).
void ResetSpriteTable(void);
void ReleaseAllSprites(void);
void RefillSprites(void);
