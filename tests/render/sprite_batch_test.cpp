#include "render/sprite_batch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>

namespace {

struct Recorded {
    GpuTexture texture;
    SpriteChunk chunk;
    SpriteVertex first[4];
};

// A batch whose device side only records what it was asked to do.
struct RecordingBatch {
    int prepares = 0;
    std::vector<Recorded> draws;
    SpriteBatch batch{SpriteBatchTarget{
        [this](const SpritePipeline&) { ++prepares; },
        [this](const GpuTexture& texture, const SpriteChunk& chunk, const SpriteVertex* v) {
            Recorded r{texture, chunk, {v[0], v[1], v[2], v[3]}};
            draws.push_back(r);
        }}};

    RecordingBatch() { batch.setViewport(1920, 1080); }

    void submit(const GpuTexture& texture, int count) {
        batch.Begin();
        for (int i = 0; i < count; ++i)
            batch.Draw(&texture, Rect{i, 0, i + 1, 1}, Colour{1, 1, 1, 1});
        batch.End();
    }
};

const GpuTexture textureA{1, 16, 16};
const GpuTexture textureB{2, 16, 16};

std::string messageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "";
}

} // namespace

TEST(SpriteBatchUse, MisuseFailsWithItsMessage) {
    RecordingBatch r;
    SpriteBatch& b = r.batch;
    EXPECT_EQ(messageOf([&] { b.End(); }), "Begin must be called before End");
    EXPECT_EQ(messageOf([&] { b.Draw(&textureA, Rect{}, Colour{}); }),
              "Begin must be called before Draw");
    b.Begin();
    EXPECT_EQ(messageOf([&] { b.Begin(); }), "Cannot nest Begin calls on a single SpriteBatch");
    EXPECT_EQ(messageOf([&] { b.Draw(nullptr, Rect{}, Colour{}); }), "Texture cannot be null");
    b.End();

    SpriteBatch noViewport{SpriteBatchTarget{}};
    noViewport.Begin();
    noViewport.Draw(&textureA, Rect{}, Colour{});
    EXPECT_EQ(messageOf([&] { noViewport.End(); }), "No viewport is set");
    // The failed End still closed the pair.
    EXPECT_FALSE(noViewport.inBeginEndPair());
    EXPECT_EQ(messageOf([&] { noViewport.Begin(); }), "");
}

TEST(SpriteBatchUse, EmptyEndDrawsNothingAndClosesThePair) {
    RecordingBatch r;
    r.batch.Begin();
    r.batch.End();
    EXPECT_EQ(r.prepares, 1);
    EXPECT_TRUE(r.draws.empty());
    EXPECT_FALSE(r.batch.inBeginEndPair());
    EXPECT_EQ(r.batch.writePosition(), 0u);
}

TEST(SpriteBatchChunks, LongRunFromAnEmptyBufferSplitsAtItsSize) {
    RecordingBatch r;
    r.submit(textureA, 3000);
    ASSERT_EQ(r.draws.size(), 2u);
    EXPECT_EQ(r.draws[0].chunk.count, 2048u);
    EXPECT_EQ(r.draws[0].chunk.position, 0u);
    EXPECT_TRUE(r.draws[0].chunk.orphan);
    EXPECT_EQ(r.draws[1].chunk.count, 952u);
    EXPECT_EQ(r.draws[1].chunk.position, 0u);
    EXPECT_TRUE(r.draws[1].chunk.orphan);
    EXPECT_EQ(r.draws[1].chunk.first, 2048u);
    EXPECT_EQ(r.batch.writePosition(), 952u);
    // The second chunk starts with sprite 2048, drawn at x = 2048.
    EXPECT_EQ(r.draws[1].first[0].x, 2048.0f);
}

TEST(SpriteBatchChunks, NearlyFullBufferRestartsOnlyBelowTheThreshold) {
    RecordingBatch restart;
    restart.submit(textureA, 1950);
    restart.submit(textureA, 200); // 98 free places: below 128
    ASSERT_EQ(restart.draws.size(), 2u);
    EXPECT_EQ(restart.draws[1].chunk.position, 0u);
    EXPECT_TRUE(restart.draws[1].chunk.orphan);
    EXPECT_EQ(restart.draws[1].chunk.count, 200u);

    RecordingBatch append;
    append.submit(textureA, 1950);
    append.submit(textureA, 90); // fits in the 98
    ASSERT_EQ(append.draws.size(), 2u);
    EXPECT_EQ(append.draws[1].chunk.position, 1950u);
    EXPECT_FALSE(append.draws[1].chunk.orphan);
    EXPECT_EQ(append.batch.writePosition(), 2040u);

    // With room above the threshold a long run fills the rest first, then restarts.
    RecordingBatch split;
    split.submit(textureA, 1000);
    split.submit(textureA, 2000);
    ASSERT_EQ(split.draws.size(), 3u);
    EXPECT_EQ(split.draws[1].chunk.position, 1000u);
    EXPECT_EQ(split.draws[1].chunk.count, 1048u);
    EXPECT_FALSE(split.draws[1].chunk.orphan);
    EXPECT_EQ(split.draws[2].chunk.position, 0u);
    EXPECT_EQ(split.draws[2].chunk.count, 952u);
    EXPECT_TRUE(split.draws[2].chunk.orphan);
}

TEST(SpriteBatchChunks, EveryTextureChangeEndsARun) {
    RecordingBatch r;
    r.batch.Begin();
    for (int i = 0; i < 10; ++i) r.batch.Draw(i % 2 ? &textureB : &textureA, Rect{}, Colour{});
    r.batch.Draw(&textureB, Rect{}, Colour{});
    r.batch.End();
    ASSERT_EQ(r.draws.size(), 10u);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(r.draws[size_t(i)].texture.id, i % 2 ? 2u : 1u);
        EXPECT_EQ(r.draws[size_t(i)].chunk.position, uint32_t(i));
    }
    EXPECT_EQ(r.draws[9].chunk.count, 2u); // the last two share texture B
}

namespace {

QueuedSprite texelSprite() {
    QueuedSprite s{};
    s.texture = {1, 100, 50};
    s.source[0] = 25;
    s.source[1] = 10;
    s.source[2] = 50;
    s.source[3] = 25;
    s.destination[0] = 10;
    s.destination[1] = 20;
    s.destination[2] = 30;
    s.destination[3] = 40;
    s.colour = {1, 0.5f, 0.25f, 1};
    s.flags = SpriteSourceInTexels | SpriteDestinationInPixels;
    return s;
}

} // namespace

TEST(SpriteVertices, TexelSourceAndPixelDestination) {
    SpriteVertex v[4];
    spriteVertices(texelSprite(), v);
    const float expected[4][4] = {
        {10, 20, 0.25f, 0.2f}, {40, 20, 0.75f, 0.2f}, {10, 60, 0.25f, 0.7f}, {40, 60, 0.75f, 0.7f}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(v[i].x, expected[i][0]) << i;
        EXPECT_FLOAT_EQ(v[i].y, expected[i][1]) << i;
        EXPECT_FLOAT_EQ(v[i].u, expected[i][2]) << i;
        EXPECT_FLOAT_EQ(v[i].v, expected[i][3]) << i;
        EXPECT_EQ(v[i].g, 0.5f);
    }

    // Without the texel flag the source is in texture coordinates and the origin in texels.
    QueuedSprite relative = texelSprite();
    relative.flags = SpriteDestinationInPixels;
    relative.source[0] = relative.source[1] = 0;
    relative.source[2] = relative.source[3] = 1;
    relative.originX = 50; // half the texture width
    spriteVertices(relative, v);
    EXPECT_FLOAT_EQ(v[0].x, 10 - 15);
    EXPECT_FLOAT_EQ(v[3].u, 1);

    // Without the pixel flag the destination size scales the texture size.
    QueuedSprite scaled = texelSprite();
    scaled.flags = SpriteSourceInTexels;
    scaled.destination[2] = 2;
    scaled.destination[3] = 1;
    spriteVertices(scaled, v);
    EXPECT_FLOAT_EQ(v[3].x, 10 + 200);
    EXPECT_FLOAT_EQ(v[3].y, 20 + 50);
}

TEST(SpriteVertices, ZeroSizeSourceStaysFinite) {
    QueuedSprite s = texelSprite();
    s.source[2] = 0;
    s.source[3] = 0;
    s.originX = 3;
    s.originY = 0;
    SpriteVertex v[4];
    spriteVertices(s, v);
    for (const SpriteVertex& vertex : v) {
        EXPECT_TRUE(std::isfinite(vertex.x));
        EXPECT_TRUE(std::isfinite(vertex.y));
        EXPECT_TRUE(std::isfinite(vertex.u));
        EXPECT_TRUE(std::isfinite(vertex.v));
    }
}

TEST(SpriteVertices, RotationTurnsClockwiseAboutTheTopLeft) {
    QueuedSprite s = texelSprite();
    s.rotation = float(M_PI / 2);
    SpriteVertex v[4];
    spriteVertices(s, v);
    // The top-left stays; the top edge (width 30) now points down the screen.
    EXPECT_NEAR(v[0].x, 10, 1e-4);
    EXPECT_NEAR(v[0].y, 20, 1e-4);
    EXPECT_NEAR(v[1].x, 10, 1e-4);
    EXPECT_NEAR(v[1].y, 50, 1e-4);
    EXPECT_NEAR(v[2].x, -30, 1e-4);
    EXPECT_NEAR(v[2].y, 20, 1e-4);
    // Texture coordinates do not rotate.
    EXPECT_FLOAT_EQ(v[1].u, 0.75f);
}

TEST(SpriteVertices, MirrorBitsSwapTextureCorners) {
    SpriteVertex plain[4], mirrored[4];
    QueuedSprite s = texelSprite();
    spriteVertices(s, plain);
    s.flags |= SpriteFlipHorizontally;
    spriteVertices(s, mirrored);
    EXPECT_FLOAT_EQ(mirrored[0].u, plain[1].u);
    EXPECT_FLOAT_EQ(mirrored[0].v, plain[1].v);
    EXPECT_FLOAT_EQ(mirrored[0].x, plain[0].x); // positions stay
    s.flags |= SpriteFlipVertically;
    spriteVertices(s, mirrored);
    EXPECT_FLOAT_EQ(mirrored[0].u, plain[3].u);
    EXPECT_FLOAT_EQ(mirrored[0].v, plain[3].v);
}

TEST(SpriteVertices, ViewportTransformMapsPixelsToClipSpace) {
    Matrix4 m = Matrix4{} * viewportTransform(200, 100);
    auto apply = [&](float x, float y, float& cx, float& cy) {
        cx = x * m.m[0] + y * m.m[4] + m.m[12];
        cy = x * m.m[1] + y * m.m[5] + m.m[13];
    };
    float cx, cy;
    apply(0, 0, cx, cy);
    EXPECT_FLOAT_EQ(cx, -1);
    EXPECT_FLOAT_EQ(cy, 1);
    apply(200, 100, cx, cy);
    EXPECT_FLOAT_EQ(cx, 1);
    EXPECT_FLOAT_EQ(cy, -1);
    Matrix4 empty = viewportTransform(0, 0);
    EXPECT_EQ(empty.m[0], 0);
    EXPECT_EQ(empty.m[5], 0);
}
