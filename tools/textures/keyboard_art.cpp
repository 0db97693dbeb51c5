#include <cmath>

#include "tools/textures/art.h"
#include "tools/textures/canvas.h"
#include "tools/textures/distance.h"

Image paintWhiteKey() {
    const float w = whiteKeyWidth, h = whiteKeyHeight;
    const float front = h - 12; // where the top surface turns into the front face
    Canvas canvas = makeCanvas(whiteKeyWidth, whiteKeyHeight);
    // The top edge runs on under the key bed, so only the front corners are rounded.
    Shape key = [=](float x, float y) { return roundRect(x, y, 0, -16, w, h, 3); };
    fill(canvas, key, [=](float x, float y) {
        float v;
        if (y < front) {
            v = 0.90f + 0.08f * smoothstep(0, 60, y) + 0.02f * smoothstep(60, front, y);
            v *= 0.55f + 0.45f * smoothstep(0, 6, y); // shadow of the case above the keys
        } else if (y < front + 1) {
            v = 0.72f;
        } else {
            v = 0.93f - 0.11f * smoothstep(front + 1, h, y);
        }
        // Grooves between neighbouring keys, the left one catching a little light.
        if (x < 1)
            v *= 0.70f;
        else if (x < 2)
            v = std::min(1.0f, v + 0.03f);
        else if (x >= w - 1)
            v *= 0.80f;
        return grey(v);
    });
    return finish(canvas);
}

Image paintBlackKey() {
    const float w = blackKeyWidth, h = blackKeyHeight;
    const float front = h - 12; // the sloped front of the key
    Canvas canvas = makeCanvas(blackKeyWidth, blackKeyHeight);
    Shape key = [=](float x, float y) {
        return roundRect(x, y, 0.5f, -16, w - 0.5f, h - 0.5f, 2.5f);
    };
    fill(canvas, key, [=](float x, float y) {
        float v = 0.45f;
        // Bevelled sides: lit from the left.
        if (x < 4) v = 0.80f + (v - 0.80f) * smoothstep(1.5f, 3.5f, x);
        if (x > w - 4) v += (0.30f - v) * smoothstep(w - 3.5f, w - 1.5f, x);
        if (y < front) {
            // A long gloss streak, strongest near the back.
            float across = 1 - smoothstep(0, 3, std::fabs(x - 6.5f));
            float along = smoothstep(3, 12, y) * (1 - 0.7f * smoothstep(20, front - 4, y));
            v += (1 - v) * 0.65f * across * along;
        } else if (y < front + 1) {
            v = 0.25f;
        } else if (y < front + 2) {
            v = 0.90f;
        } else {
            v = 0.75f - 0.25f * smoothstep(front + 2, h, y);
        }
        v *= 0.5f + 0.5f * smoothstep(0, 5, y);
        return grey(v);
    });
    fill(
        canvas, [&](float x, float y) { return innerBand(key(x, y), 1); }, grey(0.20f));
    return finish(canvas);
}

namespace {

// The bar's cross-section: a rounded rod lit from the upper left, with a darker rim.
Rgba noteBody(float x) {
    float t = std::min(1.0f, std::max(-1.0f, (x - 10) / 11));
    return grey(0.80f + 0.20f * (1 - t * t));
}

const Rgba noteRim = grey(0.50f);
constexpr float noteLeft = 1, noteRight = noteWidth - 1, noteRadius = 5;

Image paintNotePiece(int height, const Shape& shape, const Paint& body) {
    Canvas canvas = makeCanvas(noteWidth, height);
    fill(canvas, shape, body);
    fill(
        canvas, [&](float x, float y) { return innerBand(shape(x, y), 1); }, noteRim);
    return finish(canvas);
}

} // namespace

// The caps leave one transparent row at the bar's ends, so that notes following each other
// on one key stay apart.
Image paintNoteTop() {
    return paintNotePiece(
        noteCapHeight,
        [](float x, float y) { return roundRect(x, y, noteLeft, 1, noteRight, 64, noteRadius); },
        [](float x, float y) {
            Rgba c = noteBody(x);
            return mix(c, grey(1), 0.6f * (1 - smoothstep(1.5f, 4, y)));
        });
}

Image paintNoteMiddle() {
    return paintNotePiece(
        1,
        [](float x, float y) { return roundRect(x, y, noteLeft, -64, noteRight, 64, noteRadius); },
        [](float x, float) { return noteBody(x); });
}

Image paintNoteBottom() {
    const float bottom = noteCapHeight - 1;
    return paintNotePiece(
        noteCapHeight,
        [=](float x, float y) {
            return roundRect(x, y, noteLeft, -64, noteRight, bottom, noteRadius);
        },
        [](float x, float y) { return shade(noteBody(x), 1 - 0.15f * smoothstep(1, 5.5f, y)); });
}
