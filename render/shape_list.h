#pragma once
// The CPU-side line list of the shape renderer.
#include <cstdint>
#include <vector>

#include "render/colour.h"

struct LineVertex {
    float x, y, z;
    float r, g, b, a;
};
static_assert(sizeof(LineVertex) == 28);

constexpr uint32_t shapeListCapacity = 1048576;

// At most shapeListCapacity vertices a frame. The vertices grow as lines are queued, so a frame
// with few lines (most of them) never pays for the largest.
struct ShapeList {
    std::vector<LineVertex> vertices; // the first count are this frame's; never fewer than count
    uint32_t count = 0;
};

ShapeList makeShapeList();
// The four edges as separate segments (eight vertices); false, and nothing added, when they do
// not all fit.
bool appendRectangleOutline(ShapeList& list, float left, float top, float right, float bottom,
                            const Colour& colour);
