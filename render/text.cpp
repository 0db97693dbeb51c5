#include "render/text.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "render/common_states.h"
#include "render/glyph_cache.h"
#include "render/sprite_batch.h"
#include "render/sprite_pass.h"
#include "render/text_queue.h"
#include "render/utf8.h"

namespace {

std::vector<TextCommand> queue;

// Calls visit(codepoint) for each character of UTF-16 text; a lone surrogate counts as U+FFFD.
template <class Visit> void forEachCodepoint(const std::u16string& text, Visit visit) {
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            visit(0x10000 + ((unit - 0xD800) << 10) + (uint32_t(text[i + 1]) - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            visit(0xFFFD);
        } else {
            visit(unit);
        }
    }
}

int32_t pixelSize(float size) {
    if (!(size >= 0.5f)) return 0; // also NaN
    if (size > float(largestGlyphSize)) return largestGlyphSize;
    return int32_t(std::lround(size));
}

// Puts every glyph of the queue into the atlas; false when it ran full.
bool cacheQueuedGlyphs() {
    bool complete = true;
    for (const TextCommand& command : queue) {
        int32_t size = pixelSize(command.size);
        if (size == 0) continue;
        forEachCodepoint(command.text, [&](uint32_t codepoint) {
            if (codepoint != '\n' && codepoint != '\r' && !cachedGlyph(codepoint, size))
                complete = false;
        });
    }
    return complete;
}

Colour unpackColour(uint32_t packed) {
    return {float(packed & 0xFF) / 255.0f, float((packed >> 8) & 0xFF) / 255.0f,
            float((packed >> 16) & 0xFF) / 255.0f, float(packed >> 24) / 255.0f};
}

void queueGlyphs(SpriteBatch& batch, const TextCommand& command) {
    int32_t size = pixelSize(command.size);
    if (size == 0) return;
    const GpuTexture& atlas = glyphAtlas();
    FontLineMetrics metrics = cachedLineMetrics(size);
    Colour colour = unpackColour(command.colour);
    float penX = command.x;
    float baseline = command.y + metrics.ascender;
    forEachCodepoint(command.text, [&](uint32_t codepoint) {
        if (codepoint == '\r') return;
        if (codepoint == '\n') {
            penX = command.x;
            baseline += metrics.lineHeight;
            return;
        }
        const CachedGlyph* glyph = cachedGlyph(codepoint, size);
        if (!glyph) return;
        if (glyph->source.right > glyph->source.left) {
            // Whole pixels keep the glyphs as sharp as they were rasterised.
            int32_t left = int32_t(std::lround(penX)) + glyph->left;
            int32_t top = int32_t(std::lround(baseline)) - glyph->top;
            Rect destination{left, top, left + (glyph->source.right - glyph->source.left),
                             top + (glyph->source.bottom - glyph->source.top)};
            batch.Draw(&atlas, destination, &glyph->source, colour, 0, 0, 0, SpriteEffectsNone, 0);
        }
        penX += glyph->advance;
    });
}

// The pen's advance over one character at the pixel size.
float advanceOf(uint32_t codepoint, int32_t size) {
    const CachedGlyph* glyph = glyphCacheExists() ? cachedGlyph(codepoint, size) : nullptr;
    return glyph ? glyph->advance : 0.6f * float(size);
}

// The pen's advance over the UTF-8 text at the pixel size.
float advanceOf(std::string_view utf8, int32_t size) {
    float width = 0;
    for (size_t i = 0; i < utf8.size();) width += advanceOf(nextCodepoint(utf8, i), size);
    return width;
}

} // namespace

std::string fitText(const std::string& text, float size, float width) {
    const int32_t pixels = pixelSize(size);
    if (pixels == 0) return text;
    const float room = width - advanceOf("...", pixels);
    // One pass measures the whole text, which must fit, and where the dots go when it does not.
    float total = 0;
    float used = 0;
    size_t end = 0;
    bool cut = false;
    for (size_t at = 0; at < text.size();) {
        // One character: its lead byte and the continuation bytes after it.
        size_t next = at + 1;
        while (next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80)
            ++next;
        const std::string_view character = std::string_view(text).substr(0, next);
        float advance = 0;
        while (at < next) {
            const float one = advanceOf(nextCodepoint(character, at), pixels);
            advance += one;
            total += one;
        }
        if (!cut && used + advance > room) cut = true;
        if (!cut) {
            used += advance;
            end = next;
        }
        if (cut && total > width) break;
    }
    if (total <= width) return text;
    return text.substr(0, end) + "...";
}

bool createTextRenderer(const char* family) {
    return createGlyphCache(family);
}

void releaseTextRenderer() {
    releaseGlyphCache();
    queue.clear();
}

float textWidth(const char* text, float size) {
    return advanceOf(text ? std::string_view(text) : std::string_view(), pixelSize(size));
}

uint32_t packColour(const Colour& colour) {
    // Through a wide integer so that components far out of range wrap instead of overflowing.
    auto channel = [](float value) -> uint32_t {
        float scaled = value * 255.0f;
        if (!(scaled == scaled) || std::fabs(scaled) >= 9.0e18f) return 0;
        return uint32_t(uint64_t(int64_t(scaled)) & 0xFF);
    };
    return 0xFF000000u | (channel(colour.b) << 16) | (channel(colour.g) << 8) | channel(colour.r);
}

void drawText(const char* text, float x, float y, float size, const Colour& colour) {
    std::string_view utf8 = text ? std::string_view(text, std::strlen(text)) : std::string_view();
    queue.push_back({utf8ToUtf16(utf8), size, x, y, packColour(colour)});
}

const std::vector<TextCommand>& textQueue() {
    return queue;
}

void textPass(int renderWidth, int renderHeight) {
    SpriteBatch* batch = sharedSpriteBatch();
    if (!batch || !glyphCacheExists()) {
        queue.clear();
        return;
    }
    // Glyphs are all in place before any is queued, so a cache reset cannot move a queued one.
    if (!cacheQueuedGlyphs()) {
        clearGlyphCache();
        cacheQueuedGlyphs();
    }
    batch->setViewport(renderWidth, renderHeight);
    batch->Begin(SpriteSortMode::Deferred, BlendState::NonPremultiplied);
    for (const TextCommand& command : queue) queueGlyphs(*batch, command);
    queue.clear();
    batch->End();
    restoreDefaultStates();
}
