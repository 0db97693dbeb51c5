#pragma once
// The per-frame sprite queue and the pass that draws it in one batch.
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

struct SpriteCommand {
    int32_t textureIndex = 0;
    Rect destination;
    Colour colour;
    float rotation = 0;
};

// The registry's texture for name, at its size in texels.
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
