#include "platform/glyph_rasterizer.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

FT_Library library = nullptr;
FT_Face face = nullptr;
int32_t currentSize = 0;

constexpr int32_t largestSize = 1024;

// The file fontconfig matches for family, with "monospace" as the second choice so an unknown
// family never falls back to a proportional font.
std::string matchFontFile(const char* family) {
    std::string file;
    if (!FcInit()) return file;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return file;
    if (family && *family)
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("monospace"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    if (match) {
        FcChar8* path = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path)
            file = reinterpret_cast<const char*>(path);
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return file;
}

bool setSize(int32_t pixelSize) {
    if (!face || pixelSize < 1 || pixelSize > largestSize) return false;
    if (pixelSize == currentSize) return true;
    if (FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize)) != 0) return false;
    currentSize = pixelSize;
    return true;
}

} // namespace

bool openGlyphFont(const char* family) {
    if (face) return true;
    if (!library && FT_Init_FreeType(&library) != 0) {
        library = nullptr;
        std::fprintf(stderr, "Cannot start FreeType\n");
        return false;
    }
    std::string file = matchFontFile(family);
    const char* fallback = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
    if (file.empty() || FT_New_Face(library, file.c_str(), 0, &face) != 0) {
        face = nullptr;
        if (FT_New_Face(library, fallback, 0, &face) != 0) {
            face = nullptr;
            std::fprintf(stderr, "No font found for \"%s\"\n", family ? family : "");
            return false;
        }
    }
    FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    currentSize = 0;
    return true;
}

void closeGlyphFont() {
    if (face) FT_Done_Face(face);
    face = nullptr;
    if (library) FT_Done_FreeType(library);
    library = nullptr;
    currentSize = 0;
    // Nothing else in the program keeps fontconfig objects, so its caches can go.
    FcFini();
}

FontLineMetrics glyphLineMetrics(int32_t pixelSize) {
    FontLineMetrics metrics;
    if (!setSize(pixelSize)) return metrics;
    metrics.ascender = float(face->size->metrics.ascender) / 64.0f;
    metrics.lineHeight = float(face->size->metrics.height) / 64.0f;
    return metrics;
}

bool rasterizeGlyph(uint32_t codepoint, int32_t pixelSize, GlyphBitmap& glyph) {
    glyph = GlyphBitmap{};
    if (!setSize(pixelSize)) return false;
    if (FT_Load_Char(face, codepoint, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0 &&
        FT_Load_Glyph(face, 0, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0)
        return false;
    FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.advance = float(slot->advance.x) / 64.0f;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = int32_t(bitmap.width);
    glyph.height = int32_t(bitmap.rows);
    glyph.coverage.assign(size_t(glyph.width) * size_t(glyph.height), 0);
    for (int32_t y = 0; y < glyph.height; ++y) {
        const unsigned char* row =
            bitmap.pitch >= 0
                ? bitmap.buffer + size_t(y) * size_t(bitmap.pitch)
                : bitmap.buffer + size_t(glyph.height - 1 - y) * size_t(-bitmap.pitch);
        uint8_t* out = glyph.coverage.data() + size_t(y) * size_t(glyph.width);
        for (int32_t x = 0; x < glyph.width; ++x) {
            if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
                out[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
            else
                out[x] = row[x];
        }
    }
    return true;
}
