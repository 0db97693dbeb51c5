#include "render/shapes.h"

#include <cstddef>
#include <memory>

#include "platform/gl.h"
#include "render/gl_program.h"
#include "render/shape_list.h"
#include "render/vertex_array.h"

namespace {

// The frame's lines, kept apart from the GL objects so that they can be queued (and looked at)
// without a context.
ShapeList queued;

struct ShapeRenderer {
    GlProgram program;
    VertexArray vertexArray;
};

std::unique_ptr<ShapeRenderer> renderer;

} // namespace

ShapeList makeShapeList() {
    ShapeList list;
    list.vertices.reserve(4096);
    return list;
}

bool appendRectangleOutline(ShapeList& list, float left, float top, float right, float bottom,
                            const Colour& c) {
    if (uint64_t(list.count) + 8 > shapeListCapacity) return false;
    if (list.vertices.size() < list.count + 8) list.vertices.resize(list.count + 8);
    const float corners[8][2] = {{left, top},     {right, top},   {right, top},   {right, bottom},
                                 {right, bottom}, {left, bottom}, {left, bottom}, {left, top}};
    LineVertex* out = &list.vertices[list.count];
    for (const auto& corner : corners) *out++ = {corner[0], corner[1], 0, c.r, c.g, c.b, c.a};
    list.count += 8;
    return true;
}

bool createShapeRenderer() {
    if (renderer) return true;
    auto created = std::make_unique<ShapeRenderer>();
    created->program = buildGlProgram("CBSimpleDraw", ShaderKind::Coloured);
    if (!created->program.id) return false;
    created->vertexArray = createVertexArray(sizeof(LineVertex),
                                             {{3, AttributeType::Float, offsetof(LineVertex, x)},
                                              {4, AttributeType::Float, offsetof(LineVertex, r)}},
                                             false);
    renderer = std::move(created);
    return true;
}

void releaseShapeRenderer() {
    if (!renderer) return;
    releaseVertexArray(renderer->vertexArray);
    releaseGlProgram(renderer->program);
    renderer.reset();
    queued = ShapeList{};
}

void addRectangleOutline(float left, float top, float right, float bottom, const Colour& colour) {
    appendRectangleOutline(queued, left, top, right, bottom, colour);
}

const ShapeList& queuedShapes() {
    return queued;
}

void shapePass(int renderWidth, int renderHeight) {
    if (!renderer) {
        queued.count = 0;
        return;
    }
    useGlProgram(renderer->program, viewportTransform(renderWidth, renderHeight));
    bindVertexArray(renderer->vertexArray);
    // A fresh store each frame: no wait on the previous frame's draw.
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(queued.count) * GLsizeiptr(sizeof(LineVertex)),
                 queued.vertices.data(), GL_STREAM_DRAW);
    glDrawArrays(GL_LINES, 0, GLsizei(queued.count));
    glBindVertexArray(0);
    queued.count = 0;
}
