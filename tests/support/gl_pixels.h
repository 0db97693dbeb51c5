#pragma once
// Reading back what a GL test drew: the back buffer's pixels, rows counted from the top.
#include <cstdint>
#include <ostream>
#include <vector>

#include "platform/gl.h"

namespace glpixels {

struct Pixel {
    int r, g, b;
    bool operator==(const Pixel&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Pixel& p) {
    return out << "(" << p.r << ", " << p.g << ", " << p.b << ")";
}

// The channels as 0 to 1.
struct Shade {
    float r, g, b;
};

// A rectangle of the back buffer of a frame frameHeight pixels high, rows from the top.
inline std::vector<Pixel> readBack(int x, int y, int w, int h, int frameHeight = 1080) {
    std::vector<uint8_t> raw(size_t(w) * size_t(h) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, frameHeight - y - h, w, h, GL_RGBA, GL_UNSIGNED_BYTE, raw.data());
    std::vector<Pixel> pixels(size_t(w) * size_t(h));
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col) {
            const uint8_t* p = &raw[(size_t(h - 1 - row) * size_t(w) + size_t(col)) * 4];
            pixels[size_t(row) * size_t(w) + size_t(col)] = {p[0], p[1], p[2]};
        }
    return pixels;
}

inline Pixel pixelAt(int x, int y, int frameHeight = 1080) {
    return readBack(x, y, 1, 1, frameHeight)[0];
}

inline Shade shadeAt(int x, int y, int frameHeight = 1080) {
    const Pixel p = pixelAt(x, y, frameHeight);
    return {p.r / 255.0f, p.g / 255.0f, p.b / 255.0f};
}

} // namespace glpixels
