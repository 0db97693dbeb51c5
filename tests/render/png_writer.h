#pragma once
// Small PNG files for the render tests.
#include <png.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// RGBA pixels as a PNG file, rows stride bytes apart (negative: the last row first, as GL reads
// them back); false when libpng refuses.
inline bool writePng(const std::string& path, int width, int height, const uint8_t* rgba,
                     int stride) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width);
    image.height = png_uint_32(height);
    image.format = PNG_FORMAT_RGBA;
    return png_image_write_to_file(&image, path.c_str(), 0, rgba, stride, nullptr) != 0;
}

// A width by height image of one RGBA colour, written to path; false when libpng refuses.
inline bool writeSolidPng(const std::string& path, int width, int height, uint32_t rgba) {
    std::vector<uint8_t> pixels(size_t(width) * size_t(height) * 4);
    for (size_t i = 0; i < pixels.size(); i += 4) {
        pixels[i] = uint8_t(rgba >> 24);
        pixels[i + 1] = uint8_t(rgba >> 16);
        pixels[i + 2] = uint8_t(rgba >> 8);
        pixels[i + 3] = uint8_t(rgba);
    }
    return writePng(path, width, height, pixels.data(), 0);
}
