#pragma once
// The screen-space quad of a 3-D sprite and its geometry. Platform-free: the
// vertex record is laid out as Direct3D's transformed-and-lit vertex.
#include <stdint.h>

typedef struct QuadVertex {
    float x, y, z, rhw;
    uint32_t diffuse, specular;
    float u, v;
} QuadVertex;

typedef struct Quad {
    QuadVertex vertices[4]; // triangle-strip order
    int16_t baseWidth;      // the picture's width + 1
    int16_t baseHeight;
} Quad;

// The quad of a new 3-D sprite over a width x height picture.
void FillQuad(Quad* quad, int32_t width, int32_t height);
// An axis-aligned width x height rectangle at the origin.
void ResizeQuad(Quad* quad, int32_t width, int32_t height);
// Turns the corners about the centre: mode 0 the creation size's, else the current size's.
void TurnQuad(Quad* quad, int32_t angle, int32_t mode);
// The vertices to submit: moved by (x, y), white with the low 8 bits of alpha.
void PlaceQuad(const Quad* quad, int32_t x, int32_t y, int32_t alpha, QuadVertex out[4]);
