#include "screen/quad.h"

#include <math.h>

static_assert(sizeof(QuadVertex) == 32, "QuadVertex must match D3DTLVERTEX");

void FillQuad(Quad* quad, int32_t width, int32_t height)
{
    static const float corners[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    for (int i = 0; i < 4; i++) {
        QuadVertex* vertex = &quad->vertices[i];
        vertex->x = corners[i][0] * (float)(width + 1);
        vertex->y = corners[i][1] * (float)(height + 1);
        vertex->z = 0;
        vertex->rhw = 1;
        vertex->diffuse = 0xFFFFFFFFu;
        vertex->specular = 0;
        vertex->u = corners[i][0];
        vertex->v = corners[i][1];
    }
    quad->baseWidth = (int16_t)(width + 1);
    quad->baseHeight = (int16_t)(height + 1);
}

void ResizeQuad(Quad* quad, int32_t width, int32_t height)
{
    QuadVertex* v = quad->vertices;
    v[0].x = 0;
    v[0].y = 0;
    v[1].x = (float)width;
    v[1].y = 0;
    v[2].x = 0;
    v[2].y = (float)height;
    v[3].x = (float)width;
    v[3].y = (float)height;
}

void TurnQuad(Quad* quad, int32_t angle, int32_t mode)
{
    int32_t cx, cy;
    if (mode == 0) {
        cx = quad->baseWidth / 2;
        cy = quad->baseHeight / 2;
    } else {
        cx = (int32_t)(quad->vertices[3].x / 2.0);
        cy = (int32_t)(quad->vertices[3].y / 2.0);
    }
    // The turn's own constants: 0.0175 per degree and 1.575 per quarter turn.
    float t = (float)(0.0175 * angle);
    static const int order[4] = {0, 1, 3, 2};
    for (int i = 0; i < 4; i++) {
        QuadVertex* vertex = &quad->vertices[order[i]];
        double c = cos((double)t);
        double s = sin((double)t);
        vertex->x = (float)(cx + cx * c + cy * s);
        vertex->y = (float)(cy + cx * s - cy * c);
        t = (float)(t + 1.575);
    }
}

void PlaceQuad(const Quad* quad, int32_t x, int32_t y, int32_t alpha, QuadVertex out[4])
{
    uint32_t mask = ((uint32_t)(alpha & 0xFF) << 24) | 0xFFFFFFu;
    for (int i = 0; i < 4; i++) {
        out[i] = quad->vertices[i];
        out[i].x += (float)x;
        out[i].y += (float)y;
        out[i].diffuse &= mask;
    }
}
