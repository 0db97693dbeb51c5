#pragma once
// Signed distances to simple shapes (negative inside), in pixels, for painting on a Canvas.
#include <algorithm>
#include <vector>

struct Point {
    float x = 0, y = 0;
};

// Axis-aligned rectangle with the top corners rounded by topRadius and the bottom ones by
// bottomRadius (each at most half the smaller side).
float roundRect(float x, float y, float left, float top, float right, float bottom, float topRadius,
                float bottomRadius);
inline float roundRect(float x, float y, float left, float top, float right, float bottom,
                       float radius) {
    return roundRect(x, y, left, top, right, bottom, radius, radius);
}
// Closed polygon through the points, in either winding order.
float polygon(float x, float y, const std::vector<Point>& points);
// Ellipse with radii rx, ry, turned by the angle whose cosine and sine are given.
float ellipse(float x, float y, Point centre, float rx, float ry, float cosAngle, float sinAngle);
// Line from a to b with round ends, halfWidth on either side.
float capsule(float x, float y, Point a, Point b, float halfWidth);

inline float unite(float a, float b) {
    return std::min(a, b);
}
inline float intersect(float a, float b) {
    return std::max(a, b);
}
inline float subtract(float a, float b) {
    return std::max(a, -b);
}
// The band of the given width just inside a shape's outline.
inline float innerBand(float d, float width) {
    return std::max(d, -(d + width));
}
