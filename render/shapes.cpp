#include "render/shapes.h"

#include <cstdio>
#include <memory>

#include "platform/gl.h"
#include "render/gl_program.h"
#include "render/shape_list.h"

namespace {

const char* vertexSource = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec4 colour;
uniform mat4 transform;
out vec4 vColour;
void main() {
    gl_Position = transform * vec4(position, 1.0);
    vColour = colour;
}
)";

const char* fragmentSource = R"(#version 330 core
in vec4 vColour;
out vec4 fragColour;
void main() { fragColour = vColour; }
)";

// The frame's lines, kept apart from the GL objects so that they can be queued (and looked at)
// without a context; made on first use, since the list is large.
ShapeList queued;

struct ShapeRenderer {
    GLuint program = 0;
    GLint transformLocation = -1;
    GLuint vertexArray = 0, vertexBuffer = 0;
};

std::unique_ptr<ShapeRenderer> renderer;

} // namespace

ShapeList makeShapeList() {
    ShapeList list;
    list.vertices.assign(shapeListCapacity, LineVertex{});
    return list;
}

bool appendRectangleOutline(ShapeList& list, float left, float top, float right, float bottom,
                            const Colour& c) {
    if (uint64_t(list.count) + 8 > list.vertices.size()) return false;
    const float corners[8][2] = {{left, top},     {right, top},   {right, top},   {right, bottom},
                                 {right, bottom}, {left, bottom}, {left, bottom}, {left, top}};
    LineVertex* out = &list.vertices[list.count];
    for (const auto& corner : corners) *out++ = {corner[0], corner[1], 0, c.r, c.g, c.b, c.a};
    list.count += 8;
    return true;
}

void pixelToClipMatrix(int32_t width, int32_t height, float m[16]) {
    for (int i = 0; i < 16; ++i) m[i] = 0;
    m[0] = width != 0 ? 2.0f / float(width) : 0.0f;
    m[3] = -1;
    m[5] = height != 0 ? -2.0f / float(height) : 0.0f;
    m[7] = 1;
    m[10] = 1;
    m[15] = 1;
}

bool createShapeRenderer() {
    if (renderer) return true;
    auto created = std::make_unique<ShapeRenderer>();
    created->program = buildGlProgram("CBSimpleDraw", vertexSource, fragmentSource);
    if (!created->program) return false;
    created->transformLocation = glGetUniformLocation(created->program, "transform");
    if (queued.vertices.empty()) queued = makeShapeList();
    glGenVertexArrays(1, &created->vertexArray);
    glBindVertexArray(created->vertexArray);
    glGenBuffers(1, &created->vertexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, created->vertexBuffer);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(LineVertex), nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 4, GL_FLOAT, GL_FALSE, sizeof(LineVertex),
                          reinterpret_cast<const void*>(3 * sizeof(float)));
    glBindVertexArray(0);
    renderer = std::move(created);
    return true;
}

void releaseShapeRenderer() {
    if (!renderer) return;
    glDeleteBuffers(1, &renderer->vertexBuffer);
    glDeleteVertexArrays(1, &renderer->vertexArray);
    releaseGlProgram(renderer->program);
    renderer.reset();
    queued = ShapeList{};
}

void addRectangleOutline(float left, float top, float right, float bottom, const Colour& colour) {
    if (queued.vertices.empty()) queued = makeShapeList();
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
    float matrix[16];
    pixelToClipMatrix(renderWidth, renderHeight, matrix);
    glUseProgram(renderer->program);
    // The matrix is written row by row for column vectors.
    glUniformMatrix4fv(renderer->transformLocation, 1, GL_TRUE, matrix);
    glBindVertexArray(renderer->vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, renderer->vertexBuffer);
    // A fresh store each frame: no wait on the previous frame's draw.
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(queued.count) * GLsizeiptr(sizeof(LineVertex)),
                 queued.vertices.data(), GL_STREAM_DRAW);
    glDrawArrays(GL_LINES, 0, GLsizei(queued.count));
    glBindVertexArray(0);
    queued.count = 0;
}
