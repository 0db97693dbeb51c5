#include "game/note_sprite.h"

#include <algorithm>

#include "game/note_lists.h"
#include "piano/keyboard_view.h"
#include "render/shapes.h"

namespace {

// Coordinates far outside the frame are held there, so that a damaged time or size cannot
// overflow the conversion to integers.
int32_t truncated(float value) {
    if (!(value > -1e9f)) return -1000000000;
    if (value > 1e9f) return 1000000000;
    return static_cast<int32_t>(value);
}

} // namespace

void FancyNoteSprite::loadTextures() {
    loadSprite(top, "NoteTop.png");
    loadSprite(middle, "NoteMid.png");
    loadSprite(bottom, "NoteBot.png");
}

void FancyNoteSprite::draw() {
    drawSprite(top);
    drawSprite(middle);
    drawSprite(bottom);
}

void FancyNoteSprite::setColour(const Colour& colour) {
    top.colour = middle.colour = bottom.colour = colour;
}

void FancyNoteSprite::setAlpha(float alpha) {
    top.colour.a = middle.colour.a = bottom.colour.a = alpha;
}

void FancyNoteSprite::setPosition(int32_t x, int32_t y) {
    const int64_t bottomCap = truncated(bottom.height);
    const int64_t topCap = truncated(top.height);
    const int64_t body = int64_t{middleHeight} * truncated(middle.height);
    bottom.x = middle.x = top.x = static_cast<float>(x);
    bottom.y = static_cast<float>(y - bottomCap);
    middle.y = static_cast<float>(y - bottomCap - body);
    top.y = static_cast<float>(y - bottomCap - body - topCap);
}

void FancyNoteSprite::setPosition(const float (&xy)[2]) {
    setPosition(truncated(xy[0]), truncated(xy[1]));
}

void FancyNoteSprite::setSize(float widthFactor, float height) {
    // The caps keep their texture height; the middle stretches over the rest, at least a pixel.
    middleHeight = truncated(height - top.height - bottom.height);
    if (middleHeight < 1) middleHeight = 1;
    top.scaleX = middle.scaleX = bottom.scaleX = widthFactor;
    top.scaleY = bottom.scaleY = 1.0f;
    middle.scaleY = static_cast<float>(middleHeight);
}

float FancyNoteSprite::drawnHeight(float height) const {
    return std::max(height, top.height + bottom.height + middle.height);
}

void FancyNoteSprite::setSize(const float (&size)[2]) {
    setSize(size[0], size[1]);
}

FastNoteSprite::FastNoteSprite(const KeyboardView* keyboard) : keyboard(keyboard) {}

void FastNoteSprite::loadTextures() {
    loadSprite(sprite, "NoteMid.png");
}

void FastNoteSprite::draw() {
    const float keyboardTop = keyboard ? keyboard->keyboardTopY : 0;
    const float top = sprite.y - sprite.scaleY;
    if (top > keyboardTop) return; // wholly behind the keys
    const float bottom = sprite.y < keyboardTop ? sprite.y : keyboardTop;
    addRectangleOutline(sprite.x, top, sprite.x + sprite.scaleX * sprite.width, bottom,
                        sprite.colour);
}

void FastNoteSprite::setColour(const Colour& colour) {
    sprite.colour = colour;
}

void FastNoteSprite::setAlpha(float alpha) {
    sprite.colour.a = alpha;
}

void FastNoteSprite::setPosition(int32_t x, int32_t y) {
    sprite.x = static_cast<float>(x);
    sprite.y = static_cast<float>(y);
}

void FastNoteSprite::setPosition(const float (&xy)[2]) {
    sprite.x = xy[0];
    sprite.y = xy[1];
}

void FastNoteSprite::setSize(float widthFactor, float height) {
    sprite.scaleX = widthFactor;
    sprite.scaleY = height;
}

void FastNoteSprite::setSize(const float (&size)[2]) {
    setSize(size[0], size[1]);
}

namespace {

// One note as it will be drawn.
struct Placed {
    int32_t x, y;
    float widthFactor, height;
    const Colour* colour;
    uint8_t key;
    bool shown;
    bool dimmed;
};

// Marks the notes that later ones of their key hide. Walking back from the last drawn, each key
// keeps the span its later notes cover without a gap.
void hideCovered(std::vector<Placed>& placed, const NoteSprite& drawer) {
    struct Span {
        float top = 0, bottom = -1; // empty while bottom < top
        float height = 0;
    };
    Span cover[128];
    const bool opaque = drawer.opaque();
    for (auto p = placed.rbegin(); p != placed.rend(); ++p) {
        Span& c = cover[p->key & 0x7F];
        const float bottom = static_cast<float>(p->y), top = bottom - drawer.drawnHeight(p->height);
        if (c.bottom >= c.top) {
            const bool hidden = opaque ? top >= c.top && bottom <= c.bottom
                                       : bottom == c.bottom && p->height == c.height;
            if (hidden) {
                p->shown = false;
                continue;
            }
        }
        if (opaque && c.bottom >= c.top && top <= c.bottom && bottom >= c.top) {
            c.top = std::min(c.top, top);
            c.bottom = std::max(c.bottom, bottom);
        } else {
            c = Span{top, bottom, p->height};
        }
    }
}

} // namespace

void drawNotes(const std::vector<Track>& tracks, const NoteLayout& layout, NoteSprite& drawer,
               const Palette& palette, const NoteDimmed& dimmed) {
    if (layout.keyboard == nullptr || layout.keyboard->whiteKeyCount == 0) return;
    const KeyboardView& keys = *layout.keyboard;
    const NoteScreen& screen = layout.screen;
    const float width = static_cast<float>(keys.frameWidth);
    const float count = static_cast<float>(keys.whiteKeyCount);
    std::vector<Placed> placed;
    size_t listed = 0;
    for (const Track& track : tracks)
        if (trackDrawn(track))
            listed += track.ended.size() + track.sounding.size() + track.upcoming.size();
    placed.reserve(listed);
    for (uint32_t t = 0; t < tracks.size(); ++t) {
        const Track& track = tracks[t];
        if (!trackDrawn(track)) continue;
        const uint32_t colour = paletteSlot(track.colour);
        for (const std::vector<uint32_t>* list : {&track.ended, &track.sounding, &track.upcoming}) {
            for (uint32_t index : *list) {
                if (index >= track.notes.size()) continue;
                const Note& note = track.notes[index];
                // Keys left of the layout have no place on screen.
                if (note.key < keys.startNote) continue;
                const double y =
                    (layout.displayTime - note.start) * screen.noteSpread * screen.verticalScale +
                    screen.hitLine;
                const int32_t offset = static_cast<int32_t>(note.key - keys.startNote);
                const int32_t octave = offset / 12;
                const int32_t semitone = offset - 12 * octave;
                float x = static_cast<float>(whitePosition[semitone] + 7 * octave) * width / count;
                float widthFactor = keys.keyXScale;
                const Colour* noteColour = &palette[colour];
                if (isBlackKey(note.key)) {
                    x += width * 0.65f / count;
                    noteColour = &palette[6 + colour];
                    widthFactor *= 0.66f;
                }
                const float height = static_cast<float>(static_cast<double>(screen.verticalScale) *
                                                        note.duration * screen.noteSpread);
                placed.push_back({truncated(x), truncated(static_cast<float>(y)), widthFactor,
                                  height, noteColour, note.key, true, dimmed && dimmed(t, index)});
            }
        }
    }
    hideCovered(placed, drawer);
    for (const Placed& p : placed) {
        if (!p.shown) continue;
        Colour shade = *p.colour;
        if (p.dimmed) {
            shade.r *= 0.45f;
            shade.g *= 0.45f;
            shade.b *= 0.45f;
        }
        drawer.setColour(shade);
        drawer.setSize(p.widthFactor, p.height);
        drawer.setPosition(p.x, p.y);
        drawer.draw();
    }
}
