#pragma once
// The game's textures at their real sizes without files or a GPU: the registry sees images made
// by name, and uploads become numbered fakes.
#include <filesystem>
#include <map>
#include <string>

#include "render/texture_registry.h"
#include "render/texture_source.h"

class FakeTextures {
  public:
    FakeTextures() {
        TextureSource fake;
        fake.decode = [](const std::string& path, RgbaImage& image) {
            static const std::map<std::string, std::pair<int, int>> sizes = {
                {"NoteWhite.png", {24, 256}}, {"NoteBlack.png", {16, 160}},
                {"NoteTop.png", {24, 7}},     {"NoteMid.png", {24, 1}},
                {"NoteBot.png", {24, 7}},     {"Pixel.png", {1, 1}}};
            const auto found = sizes.find(std::filesystem::path(path).filename().string());
            if (found == sizes.end()) return false;
            image.width = found->second.first;
            image.height = found->second.second;
            image.pixels.assign(size_t(image.width) * size_t(image.height) * 4, 255);
            return true;
        };
        int next = 0;
        fake.upload = [next](const RgbaImage& image) mutable {
            return GpuTexture{uint32_t(++next), image.width, image.height};
        };
        fake.release = [](GpuTexture&) {};
        setTextureSource(fake);
        createTextureRegistry("Data/Textures");
        spritePass(0, 0); // empties the queue: no sprite pass exists here
    }
    ~FakeTextures() {
        releaseTextureRegistry();
        setTextureSource(pngTextureSource());
    }
};
