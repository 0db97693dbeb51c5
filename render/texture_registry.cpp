#include "render/texture_registry.h"

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_reader.h"
#include "render/atlas_list.h"
#include "render/texture_source.h"

namespace {

struct TextureHolder {
    GpuTexture texture;
    bool ownsTexture = false; // false for the shared placeholder
};

struct Registry {
    std::string directory;
    std::vector<TextureHolder> textures;
    std::vector<TextureEntry> entries;
    GpuTexture placeholder;
};

std::unique_ptr<Registry> registry;
TextureSource source = pngTextureSource();

constexpr int32_t placeholderSide = 32;
constexpr uint64_t largestAtlasList = 4 << 20;

// Appends a holder for the image at path and returns its index.
int32_t loadImage(const std::string& path) {
    TextureHolder holder;
    RgbaImage image;
    if (source.decode && source.decode(path, image) && source.upload)
        holder.texture = source.upload(image);
    if (holder.texture.id != 0) {
        holder.ownsTexture = true;
    } else {
        std::fprintf(stderr, "Cannot load texture \"%s\"; drawing a placeholder\n", path.c_str());
        if (registry->placeholder.id == 0 && source.upload)
            registry->placeholder = source.upload(placeholderImage());
        holder.texture = registry->placeholder;
    }
    registry->textures.push_back(holder);
    return int32_t(registry->textures.size() - 1);
}

} // namespace

TextureSource pngTextureSource() {
    return {[](const std::string& path, RgbaImage& image) {
                return decodePngFile(path.c_str(), image);
            },
            uploadRgbaTexture, releaseGpuTexture};
}

void setTextureSource(const TextureSource& replacement) {
    source = replacement;
}

RgbaImage placeholderImage() {
    RgbaImage image;
    image.width = image.height = placeholderSide;
    image.pixels.resize(size_t(placeholderSide) * placeholderSide * 4);
    for (int32_t y = 0; y < placeholderSide; ++y)
        for (int32_t x = 0; x < placeholderSide; ++x) {
            bool magenta = ((x / 8) + (y / 8)) % 2 == 0;
            uint8_t* p = &image.pixels[(size_t(y) * placeholderSide + x) * 4];
            p[0] = magenta ? 255 : 0;
            p[1] = 0;
            p[2] = magenta ? 255 : 0;
            p[3] = 255;
        }
    return image;
}

uint32_t nameHash(const char* name) {
    uint32_t hash = 5381;
    if (!name) return hash;
    for (const char* c = name; *c; ++c)
        hash = hash * 33 + uint32_t(int32_t(static_cast<signed char>(*c)));
    return hash;
}

void createTextureRegistry(const char* directory) {
    if (registry) return;
    registry = std::make_unique<Registry>();
    registry->directory = directory ? directory : "";
}

void releaseTextureRegistry() {
    if (!registry) return;
    if (source.release) {
        for (TextureHolder& holder : registry->textures)
            if (holder.ownsTexture) source.release(holder.texture);
        if (registry->placeholder.id) source.release(registry->placeholder);
    }
    registry.reset();
}

int32_t loadTexture(const char* name) {
    if (!registry) return -1;
    if (!name) name = "";
    uint32_t hash = nameHash(name);
    for (size_t i = 0; i < registry->entries.size(); ++i)
        if (registry->entries[i].nameHash == hash) return int32_t(i);

    TextureEntry entry;
    entry.texture = loadImage(registry->directory + "/" + name);
    entry.nameHash = hash;
    const GpuTexture& texture = registry->textures[size_t(entry.texture)].texture;
    entry.source = {0, 0, texture.width, texture.height};
    registry->entries.push_back(entry);
    return int32_t(registry->entries.size() - 1);
}

void loadAtlas() {
    if (!registry) return;
    std::string listPath = registry->directory + "/notes2.txt";
    // A list longer than largestAtlasList is damaged anyway.
    std::vector<uint8_t> bytes;
    FileProblem problem = FileProblem::None;
    if (!readFileBytes(listPath, bytes, largestAtlasList, &problem)) {
        if (problem != FileProblem::Missing)
            std::fprintf(stderr, "\"%s\" is %s; the atlas is not loaded\n", listPath.c_str(),
                         describeFileProblem(problem));
        return;
    }
    int32_t atlas = loadImage(registry->directory + "/notes2.png");
    AtlasList list =
        parseAtlasList(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (list.damaged)
        std::fprintf(stderr, "\"%s\" is damaged at line %d; the regions after it are skipped\n",
                     listPath.c_str(), list.damagedLine);
    for (const AtlasRegion& region : list.regions) {
        TextureEntry entry;
        entry.source = region.source;
        entry.texture = atlas;
        entry.nameHash = nameHash(region.name.c_str());
        registry->entries.push_back(entry);
    }
}

const TextureEntry* textureEntry(int32_t index) {
    if (!registry || index < 0 || size_t(index) >= registry->entries.size()) return nullptr;
    return &registry->entries[size_t(index)];
}

const GpuTexture& entryImage(const TextureEntry& entry) {
    static const GpuTexture none;
    if (!registry || entry.texture < 0 || size_t(entry.texture) >= registry->textures.size())
        return none;
    return registry->textures[size_t(entry.texture)].texture;
}

void textureSize(int32_t index, float& width, float& height) {
    width = height = 0;
    if (const TextureEntry* entry = textureEntry(index)) {
        width = float(int64_t(entry->source.right) - entry->source.left);
        height = float(int64_t(entry->source.bottom) - entry->source.top);
    }
}
