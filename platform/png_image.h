#pragma once
// PNG files decoded to 32-bit RGBA, rows top to bottom, no mipmaps.
#include <cstddef>
#include <cstdint>
#include <vector>

struct RgbaImage {
    int32_t width = 0, height = 0;
    std::vector<uint8_t> pixels; // width * height * 4 bytes: red, green, blue, alpha
};

// Images larger than this on either side, or with more pixels in all (64 MB of RGBA), are
// refused rather than allocated: a damaged header must not claim gigabytes.
constexpr int32_t maxImageSide = 16384;
constexpr int64_t maxImagePixels = int64_t(4096) * 4096;

// False, with image left empty, for a missing, truncated or undecodable file, or one that is no
// regular file.
bool decodePngFile(const char* path, RgbaImage& image);
bool decodePngMemory(const void* data, size_t size, RgbaImage& image);
