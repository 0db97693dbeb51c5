#pragma once
// Rasterised glyphs of every size the program draws, packed into one atlas texture so that a
// frame's text goes out in few draw calls.
#include <cstdint>

#include "platform/glyph_rasterizer.h"
#include "render/gpu_texture.h"
#include "render/rect.h"

struct CachedGlyph {
    Rect source; // atlas texels; empty for blank glyphs such as the space
    int32_t left = 0, top = 0;
    float advance = 0;
};

constexpr int32_t glyphAtlasSide = 2048;
constexpr int32_t largestGlyphSize = 512;

// Opens the font for family and creates the atlas.
bool createGlyphCache(const char* family);
void releaseGlyphCache();
bool glyphCacheExists();

// Rasterises on first use; nullptr when the size is out of range or the atlas is full.
const CachedGlyph* cachedGlyph(uint32_t codepoint, int32_t pixelSize);
FontLineMetrics cachedLineMetrics(int32_t pixelSize);
// Forgets every glyph so the atlas can be filled again.
void clearGlyphCache();
const GpuTexture& glyphAtlas();
