#pragma once
// Named textures, the "notes2" atlas, sprites and the per-frame sprite queue.
#include <cstdint>
#include <vector>

#include "render/colour.h"
#include "render/rect.h"

struct Sprite {
    int32_t textureIndex = 0;
    float x = 0, y = 0;
    float width = 0, height = 0;
    float scaleX = 1, scaleY = 1;
    Colour colour{1, 1, 1, 1};
    float rotation = 0; // radians, about the top-left corner
};

// One name's part of a loaded image; its index in the registry is the texture index.
struct TextureEntry {
    Rect source;         // texels; the whole image for a file
    int32_t texture = 0; // the image, shared by all regions of the atlas
    uint32_t nameHash = 0;
};

struct SpriteCommand {
    int32_t textureIndex = 0;
    Rect destination;
    Colour colour;
    float rotation = 0;
};

// djb2 over the name's bytes taken as signed chars; the empty name hashes to 5381.
uint32_t nameHash(const char* name);

// The one registry, on a directory such as "Data/Textures".
void createTextureRegistry(const char* directory);
void releaseTextureRegistry();

// The index of the entry for name: found by hash, else loaded from directory/name. A file that
// is missing or cannot be decoded is reported once on standard error and shows a placeholder.
int32_t load(const char* name);
// Adds the regions listed in "notes2.txt" over "notes2.png"; nothing when the list is missing.
void loadAtlas();
// nullptr for an index that load did not return.
const TextureEntry* textureEntry(int32_t index);
// The entry's size in texels; 0 by 0 for an unknown index.
void textureSize(int32_t index, float& width, float& height);

void loadSprite(Sprite& sprite, const char* name);
void drawSprite(const Sprite& sprite);
void queueSprite(int32_t textureIndex, const Rect& destination, const Colour& colour,
                 float rotation = 0);
const std::vector<SpriteCommand>& spriteQueue();

// The sprite pass: draws every queued sprite in one deferred batch and empties the queue.
// Commands with an unknown texture index are skipped.
bool createSpritePass();
void releaseSpritePass();
void spritePass(int renderWidth, int renderHeight);

class SpriteBatch;
// The pass's batch, which the text pass shares; nullptr before createSpritePass.
SpriteBatch* sharedSpriteBatch();
