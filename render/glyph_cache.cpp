#include "render/glyph_cache.h"

#include <memory>
#include <unordered_map>
#include <vector>

namespace {

constexpr int32_t padding = 1;

struct GlyphCache {
    GpuTexture atlas;
    std::unordered_map<uint64_t, CachedGlyph> glyphs;
    std::unordered_map<int32_t, FontLineMetrics> metrics;
    // Shelf packing: glyphs fill a row left to right; a new row starts below the tallest.
    int32_t shelfX = padding, shelfY = padding, shelfHeight = 0;
};

std::unique_ptr<GlyphCache> cache;

uint64_t key(uint32_t codepoint, int32_t pixelSize) {
    return (uint64_t(uint32_t(pixelSize)) << 32) | codepoint;
}

bool place(int32_t width, int32_t height, int32_t& x, int32_t& y) {
    if (width + 2 * padding > glyphAtlasSide) return false;
    if (cache->shelfX + width + padding > glyphAtlasSide) {
        cache->shelfY += cache->shelfHeight + padding;
        cache->shelfX = padding;
        cache->shelfHeight = 0;
    }
    if (cache->shelfY + height + padding > glyphAtlasSide) return false;
    x = cache->shelfX;
    y = cache->shelfY;
    cache->shelfX += width + padding;
    if (height > cache->shelfHeight) cache->shelfHeight = height;
    return true;
}

} // namespace

bool createGlyphCache(const char* family) {
    if (cache) return true;
    if (!openGlyphFont(family)) return false;
    cache = std::make_unique<GlyphCache>();
    std::vector<uint8_t> empty(size_t(glyphAtlasSide) * glyphAtlasSide, 0);
    cache->atlas = createCoverageTexture(glyphAtlasSide, glyphAtlasSide, empty.data());
    return true;
}

void releaseGlyphCache() {
    if (cache) releaseGpuTexture(cache->atlas);
    cache.reset();
    closeGlyphFont();
}

bool glyphCacheExists() {
    return cache != nullptr;
}

const CachedGlyph* cachedGlyph(uint32_t codepoint, int32_t pixelSize) {
    if (!cache || pixelSize < 1 || pixelSize > largestGlyphSize) return nullptr;
    auto found = cache->glyphs.find(key(codepoint, pixelSize));
    if (found != cache->glyphs.end()) return &found->second;

    GlyphBitmap bitmap;
    CachedGlyph glyph;
    if (rasterizeGlyph(codepoint, pixelSize, bitmap)) {
        glyph.left = bitmap.left;
        glyph.top = bitmap.top;
        glyph.advance = bitmap.advance;
        if (bitmap.width > 0 && bitmap.height > 0) {
            int32_t x = 0, y = 0;
            if (!place(bitmap.width, bitmap.height, x, y)) return nullptr;
            updateCoverageTexture(cache->atlas, x, y, bitmap.width, bitmap.height,
                                  bitmap.coverage.data());
            glyph.source = {x, y, x + bitmap.width, y + bitmap.height};
        }
    }
    return &cache->glyphs.emplace(key(codepoint, pixelSize), glyph).first->second;
}

FontLineMetrics cachedLineMetrics(int32_t pixelSize) {
    if (!cache) return {};
    auto found = cache->metrics.find(pixelSize);
    if (found != cache->metrics.end()) return found->second;
    FontLineMetrics metrics = glyphLineMetrics(pixelSize);
    cache->metrics.emplace(pixelSize, metrics);
    return metrics;
}

void clearGlyphCache() {
    if (!cache) return;
    cache->glyphs.clear();
    cache->shelfX = cache->shelfY = padding;
    cache->shelfHeight = 0;
    // Blank the padding around regions that new glyphs will take.
    std::vector<uint8_t> empty(size_t(glyphAtlasSide) * glyphAtlasSide, 0);
    updateCoverageTexture(cache->atlas, 0, 0, glyphAtlasSide, glyphAtlasSide, empty.data());
}

const GpuTexture& glyphAtlas() {
    static const GpuTexture none;
    return cache ? cache->atlas : none;
}
