#include <cmath>

#include "tools/textures/art.h"
#include "tools/textures/canvas.h"
#include "tools/textures/distance.h"

namespace {

// Vertical gradient between two colours over [top, bottom].
Paint verticalGradient(Rgba top, Rgba bottom, float y0, float y1) {
    return [=](float, float y) { return mix(top, bottom, clamp01((y - y0) / (y1 - y0))); };
}

void outline(Canvas& canvas, const Shape& shape, float width, Rgba colour) {
    fill(
        canvas, [&](float x, float y) { return innerBand(shape(x, y), width); }, colour);
}

} // namespace

Image paintFolderIcon() {
    Canvas canvas = makeCanvas(iconSize, iconSize);
    const Rgba rim{0.45f, 0.28f, 0.05f, 1};
    Shape back = [](float x, float y) {
        return unite(roundRect(x, y, 3, 7, 30, 28, 2), roundRect(x, y, 3, 4, 14, 10, 1.5f));
    };
    fill(canvas, back, verticalGradient({0.88f, 0.62f, 0.18f, 1}, {0.76f, 0.48f, 0.10f, 1}, 4, 28));
    outline(canvas, back, 1, rim);
    Shape paper = [](float x, float y) { return roundRect(x, y, 5.5f, 8.5f, 27.5f, 22, 1); };
    fill(canvas, paper, Rgba{0.98f, 0.98f, 0.95f, 1});
    outline(canvas, paper, 0.8f, grey(0.62f));
    Shape front = [](float x, float y) {
        return polygon(x, y, {{4.5f, 12}, {31, 12}, {29.5f, 28}, {3, 28}});
    };
    fill(canvas, front, [](float, float y) {
        Rgba c = mix({1.0f, 0.86f, 0.40f, 1}, {0.95f, 0.68f, 0.18f, 1}, clamp01((y - 12) / 16));
        return y < 14 ? mix(c, {1.0f, 0.96f, 0.75f, 1}, 0.7f) : c;
    });
    outline(canvas, front, 1, rim);
    return finish(canvas);
}

Image paintMidiIcon() {
    Canvas canvas = makeCanvas(iconSize, iconSize);
    const Rgba rim{0.30f, 0.34f, 0.42f, 1};
    Shape page = [](float x, float y) {
        return polygon(x, y, {{6, 1.5f}, {20.5f, 1.5f}, {27, 8}, {27, 30.5f}, {6, 30.5f}});
    };
    fill(canvas, page, verticalGradient(grey(1), {0.86f, 0.89f, 0.95f, 1}, 2, 30));
    outline(canvas, page, 1, rim);
    Shape fold = [](float x, float y) {
        return polygon(x, y, {{20.5f, 1.5f}, {20.5f, 8}, {27, 8}});
    };
    fill(canvas, fold, Rgba{0.78f, 0.82f, 0.90f, 1});
    outline(canvas, fold, 1, rim);

    // Two beamed quavers.
    const Rgba ink{0.12f, 0.27f, 0.62f, 1};
    const float cosA = 0.9063f, sinA = -0.4226f; // heads tilted by 25 degrees
    const Point head1{11.5f, 24}, head2{20, 22};
    Shape notes = [=](float x, float y) {
        float heads = unite(ellipse(x, y, head1, 2.9f, 2.1f, cosA, sinA),
                            ellipse(x, y, head2, 2.9f, 2.1f, cosA, sinA));
        float stems =
            unite(capsule(x, y, {head1.x + 2.3f, head1.y - 0.8f}, {head1.x + 2.3f, 11}, 0.7f),
                  capsule(x, y, {head2.x + 2.3f, head2.y - 0.8f}, {head2.x + 2.3f, 9}, 0.7f));
        float beam = polygon(x, y,
                             {{head1.x + 1.6f, 10},
                              {head2.x + 3.0f, 8},
                              {head2.x + 3.0f, 11},
                              {head1.x + 1.6f, 13}});
        return unite(heads, unite(stems, beam));
    };
    fill(canvas, notes, ink);
    return finish(canvas);
}

Image paintRowBackground() {
    // Darkish greys: the browser tints rows with 0.75 and 0.5 and writes light text on them.
    Canvas canvas = makeCanvas(1, rowHeight);
    const float h = rowHeight;
    fill(
        canvas, [](float, float) { return -1.0f; },
        [=](float, float y) {
            if (y < 1) return grey(0.56f);
            if (y >= h - 1) return grey(0.22f);
            return grey(0.47f - 0.09f * (y - 1) / (h - 2));
        });
    return finish(canvas);
}

Image paintTrackBox() {
    Canvas canvas = makeCanvas(boxWidth, trackBoxHeight);
    const float w = boxWidth, h = trackBoxHeight;
    Shape box = [=](float x, float y) {
        return roundRect(x, y, 0.5f, 0.5f, w - 0.5f, h - 0.5f, 8);
    };
    fill(canvas, box, [=](float x, float y) {
        float v = 1.0f - 0.14f * clamp01(y / h);
        // A rule under the header line (index and note count).
        if (y >= 34 && y < 35 && x >= 10 && x < w - 10) v *= 0.70f;
        if (y >= 35 && y < 36 && x >= 10 && x < w - 10) v = std::min(1.0f, v + 0.06f);
        return grey(v);
    });
    fill(
        canvas, [&](float x, float y) { return intersect(innerBand(box(x, y) + 1.5f, 1), y - 10); },
        grey(1, 0.7f));
    outline(canvas, box, 1.5f, grey(0.50f));
    return finish(canvas);
}

Image paintOptionBox() {
    Canvas canvas = makeCanvas(boxWidth, optionBoxHeight);
    const float w = boxWidth, h = optionBoxHeight;
    Shape box = [=](float x, float y) {
        return roundRect(x, y, 0.5f, 0.5f, w - 0.5f, h - 0.5f, 5);
    };
    fill(canvas, box,
         verticalGradient({0.93f, 0.96f, 1.0f, 1}, {0.72f, 0.80f, 0.94f, 1}, 1, h - 1));
    fill(
        canvas, [&](float x, float y) { return intersect(innerBand(box(x, y) + 1, 1), y - 6); },
        grey(1, 0.8f));
    outline(canvas, box, 1, {0.42f, 0.47f, 0.56f, 1});
    return finish(canvas);
}
