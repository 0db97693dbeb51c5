#pragma once
// A sprite batch target that only copies the vertices out: the batch's own share of a sprite
// pass, without the driver's.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "render/sprite_batch.h"

inline SpriteBatchTarget copyingSpriteTarget(std::vector<SpriteVertex>& uploaded) {
    uploaded.assign(size_t(spriteBufferSprites) * 4, SpriteVertex{});
    return SpriteBatchTarget{
        [](const SpritePipeline&) {},
        [&uploaded](const GpuTexture&, const SpriteChunk& chunk, const SpriteVertex* vertices) {
            std::memcpy(&uploaded[size_t(chunk.position) * 4], vertices,
                        size_t(chunk.count) * 4 * sizeof(SpriteVertex));
            benchmark::DoNotOptimize(uploaded.data());
        }};
}
