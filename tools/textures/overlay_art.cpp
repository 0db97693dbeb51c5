#include "tools/textures/art.h"
#include "tools/textures/canvas.h"
#include "tools/textures/distance.h"

Image paintCursor() {
    // An arrow whose tip sits on texel (0, 0): the cursor is drawn at the pointer position.
    constexpr int width = 24, height = 32;
    const float s = 1.15f, tip = 1.2f;
    std::vector<Point> arrow;
    for (Point p : std::vector<Point>{
             {0, 0}, {0, 21}, {5, 16.2f}, {8.6f, 23.6f}, {11.6f, 22.2f}, {8.1f, 15}, {15, 15}})
        arrow.push_back({tip + p.x * s, tip + p.y * s});

    Canvas canvas = makeCanvas(width, height);
    Canvas shadow = makeCanvas(width, height);
    fill(
        shadow, [&](float x, float y) { return polygon(x - 1.5f, y - 2, arrow) - 1; },
        grey(0, 0.45f));
    blurAlpha(shadow, 1, 2);
    composite(canvas, shadow);
    fill(
        canvas, [&](float x, float y) { return polygon(x, y, arrow) - 1; }, grey(0));
    fill(
        canvas, [&](float x, float y) { return polygon(x, y, arrow) + 0.3f; },
        [](float, float y) { return grey(1 - 0.12f * clamp01(y / 28)); });
    return finish(canvas);
}

Image paintPixel() {
    Image image = makeImage(1, 1);
    for (int k = 0; k < 4; ++k) texel(image, 0, 0)[k] = 255;
    return image;
}

Image paintBookmark() {
    // A tag hanging under the bookmark bar; the bookmark's number is written on it at x = 10.
    constexpr int width = 36, height = 24;
    Canvas canvas = makeCanvas(width, height);
    Shape tag = [](float x, float y) {
        return polygon(x, y, {{-2, 1.5f}, {25, 1.5f}, {33, 12}, {25, 22.5f}, {-2, 22.5f}}) - 1;
    };
    fill(canvas, tag, [](float, float y) {
        return mix({1.0f, 0.90f, 0.55f, 1}, {0.96f, 0.72f, 0.30f, 1}, clamp01(y / height));
    });
    fill(
        canvas, [&](float x, float y) { return innerBand(tag(x, y), 1.2f); },
        Rgba{0.55f, 0.35f, 0.08f, 1});
    return finish(canvas);
}

Image paintBookmarkBar() {
    // Stretched across the screen; a bright line with softer rims.
    Image image = makeImage(1, 4);
    const uint8_t rows[4][4] = {
        {242, 178, 64, 140}, {255, 222, 128, 255}, {250, 205, 105, 255}, {204, 140, 38, 140}};
    for (int y = 0; y < 4; ++y)
        for (int k = 0; k < 4; ++k) texel(image, 0, y)[k] = rows[y][k];
    return image;
}
