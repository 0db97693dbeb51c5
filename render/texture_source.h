#pragma once
// Where the registry's images come from and go to. The default decodes PNG files and uploads them
// to GL; tests substitute their own to count reads and run without a GPU.
#include <functional>
#include <string>

#include "platform/png_image.h"
#include "render/gpu_texture.h"

struct TextureSource {
    std::function<bool(const std::string& path, RgbaImage& image)> decode;
    std::function<GpuTexture(const RgbaImage& image)> upload;
    std::function<void(GpuTexture& texture)> release;
};

TextureSource pngTextureSource();
// Takes effect for textures loaded afterwards; call before createTextureRegistry.
void setTextureSource(const TextureSource& source);

// The image shown for a texture that could not be loaded: a magenta and black checker.
RgbaImage placeholderImage();
