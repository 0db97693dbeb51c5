#include "platform/png_image.h"

#include <png.h>

#include <cstring>

#include "platform/file_reader.h"

namespace {

bool finishRead(png_image& png, RgbaImage& image) {
    if (PNG_IMAGE_FAILED(png) || png.width == 0 || png.height == 0 ||
        png.width > uint32_t(maxImageSide) || png.height > uint32_t(maxImageSide) ||
        int64_t(png.width) * int64_t(png.height) > maxImagePixels) {
        png_image_free(&png);
        return false;
    }
    png.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&png);
        return false;
    }
    image.width = int32_t(png.width);
    image.height = int32_t(png.height);
    image.pixels = std::move(pixels);
    png_image_free(&png);
    return true;
}

} // namespace

bool decodePngFile(const char* path, RgbaImage& image) {
    image = RgbaImage{};
    // Read by our own file layer, which refuses pipes and devices instead of waiting on them;
    // twice the largest image's pixels is more than any PNG of it needs.
    std::vector<uint8_t> bytes;
    if (!path || !readFileBytes(path, bytes, uint64_t(maxImagePixels) * 4 * 2)) return false;
    return decodePngMemory(bytes.data(), bytes.size(), image);
}

bool decodePngMemory(const void* data, size_t size, RgbaImage& image) {
    image = RgbaImage{};
    if (!data || size == 0) return false;
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, data, size)) {
        png_image_free(&png);
        return false;
    }
    return finishRead(png, image);
}
