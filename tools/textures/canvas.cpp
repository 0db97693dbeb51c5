#include "tools/textures/canvas.h"

#include <algorithm>
#include <cmath>

Rgba mix(const Rgba& a, const Rgba& b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

Rgba shade(const Rgba& colour, float factor) {
    return {colour.r * factor, colour.g * factor, colour.b * factor, colour.a};
}

float clamp01(float v) {
    return std::min(1.0f, std::max(0.0f, v));
}

float smoothstep(float edge0, float edge1, float x) {
    float t = clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

Canvas makeCanvas(int width, int height) {
    Canvas canvas;
    canvas.width = width;
    canvas.height = height;
    canvas.pixels.assign(size_t(width) * size_t(height), Rgba{});
    return canvas;
}

Rgba& pixel(Canvas& canvas, int x, int y) {
    return canvas.pixels[size_t(y) * size_t(canvas.width) + size_t(x)];
}

namespace {

constexpr int samplesPerAxis = 16;
// Half the pixel diagonal, rounded up: beyond it a pixel lies wholly inside or outside.
constexpr float edgeReach = 0.75f;

void over(Rgba& destination, const Rgba& source, float alpha) {
    if (alpha <= 0) return;
    float kept = destination.a * (1 - alpha);
    float outAlpha = alpha + kept;
    destination.r = (source.r * alpha + destination.r * kept) / outAlpha;
    destination.g = (source.g * alpha + destination.g * kept) / outAlpha;
    destination.b = (source.b * alpha + destination.b * kept) / outAlpha;
    destination.a = outAlpha;
}

} // namespace

void fill(Canvas& canvas, const Shape& shape, const Paint& paint) {
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            float cx = float(x) + 0.5f, cy = float(y) + 0.5f;
            float d = shape(cx, cy);
            if (d > edgeReach) continue;
            Rgba colour;
            float coverage;
            if (d < -edgeReach) {
                colour = paint(cx, cy);
                coverage = 1;
            } else {
                Rgba sum;
                int covered = 0;
                for (int j = 0; j < samplesPerAxis; ++j) {
                    float sy = float(y) + (float(j) + 0.5f) / samplesPerAxis;
                    for (int i = 0; i < samplesPerAxis; ++i) {
                        float sx = float(x) + (float(i) + 0.5f) / samplesPerAxis;
                        if (shape(sx, sy) >= 0) continue;
                        Rgba c = paint(sx, sy);
                        sum.r += c.r;
                        sum.g += c.g;
                        sum.b += c.b;
                        sum.a += c.a;
                        ++covered;
                    }
                }
                if (covered == 0) continue;
                float n = float(covered);
                colour = {sum.r / n, sum.g / n, sum.b / n, sum.a / n};
                coverage = n / float(samplesPerAxis * samplesPerAxis);
            }
            over(pixel(canvas, x, y), colour, clamp01(colour.a) * coverage);
        }
    }
}

void fill(Canvas& canvas, const Shape& shape, const Rgba& colour) {
    fill(canvas, shape, [&](float, float) { return colour; });
}

void composite(Canvas& destination, const Canvas& source) {
    size_t n = std::min(destination.pixels.size(), source.pixels.size());
    for (size_t i = 0; i < n; ++i)
        over(destination.pixels[i], source.pixels[i], source.pixels[i].a);
}

void blurAlpha(Canvas& canvas, int radius, int passes) {
    const int w = canvas.width, h = canvas.height;
    std::vector<float> line;
    const float span = float(2 * radius + 1);
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < h; ++y) {
            line.assign(size_t(w), 0);
            for (int x = 0; x < w; ++x) line[size_t(x)] = pixel(canvas, x, y).a;
            for (int x = 0; x < w; ++x) {
                float sum = 0;
                for (int k = -radius; k <= radius; ++k)
                    if (x + k >= 0 && x + k < w) sum += line[size_t(x + k)];
                pixel(canvas, x, y).a = sum / span;
            }
        }
        for (int x = 0; x < w; ++x) {
            line.assign(size_t(h), 0);
            for (int y = 0; y < h; ++y) line[size_t(y)] = pixel(canvas, x, y).a;
            for (int y = 0; y < h; ++y) {
                float sum = 0;
                for (int k = -radius; k <= radius; ++k)
                    if (y + k >= 0 && y + k < h) sum += line[size_t(y + k)];
                pixel(canvas, x, y).a = sum / span;
            }
        }
    }
}

namespace {

uint8_t toByte(float v) {
    return uint8_t(std::floor(clamp01(v) * 255.0f + 0.5f));
}

} // namespace

Image finish(const Canvas& canvas) {
    Image image = makeImage(canvas.width, canvas.height);
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            const Rgba& c = canvas.pixels[size_t(y) * size_t(canvas.width) + size_t(x)];
            uint8_t* t = texel(image, x, y);
            t[3] = toByte(c.a);
            if (t[3] == 0) continue;
            t[0] = toByte(c.r);
            t[1] = toByte(c.g);
            t[2] = toByte(c.b);
        }
    }
    // Spread colour into transparent texels ring by ring from the visible ones.
    const int w = image.width, h = image.height;
    std::vector<uint8_t> known(size_t(w) * size_t(h));
    for (int i = 0; i < w * h; ++i) known[size_t(i)] = image.rgba[size_t(i) * 4 + 3] != 0;
    for (bool grew = true; grew;) {
        grew = false;
        std::vector<uint8_t> next = known;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if (known[size_t(y) * size_t(w) + size_t(x)]) continue;
                int sum[3] = {0, 0, 0}, count = 0;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        int nx = x + dx, ny = y + dy;
                        if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                        if (!known[size_t(ny) * size_t(w) + size_t(nx)]) continue;
                        const uint8_t* n = texel(image, nx, ny);
                        for (int k = 0; k < 3; ++k) sum[k] += n[k];
                        ++count;
                    }
                }
                if (count == 0) continue;
                uint8_t* t = texel(image, x, y);
                for (int k = 0; k < 3; ++k) t[k] = uint8_t((sum[k] + count / 2) / count);
                next[size_t(y) * size_t(w) + size_t(x)] = 1;
                grew = true;
            }
        }
        known.swap(next);
    }
    return image;
}
