#include "render/sprite_device.h"

#include <cstddef>
#include <cstring>

#include "platform/gl.h"
#include "render/gl_program.h"

namespace {

const char* vertexSource = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec4 colour;
layout(location = 2) in vec2 texCoord;
uniform mat4 transform;
out vec4 vColour;
out vec2 vTexCoord;
void main() {
    gl_Position = transform * vec4(position, 1.0);
    vColour = colour;
    vTexCoord = texCoord;
}
)";

const char* fragmentSource = R"(#version 330 core
in vec4 vColour;
in vec2 vTexCoord;
uniform sampler2D sprite;
out vec4 fragColour;
void main() { fragColour = texture(sprite, vTexCoord) * vColour; }
)";

constexpr GLsizeiptr vertexBufferBytes = GLsizeiptr(spriteBufferSprites) * 4 * sizeof(SpriteVertex);

GLuint program = 0;
GLint transformLocation = -1;
GLuint vertexArray = 0, vertexBuffer = 0, indexBuffer = 0;

void prepare(const SpritePipeline& pipeline) {
    applyBlendState(pipeline.blend);
    applyDepthState(pipeline.depth);
    applyRasterizerState(pipeline.rasterizer);
    glActiveTexture(GL_TEXTURE0);
    applySamplerState(pipeline.sampler);
    glUseProgram(program);
    // Our matrices multiply row vectors; GL reads the same memory as its column-vector transpose.
    glUniformMatrix4fv(transformLocation, 1, GL_FALSE, pipeline.transform.m);
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
}

void draw(const GpuTexture& texture, const SpriteChunk& chunk, const SpriteVertex* vertices) {
    glBindTexture(GL_TEXTURE_2D, texture.id);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    GLintptr offset = GLintptr(chunk.position) * 4 * GLintptr(sizeof(SpriteVertex));
    GLsizeiptr bytes = GLsizeiptr(chunk.count) * 4 * GLsizeiptr(sizeof(SpriteVertex));
    if (chunk.orphan) {
        // A fresh store: draws still reading the old one are not waited for.
        glBufferData(GL_ARRAY_BUFFER, vertexBufferBytes, nullptr, GL_STREAM_DRAW);
        glBufferSubData(GL_ARRAY_BUFFER, offset, bytes, vertices);
    } else {
        // Earlier draws read other parts of the buffer, so no synchronisation is needed.
        void* target = glMapBufferRange(GL_ARRAY_BUFFER, offset, bytes,
                                        GL_MAP_WRITE_BIT | GL_MAP_UNSYNCHRONIZED_BIT |
                                            GL_MAP_INVALIDATE_RANGE_BIT);
        if (target) {
            std::memcpy(target, vertices, size_t(bytes));
            glUnmapBuffer(GL_ARRAY_BUFFER);
        } else {
            glBufferSubData(GL_ARRAY_BUFFER, offset, bytes, vertices);
        }
    }
    glDrawElements(GL_TRIANGLES, GLsizei(chunk.count * 6), GL_UNSIGNED_SHORT,
                   reinterpret_cast<const void*>(uintptr_t(chunk.position) * 6 * sizeof(uint16_t)));
}

} // namespace

bool createSpriteDevice() {
    if (program) return true;
    program = buildGlProgram("Sprite", vertexSource, fragmentSource);
    if (!program) return false;
    transformLocation = glGetUniformLocation(program, "transform");
    glUseProgram(program);
    glUniform1i(glGetUniformLocation(program, "sprite"), 0);
    glUseProgram(0);

    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    glGenBuffers(1, &vertexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, vertexBufferBytes, nullptr, GL_STREAM_DRAW);
    const GLsizei stride = sizeof(SpriteVertex);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(SpriteVertex, x)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 4, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(SpriteVertex, r)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(offsetof(SpriteVertex, u)));

    uint16_t indices[spriteIndexCount];
    for (uint32_t i = 0; i < spriteBufferSprites; ++i) {
        uint16_t base = uint16_t(i * 4);
        uint16_t* six = indices + i * 6;
        six[0] = base;
        six[1] = uint16_t(base + 1);
        six[2] = uint16_t(base + 2);
        six[3] = uint16_t(base + 1);
        six[4] = uint16_t(base + 3);
        six[5] = uint16_t(base + 2);
    }
    glGenBuffers(1, &indexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, sizeof indices, indices, GL_STATIC_DRAW);
    glBindVertexArray(0);
    return true;
}

void releaseSpriteDevice() {
    if (indexBuffer) glDeleteBuffers(1, &indexBuffer);
    if (vertexBuffer) glDeleteBuffers(1, &vertexBuffer);
    if (vertexArray) glDeleteVertexArrays(1, &vertexArray);
    indexBuffer = vertexBuffer = vertexArray = 0;
    releaseGlProgram(program);
    releaseCommonStates();
}

SpriteBatchTarget glSpriteTarget() {
    return {prepare, draw};
}
