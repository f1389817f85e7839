#pragma once
// Numbered 3-D sprites: screen-space quads that show a texture-mode sprite through
// Direct3D 7, resized, turned and drawn with a uniform transparency.
#include <stdint.h>

// 0 when there is no Direct3D 7.
int32_t InitSprite3DSystem(void);
// 0 when the sprite slot is empty or the sprite is not a texture.
int32_t MakeSprite3D(int32_t sprite3D, int32_t sprite);
void ReleaseSprite3D(int32_t sprite3D);
// Non-zero when a scene is open and drawing may follow.
int32_t BeginScene3D(void);
void EndScene3D(void);
// 0 = point sampling, anything else = bilinear.
void SetSprite3DFilter(int32_t quality);
void ResizeSprite3D(int32_t sprite3D, int32_t width, int32_t height);
// Mode 0 turns about the centre of the creation size, any other about the current size's.
void SetSprite3DAngle(int32_t sprite3D, int32_t angle, int32_t mode);
// Alpha 0 (invisible) to 255 (opaque); only while a scene is open.
void DrawSprite3D(int32_t sprite3D, int32_t x, int32_t y, int32_t alpha);
void EndSprite3DSystem(void);
