#pragma once
// A 2D texture on the GPU with its size; id 0 means none.
#include <cstdint>

struct RgbaImage;

struct GpuTexture {
    uint32_t id = 0;
    int32_t width = 0, height = 0;
};

// One mip level, linear filtering, clamped edges.
GpuTexture uploadRgbaTexture(const RgbaImage& image);
// A single-channel coverage texture that samples as white with the coverage as alpha.
GpuTexture createCoverageTexture(int32_t width, int32_t height, const uint8_t* coverage);
void updateCoverageTexture(const GpuTexture& texture, int32_t x, int32_t y, int32_t width,
                           int32_t height, const uint8_t* coverage);
void releaseGpuTexture(GpuTexture& texture);
