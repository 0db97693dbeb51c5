// The program's icon for the desktop's menus: notes falling onto a piano keyboard, on a dark
// rounded tile. Drawn in a 64-unit square and scaled, so every size is painted, not resampled.
#include "tools/textures/art.h"
#include "tools/textures/canvas.h"
#include "tools/textures/distance.h"

Image paintAppIcon(int size) {
    Canvas canvas = makeCanvas(size, size);
    const float s = float(size) / 64;
    // Shapes are given in icon units; distances come back in pixels.
    auto scaled = [s](auto shape) {
        return [=](float x, float y) { return shape(x / s, y / s) * s; };
    };

    const Shape tile = scaled([](float x, float y) { return roundRect(x, y, 2, 2, 62, 62, 11); });
    fill(canvas, tile, [s](float, float y) {
        return mix({0.16f, 0.18f, 0.32f, 1}, {0.06f, 0.06f, 0.12f, 1}, clamp01(y / s / 62));
    });

    // Falling notes in the game's first track colours: green, blue, yellow, with a darker rim.
    struct Bar {
        float left, top, bottom;
        Rgba colour;
    };
    const Bar bars[] = {{11, 9, 27, {0.66f, 0.91f, 0.42f, 1}},
                        {27, 16, 38, {0.58f, 0.72f, 0.86f, 1}},
                        {43, 6, 21, {0.93f, 0.90f, 0.44f, 1}}};
    for (const Bar& bar : bars) {
        const Shape note = scaled([bar](float x, float y) {
            return roundRect(x, y, bar.left, bar.top, bar.left + 10, bar.bottom, 2.5f);
        });
        fill(canvas, note, shade(bar.colour, 0.62f));
        const Shape inside = scaled([bar](float x, float y) {
            return roundRect(x, y, bar.left + 1.2f, bar.top + 1.2f, bar.left + 8.8f,
                             bar.bottom - 1.2f, 1.6f);
        });
        fill(canvas, inside, bar.colour);
    }

    // Seven white keys with five black ones, the struck key lit like a matched note.
    const float keysTop = 41, keysBottom = 58, keyWidth = 48.0f / 7, keysLeft = 8;
    for (int k = 0; k < 7; ++k) {
        const float left = keysLeft + keyWidth * float(k);
        const Shape key = scaled([=](float x, float y) {
            return roundRect(x, y, left + 0.5f, keysTop, left + keyWidth - 0.5f, keysBottom, 0.5f,
                             1.5f);
        });
        const Rgba colour = k == 3 ? Rgba{0.58f, 0.72f, 0.86f, 1} : grey(0.95f);
        fill(canvas, key, [=](float, float y) {
            return mix(colour, shade(colour, 0.78f), clamp01((y / s - keysTop) / 17));
        });
    }
    for (int k : {0, 1, 3, 4, 5}) {
        const float centre = keysLeft + keyWidth * float(k + 1);
        const Shape key = scaled([=](float x, float y) {
            return roundRect(x, y, centre - 2.2f, keysTop, centre + 2.2f, keysTop + 10.5f, 0.3f, 1);
        });
        fill(canvas, key, grey(0.1f));
    }
    return finish(canvas);
}
