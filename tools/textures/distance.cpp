#include "tools/textures/distance.h"

#include <cmath>

float roundRect(float x, float y, float left, float top, float right, float bottom, float topRadius,
                float bottomRadius) {
    float cx = (left + right) * 0.5f, cy = (top + bottom) * 0.5f;
    float r = y < cy ? topRadius : bottomRadius;
    float qx = std::fabs(x - cx) - ((right - left) * 0.5f - r);
    float qy = std::fabs(y - cy) - ((bottom - top) * 0.5f - r);
    float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - r;
}

float polygon(float x, float y, const std::vector<Point>& points) {
    const size_t n = points.size();
    if (n < 3) return 1e9f;
    float best = 1e30f;
    bool inside = false;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const Point& a = points[i];
        const Point& b = points[j];
        float ex = b.x - a.x, ey = b.y - a.y;
        float wx = x - a.x, wy = y - a.y;
        float len = ex * ex + ey * ey;
        float t = len > 0 ? std::min(1.0f, std::max(0.0f, (wx * ex + wy * ey) / len)) : 0.0f;
        float dx = wx - ex * t, dy = wy - ey * t;
        best = std::min(best, dx * dx + dy * dy);
        // Even-odd crossing test of a ray towards +x.
        if ((a.y > y) != (b.y > y) && x < a.x + (y - a.y) * ex / ey) inside = !inside;
    }
    float d = std::sqrt(best);
    return inside ? -d : d;
}

float ellipse(float x, float y, Point centre, float rx, float ry, float cosAngle, float sinAngle) {
    float dx = x - centre.x, dy = y - centre.y;
    float u = (dx * cosAngle + dy * sinAngle) / rx;
    float v = (-dx * sinAngle + dy * cosAngle) / ry;
    // Scaling back by the smaller radius keeps this a lower bound of the true distance.
    return (std::sqrt(u * u + v * v) - 1) * std::min(rx, ry);
}

float capsule(float x, float y, Point a, Point b, float halfWidth) {
    float ex = b.x - a.x, ey = b.y - a.y;
    float wx = x - a.x, wy = y - a.y;
    float len = ex * ex + ey * ey;
    float t = len > 0 ? std::min(1.0f, std::max(0.0f, (wx * ex + wy * ey) / len)) : 0.0f;
    float dx = wx - ex * t, dy = wy - ey * t;
    return std::sqrt(dx * dx + dy * dy) - halfWidth;
}
