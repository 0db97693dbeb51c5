#pragma once
// Glyph coverage bitmaps from the font that fontconfig picks for a family name.
#include <cstdint>
#include <vector>

struct GlyphBitmap {
    int32_t width = 0, height = 0;
    int32_t left = 0; // from the pen position to the bitmap's left edge
    int32_t top = 0;  // from the baseline up to the bitmap's top edge
    float advance = 0;
    std::vector<uint8_t> coverage; // width * height bytes, top row first
};

struct FontLineMetrics {
    float ascender = 0;   // baseline below the top of a line
    float lineHeight = 0; // distance between baselines
};

// Opens the best match for family, falling back to the system monospace font. One font at a time.
bool openGlyphFont(const char* family);
void closeGlyphFont();

FontLineMetrics glyphLineMetrics(int32_t pixelSize);
// False when no font is open or the size is out of range; a missing character gives the font's
// own replacement glyph.
bool rasterizeGlyph(uint32_t codepoint, int32_t pixelSize, GlyphBitmap& glyph);
