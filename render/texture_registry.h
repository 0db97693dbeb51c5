#pragma once
// Named textures, the "notes2" atlas, sprites and the per-frame sprite queue.
#include <cstdint>

#include "render/colour.h"

struct Rect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct Sprite {
    int32_t textureIndex = 0;
    float x = 0, y = 0;
    float width = 0, height = 0;
    float scaleX = 1, scaleY = 1;
    Colour colour{1, 1, 1, 1};
    float rotation = 0; // radians, about the top-left corner
};

// djb2 over the name's bytes taken as signed chars; the empty name hashes to 5381.
uint32_t nameHash(const char* name);

// The one registry, on a directory such as "Data/Textures".
void createTextureRegistry(const char* directory);
void releaseTextureRegistry();

// The index of the entry for name: found by hash, else loaded from directory/name.
int32_t load(const char* name);
// Adds the regions listed in "notes2.txt" over "notes2.png"; nothing when the list is missing.
void loadAtlas();
// The entry's size in texels.
void textureSize(int32_t index, float& width, float& height);

void loadSprite(Sprite& sprite, const char* name);
void drawSprite(const Sprite& sprite);
void queueSprite(int32_t textureIndex, const Rect& destination, const Colour& colour,
                 float rotation = 0);

// The sprite pass: draws every queued sprite in one deferred batch and empties the queue.
bool createSpritePass();
void releaseSpritePass();
void spritePass(int renderWidth, int renderHeight);
