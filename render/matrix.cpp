#include "render/matrix.h"

Matrix4 operator*(const Matrix4& a, const Matrix4& b) {
    Matrix4 result;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += a.m[row * 4 + k] * b.m[k * 4 + col];
            result.m[row * 4 + col] = sum;
        }
    return result;
}

Matrix4 viewportTransform(int32_t width, int32_t height, float zScale, float zOffset) {
    float xScale = width > 0 ? 2.0f / float(width) : 0.0f;
    float yScale = height > 0 ? 2.0f / float(height) : 0.0f;
    Matrix4 m;
    m.m[0] = xScale;
    m.m[5] = -yScale;
    m.m[10] = zScale;
    m.m[12] = -1;
    m.m[13] = 1;
    m.m[14] = zOffset;
    return m;
}
