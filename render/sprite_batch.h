#pragma once
// Textured, tinted, optionally rotated rectangles in screen pixels, sent to the GPU in runs that
// share a texture through one dynamic vertex buffer of 2048 sprites and a fixed index buffer.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "render/colour.h"
#include "render/common_states.h"
#include "render/gpu_texture.h"
#include "render/matrix.h"
#include "render/rect.h"

enum class SpriteSortMode { Deferred };

// Effects bits, and the batch's own flags above them.
enum : uint32_t {
    SpriteEffectsNone = 0,
    SpriteFlipHorizontally = 1,
    SpriteFlipVertically = 2,
    SpriteSourceInTexels = 4,
    SpriteDestinationInPixels = 8,
};

constexpr uint32_t spriteBufferSprites = 2048;
constexpr uint32_t spriteRestartThreshold = 128;
constexpr uint32_t spriteIndexCount = spriteBufferSprites * 6;

struct SpriteVertex {
    float x, y, z;
    float r, g, b, a;
    float u, v;
};
static_assert(sizeof(SpriteVertex) == 36);

struct QueuedSprite {
    float source[4];      // x, y, width, height: texels with SpriteSourceInTexels, else 0..1
    float destination[4]; // x, y, width, height: pixels with SpriteDestinationInPixels
    Colour colour;
    float originX, originY; // texels of the source
    float rotation;         // radians, clockwise on screen
    float depth;
    GpuTexture texture;
    uint32_t flags;
};

// Four corners in the order top-left, top-right, bottom-left, bottom-right of the source.
void spriteVertices(const QueuedSprite& sprite, SpriteVertex out[4]);

// One draw call: count sprites of the queue from first, written at position (in sprites) of the
// vertex buffer. orphan: position 0, so the buffer's old contents are discarded first.
struct SpriteChunk {
    size_t first = 0;
    uint32_t count = 0;
    uint32_t position = 0;
    bool orphan = false;
};
// Splits the queue into maximal runs of one texture and each run into chunks that fit the
// buffer; position is the buffer's write position before and after.
std::vector<SpriteChunk> planSpriteChunks(const std::vector<QueuedSprite>& queue,
                                          uint32_t& position);

struct SpritePipeline {
    BlendState blend;
    SamplerState sampler;
    RasterizerState rasterizer;
    Matrix4 transform;
};

// The device side of a batch; the GL one comes from sprite_device.h, tests record instead.
struct SpriteBatchTarget {
    std::function<void(const SpritePipeline&)> prepare;
    std::function<void(const GpuTexture&, const SpriteChunk&, const SpriteVertex* vertices)> draw;
};

class SpriteBatch {
  public:
    explicit SpriteBatch(SpriteBatchTarget target);

    // The render target's size; End fails while none has been set.
    void setViewport(int32_t width, int32_t height);

    void Begin(SpriteSortMode sortMode = SpriteSortMode::Deferred,
               std::optional<BlendState> blend = {}, std::optional<SamplerState> sampler = {},
               std::optional<RasterizerState> rasterizer = {},
               std::function<void()> customShaders = {}, const Matrix4& transform = {});
    void Draw(const GpuTexture* texture, const Rect& destination, const Rect* source,
              const Colour& colour, float rotation, float originX, float originY, uint32_t effects,
              float layerDepth);
    void Draw(const GpuTexture* texture, const Rect& destination, const Colour& colour);
    void End();

    uint32_t writePosition() const { return position; }
    bool inBeginEndPair() const { return open; }

  private:
    SpriteBatchTarget target;
    std::vector<QueuedSprite> queue;
    std::vector<SpriteVertex> staging;
    uint32_t position = 0;
    bool open = false;
    bool hasViewport = false;
    int32_t viewportWidth = 0, viewportHeight = 0;
    SpritePipeline pipeline{};
    std::function<void()> customShaders;
};
