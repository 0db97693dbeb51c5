#include "render/sprite_batch.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <stdexcept>

void spriteVertices(const QueuedSprite& sprite, SpriteVertex out[4]) {
    float sourceX = sprite.source[0], sourceY = sprite.source[1];
    float sourceW = sprite.source[2], sourceH = sprite.source[3];
    float destW = sprite.destination[2], destH = sprite.destination[3];
    float texW = float(sprite.texture.width), texH = float(sprite.texture.height);
    float inverseTexW = texW != 0 ? 1.0f / texW : 0.0f;
    float inverseTexH = texH != 0 ? 1.0f / texH : 0.0f;

    // A zero-size source would make the origin infinite.
    float originX = sprite.originX / (sourceW == 0 ? FLT_EPSILON : sourceW);
    float originY = sprite.originY / (sourceH == 0 ? FLT_EPSILON : sourceH);
    if (sprite.flags & SpriteSourceInTexels) {
        sourceX *= inverseTexW;
        sourceY *= inverseTexH;
        sourceW *= inverseTexW;
        sourceH *= inverseTexH;
    } else {
        originX *= inverseTexW;
        originY *= inverseTexH;
    }
    if (!(sprite.flags & SpriteDestinationInPixels)) {
        destW *= texW;
        destH *= texH;
    }

    float cosR = 1, sinR = 0;
    if (sprite.rotation != 0) {
        cosR = std::cos(sprite.rotation);
        sinR = std::sin(sprite.rotation);
    }
    static const float corners[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    uint32_t mirror = sprite.flags & 3;
    for (uint32_t i = 0; i < 4; ++i) {
        float offsetX = (corners[i][0] - originX) * destW;
        float offsetY = (corners[i][1] - originY) * destH;
        SpriteVertex& v = out[i];
        v.x = sprite.destination[0] + offsetX * cosR - offsetY * sinR;
        v.y = sprite.destination[1] + offsetX * sinR + offsetY * cosR;
        v.z = sprite.depth;
        v.r = sprite.colour.r;
        v.g = sprite.colour.g;
        v.b = sprite.colour.b;
        v.a = sprite.colour.a;
        const float* corner = corners[i ^ mirror];
        v.u = sourceX + corner[0] * sourceW;
        v.v = sourceY + corner[1] * sourceH;
    }
}

std::vector<SpriteChunk> planSpriteChunks(const std::vector<QueuedSprite>& queue,
                                          uint32_t& position) {
    std::vector<SpriteChunk> chunks;
    size_t runStart = 0;
    while (runStart < queue.size()) {
        uint32_t id = queue[runStart].texture.id;
        size_t runEnd = runStart + 1;
        while (runEnd < queue.size() && queue[runEnd].texture.id == id) ++runEnd;

        size_t next = runStart;
        while (next < runEnd) {
            size_t remaining = runEnd - next;
            uint32_t space = spriteBufferSprites - position;
            size_t count;
            if (remaining > space && space < spriteRestartThreshold) {
                position = 0;
                count = std::min<size_t>(remaining, spriteBufferSprites);
            } else {
                count = std::min<size_t>(remaining, space);
            }
            chunks.push_back({next, uint32_t(count), position, position == 0});
            position += uint32_t(count);
            next += count;
        }
        runStart = runEnd;
    }
    return chunks;
}

SpriteBatch::SpriteBatch(SpriteBatchTarget target) : target(std::move(target)) {}

void SpriteBatch::setViewport(int32_t width, int32_t height) {
    viewportWidth = width;
    viewportHeight = height;
    hasViewport = true;
}

void SpriteBatch::Begin(SpriteSortMode, std::optional<BlendState> blend,
                        std::optional<SamplerState> sampler,
                        std::optional<RasterizerState> rasterizer, std::function<void()> shaders,
                        const Matrix4& transform) {
    if (open) throw std::logic_error("Cannot nest Begin calls on a single SpriteBatch");
    pipeline.blend = blend.value_or(BlendState::AlphaBlend);
    pipeline.sampler = sampler.value_or(SamplerState::LinearClamp);
    pipeline.rasterizer = rasterizer.value_or(RasterizerState::CullCounterClockwise);
    pipeline.transform = transform;
    customShaders = std::move(shaders);
    open = true;
}

void SpriteBatch::Draw(const GpuTexture* texture, const Rect& destination, const Rect* source,
                       const Colour& colour, float rotation, float originX, float originY,
                       uint32_t effects, float layerDepth) {
    if (!texture) throw std::invalid_argument("Texture cannot be null");
    if (!open) throw std::logic_error("Begin must be called before Draw");
    QueuedSprite sprite;
    sprite.destination[0] = float(destination.left);
    sprite.destination[1] = float(destination.top);
    sprite.destination[2] = float(int64_t(destination.right) - destination.left);
    sprite.destination[3] = float(int64_t(destination.bottom) - destination.top);
    uint32_t flags = (effects & 3) | SpriteDestinationInPixels;
    if (source) {
        sprite.source[0] = float(source->left);
        sprite.source[1] = float(source->top);
        sprite.source[2] = float(int64_t(source->right) - source->left);
        sprite.source[3] = float(int64_t(source->bottom) - source->top);
        flags |= SpriteSourceInTexels;
    } else {
        sprite.source[0] = sprite.source[1] = 0;
        sprite.source[2] = sprite.source[3] = 1;
    }
    sprite.colour = colour;
    sprite.originX = originX;
    sprite.originY = originY;
    sprite.rotation = rotation;
    sprite.depth = layerDepth;
    sprite.texture = *texture;
    sprite.flags = flags;
    queue.push_back(sprite);
}

void SpriteBatch::Draw(const GpuTexture* texture, const Rect& destination, const Colour& colour) {
    Draw(texture, destination, nullptr, colour, 0, 0, 0, SpriteEffectsNone, 0);
}

void SpriteBatch::End() {
    if (!open) throw std::logic_error("Begin must be called before End");
    // Whatever happens below, the pair is closed and the queue empty afterwards.
    open = false;
    if (!hasViewport) {
        queue.clear();
        throw std::logic_error("No viewport is set");
    }
    pipeline.transform = pipeline.transform * viewportTransform(viewportWidth, viewportHeight);
    if (target.prepare) target.prepare(pipeline);
    if (customShaders) customShaders();

    std::vector<SpriteChunk> chunks = planSpriteChunks(queue, position);
    for (const SpriteChunk& chunk : chunks) {
        staging.resize(size_t(chunk.count) * 4);
        for (uint32_t i = 0; i < chunk.count; ++i)
            spriteVertices(queue[chunk.first + i], &staging[size_t(i) * 4]);
        if (target.draw) target.draw(queue[chunk.first].texture, chunk, staging.data());
    }
    queue.clear();
}
