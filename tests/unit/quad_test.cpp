#include <gtest/gtest.h>

#include "screen/quad.h"

namespace {

void ExpectAt(const QuadVertex& vertex, float x, float y, float tolerance)
{
    EXPECT_NEAR(vertex.x, x, tolerance);
    EXPECT_NEAR(vertex.y, y, tolerance);
}

} // namespace

TEST(Quad, NewQuadCoversThePictureAndOneMore)
{
    Sprite3DEntry entry = {};
    FillQuad(&entry, 256, 256);
    EXPECT_EQ(entry.baseWidth, 257);
    EXPECT_EQ(entry.baseHeight, 257);
    const float corners[4][2] = {{0, 0}, {257, 0}, {0, 257}, {257, 257}};
    const float uv[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(entry.vertices[i].x, corners[i][0]) << i;
        EXPECT_EQ(entry.vertices[i].y, corners[i][1]) << i;
        EXPECT_EQ(entry.vertices[i].z, 0.0f);
        EXPECT_EQ(entry.vertices[i].rhw, 1.0f);
        EXPECT_EQ(entry.vertices[i].diffuse, 0xFFFFFFFFu);
        EXPECT_EQ(entry.vertices[i].specular, 0u);
        EXPECT_EQ(entry.vertices[i].u, uv[i][0]);
        EXPECT_EQ(entry.vertices[i].v, uv[i][1]);
    }
}

TEST(Quad, ResizeKeepsTextureAndTakesSizesAsGiven)
{
    Sprite3DEntry entry = {};
    FillQuad(&entry, 64, 32);
    ResizeQuad(&entry, 100, 40);
    ExpectAt(entry.vertices[0], 0, 0, 0);
    ExpectAt(entry.vertices[1], 100, 0, 0);
    ExpectAt(entry.vertices[2], 0, 40, 0);
    ExpectAt(entry.vertices[3], 100, 40, 0);
    EXPECT_EQ(entry.vertices[3].u, 1.0f);
    EXPECT_EQ(entry.baseWidth, 65);
    ResizeQuad(&entry, -10, -20); // mirrored, not refused
    ExpectAt(entry.vertices[3], -10, -20, 0);
}

TEST(Quad, TurnAboutTheCurrentSize)
{
    Sprite3DEntry entry = {};
    FillQuad(&entry, 256, 256);
    ResizeQuad(&entry, 100, 100);
    TurnQuad(&entry, 0, 1);
    // Centre (50, 50); a quarter turn is 1.575, so the corners are near, not on, the square.
    ExpectAt(entry.vertices[0], 100, 0, 0.001f);
    ExpectAt(entry.vertices[1], 100, 100, 1.0f);
    ExpectAt(entry.vertices[3], 0, 100, 1.0f);
    ExpectAt(entry.vertices[2], 0, 0, 1.0f);
    EXPECT_NE(entry.vertices[1].x, 100.0f);

    // 90 degrees is 1.575 radians here: vertex 0 lands where vertex 1 did at 0.
    ResizeQuad(&entry, 100, 100);
    TurnQuad(&entry, 90, 1);
    ExpectAt(entry.vertices[0], 100, 100, 0.5f);

    // A second turn in mode 1 starts from the turned vertex 3, not the size.
    Sprite3DEntry again = {};
    ResizeQuad(&again, 100, 100);
    TurnQuad(&again, 0, 1);
    float turnedX = again.vertices[3].x;
    TurnQuad(&again, 0, 1);
    int32_t cx = (int32_t)(turnedX / 2.0);
    EXPECT_NEAR(again.vertices[0].x, 2.0f * cx, 0.001f);
}

TEST(Quad, TurnInModeZeroUsesTheCreationSize)
{
    Sprite3DEntry entry = {};
    FillQuad(&entry, 64, 64); // base 65: centre 32
    ResizeQuad(&entry, 200, 200);
    TurnQuad(&entry, 0, 0);
    ExpectAt(entry.vertices[0], 64, 0, 0.001f);
    ExpectAt(entry.vertices[1], 64, 64, 1.0f);
}

TEST(Quad, TurnOfOddAndNegativeSizesTruncatesTheCentre)
{
    Sprite3DEntry entry = {};
    ResizeQuad(&entry, 101, 51);
    TurnQuad(&entry, 0, 1); // centre (50, 25)
    ExpectAt(entry.vertices[0], 100, 0, 0.001f);
    ResizeQuad(&entry, -7, -7);
    TurnQuad(&entry, 0, 1); // -3.5 truncates toward zero to -3
    ExpectAt(entry.vertices[0], -6, 0, 0.001f);
}

TEST(Quad, PlaceMovesAndMasksAlpha)
{
    Sprite3DEntry entry = {};
    FillQuad(&entry, 10, 10);
    QuadVertex out[4];
    PlaceQuad(&entry, 5, -3, 0x180, out); // only the low 8 bits count
    EXPECT_EQ(out[0].x, 5.0f);
    EXPECT_EQ(out[0].y, -3.0f);
    EXPECT_EQ(out[3].x, 16.0f);
    EXPECT_EQ(out[3].y, 8.0f);
    for (const QuadVertex& vertex : out)
        EXPECT_EQ(vertex.diffuse, 0x80FFFFFFu);
    EXPECT_EQ(entry.vertices[0].x, 0.0f) << "drawing changed the entry";
    Sprite3DEntry empty = {};
    PlaceQuad(&empty, 0, 0, 255, out);
    EXPECT_EQ(out[0].diffuse, 0u); // a failed sprite draws nothing visible
}
