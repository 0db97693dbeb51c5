#include "render/sprite_pass.h"

#include <memory>

#include "render/common_states.h"
#include "render/sprite_batch.h"
#include "render/sprite_device.h"
#include "render/texture_registry.h"

namespace {

std::vector<SpriteCommand> queue;
std::unique_ptr<SpriteBatch> batch;

// Float to int toward zero, without undefined behaviour for values out of range.
int32_t truncateToInt(float value) {
    if (!(value == value)) return 0;
    if (value >= 2147483647.0f) return INT32_MAX;
    if (value <= -2147483648.0f) return INT32_MIN;
    return int32_t(value);
}

} // namespace

void loadSprite(Sprite& sprite, const char* name) {
    sprite.textureIndex = loadTexture(name);
    textureSize(sprite.textureIndex, sprite.width, sprite.height);
}

void drawSprite(const Sprite& sprite) {
    Rect destination;
    destination.left = truncateToInt(sprite.x);
    destination.top = truncateToInt(sprite.y);
    destination.right = truncateToInt(sprite.x + sprite.width * sprite.scaleX);
    destination.bottom = truncateToInt(sprite.y + sprite.height * sprite.scaleY);
    queueSprite(sprite.textureIndex, destination, sprite.colour, sprite.rotation);
}

void queueSprite(int32_t textureIndex, const Rect& destination, const Colour& colour,
                 float rotation) {
    queue.push_back({textureIndex, destination, colour, rotation});
}

const std::vector<SpriteCommand>& spriteQueue() {
    return queue;
}

bool createSpritePass() {
    if (batch) return true;
    if (!createSpriteDevice()) return false;
    batch = std::make_unique<SpriteBatch>(glSpriteTarget());
    return true;
}

void releaseSpritePass() {
    batch.reset();
    releaseSpriteDevice();
}

SpriteBatch* sharedSpriteBatch() {
    return batch.get();
}

void spritePass(int renderWidth, int renderHeight) {
    if (!batch) {
        queue.clear();
        return;
    }
    batch->setViewport(renderWidth, renderHeight);
    batch->Begin(SpriteSortMode::Deferred, BlendState::NonPremultiplied);
    for (const SpriteCommand& command : queue) {
        const TextureEntry* entry = textureEntry(command.textureIndex);
        if (!entry) continue;
        batch->Draw(&entryImage(*entry), command.destination, &entry->source, command.colour,
                    command.rotation, 0, 0, SpriteEffectsNone, 0);
    }
    queue.clear();
    batch->End();
    restoreDefaultStates();
}
