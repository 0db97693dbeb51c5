#include "tools/textures/image.h"

#include <png.h>

#include "platform/file_replacement.h"

Image makeImage(int width, int height) {
    Image image;
    image.width = width;
    image.height = height;
    image.rgba.assign(size_t(width) * size_t(height) * 4, 0);
    return image;
}

uint8_t* texel(Image& image, int x, int y) {
    return image.rgba.data() + (size_t(y) * size_t(image.width) + size_t(x)) * 4;
}

const uint8_t* texel(const Image& image, int x, int y) {
    return image.rgba.data() + (size_t(y) * size_t(image.width) + size_t(x)) * 4;
}

bool writePng(const Image& image, const std::string& path, std::string& error) {
    if (image.width <= 0 || image.height <= 0 ||
        image.rgba.size() != size_t(image.width) * size_t(image.height) * 4) {
        error = path + ": image has no pixels";
        return false;
    }
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = png_uint_32(image.width);
    png.height = png_uint_32(image.height);
    png.format = PNG_FORMAT_RGBA;
    // Encoded in memory, then replaced whole: an interrupted run leaves the committed texture.
    png_alloc_size_t size = 0;
    std::vector<uint8_t> bytes;
    bool encoded =
        png_image_write_to_memory(&png, nullptr, &size, 0, image.rgba.data(), 0, nullptr);
    if (encoded) {
        bytes.resize(size);
        encoded =
            png_image_write_to_memory(&png, bytes.data(), &size, 0, image.rgba.data(), 0, nullptr);
    }
    if (!encoded) {
        error = path + ": " + png.message;
        png_image_free(&png);
        return false;
    }
    return replaceFile(path, bytes.data(), size, &error);
}

bool readPng(const std::string& path, Image& image, std::string& error) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) {
        error = path + ": " + png.message;
        png_image_free(&png);
        return false;
    }
    // Textures are small; anything beyond this is not one of ours.
    constexpr png_uint_32 maxSide = 16384;
    if (png.width == 0 || png.height == 0 || png.width > maxSide || png.height > maxSide) {
        error = path + ": unexpected image size";
        png_image_free(&png);
        return false;
    }
    png.format = PNG_FORMAT_RGBA;
    image = makeImage(int(png.width), int(png.height));
    if (!png_image_finish_read(&png, nullptr, image.rgba.data(), 0, nullptr)) {
        error = path + ": " + png.message;
        png_image_free(&png);
        image = Image{};
        return false;
    }
    return true;
}
