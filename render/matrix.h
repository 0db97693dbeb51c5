#pragma once
// The 4x4 matrices the passes hand to their shaders.
#include <cstdint>

// Row-vector convention (position times matrix), stored row by row.
struct Matrix4 {
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};
Matrix4 operator*(const Matrix4& a, const Matrix4& b);

// Pixels (origin top-left, y down) to clip space for a viewport of width by height; a side that is
// not positive gives a zero scale. z becomes z * zScale + zOffset.
Matrix4 viewportTransform(int32_t width, int32_t height, float zScale = 1, float zOffset = 0);
