#pragma once
// Named textures: image files below one folder, the regions of the "notes2" atlas, and a
// placeholder for files that cannot be loaded.
#include <cstdint>

#include "render/gpu_texture.h"
#include "render/rect.h"

// One name's part of a loaded image; its index in the registry is the texture index.
struct TextureEntry {
    Rect source;         // texels; the whole image for a file
    int32_t texture = 0; // the image, shared by all regions of the atlas
    uint32_t nameHash = 0;
};

// djb2 over the name's bytes taken as signed chars; the empty name hashes to 5381.
uint32_t nameHash(const char* name);

// The one registry, on a directory such as "Data/Textures".
void createTextureRegistry(const char* directory);
void releaseTextureRegistry();

// The index of the entry for name: found by hash, else loaded from directory/name. A file that
// is missing or cannot be decoded is reported once on standard error and shows a placeholder.
int32_t loadTexture(const char* name);
// Adds the regions listed in "notes2.txt" over "notes2.png"; nothing when the list is missing.
void loadAtlas();
// nullptr for an index that loadTexture did not return.
const TextureEntry* textureEntry(int32_t index);
// The image the entry's region lies in; an empty texture for an entry not from this registry.
const GpuTexture& entryImage(const TextureEntry& entry);
// The entry's size in texels; 0 by 0 for an unknown index.
void textureSize(int32_t index, float& width, float& height);
