#pragma once
// A floating-point RGBA canvas on which the textures are painted: shapes given by signed
// distance functions, anti-aliased by supersampling, composited over what is already there.
#include <functional>
#include <vector>

#include "tools/textures/image.h"

struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;
};

inline Rgba grey(float value, float alpha = 1) {
    return {value, value, value, alpha};
}
Rgba mix(const Rgba& a, const Rgba& b, float t);
// Multiplies red, green and blue, keeping alpha.
Rgba shade(const Rgba& colour, float factor);
float clamp01(float v);
// 0 at edge0, 1 at edge1, smooth in between (either order of edges).
float smoothstep(float edge0, float edge1, float x);

// Signed distance in pixels to a shape's outline at a point: negative inside. It may
// underestimate the true distance, never overestimate it.
using Shape = std::function<float(float x, float y)>;
// Colour (straight alpha) at a point; pixel (i, j) spans [i, i + 1) x [j, j + 1).
using Paint = std::function<Rgba(float x, float y)>;

struct Canvas {
    int width = 0, height = 0;
    std::vector<Rgba> pixels; // straight alpha, row by row
};

Canvas makeCanvas(int width, int height);
Rgba& pixel(Canvas& canvas, int x, int y);

// Paints the shape over the canvas: coverage from 16 x 16 samples per pixel on its edges, the
// colour averaged over the covered samples.
void fill(Canvas& canvas, const Shape& shape, const Paint& paint);
void fill(Canvas& canvas, const Shape& shape, const Rgba& colour);
// Composites source over destination pixel by pixel (equal sizes).
void composite(Canvas& destination, const Canvas& source);
// Softens the alpha with repeated box blurs of the given radius (for shadows).
void blurAlpha(Canvas& canvas, int radius, int passes);

// Rounds to 8 bits and gives fully transparent texels the colour of their visible neighbours,
// so that filtering at shape edges does not pull in black.
Image finish(const Canvas& canvas);
