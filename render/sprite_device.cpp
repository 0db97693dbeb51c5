#include "render/sprite_device.h"

#include <cstddef>
#include <cstring>

#include "platform/gl.h"
#include "render/gl_program.h"
#include "render/vertex_array.h"

namespace {

constexpr GLsizeiptr vertexBufferBytes = GLsizeiptr(spriteBufferSprites) * 4 * sizeof(SpriteVertex);

GlProgram program;
VertexArray vertexArray;

void prepare(const SpritePipeline& pipeline) {
    applyBlendState(pipeline.blend);
    applyRasterizerState(pipeline.rasterizer);
    glActiveTexture(GL_TEXTURE0);
    applySamplerState(pipeline.sampler);
    useGlProgram(program, pipeline.transform);
    bindVertexArray(vertexArray);
}

void draw(const GpuTexture& texture, const SpriteChunk& chunk, const SpriteVertex* vertices) {
    glBindTexture(GL_TEXTURE_2D, texture.id);
    glBindBuffer(GL_ARRAY_BUFFER, vertexArray.vertices);
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
    if (program.id) return true;
    program = buildGlProgram("Sprite", ShaderKind::Textured);
    if (!program.id) return false;
    vertexArray = createVertexArray(sizeof(SpriteVertex),
                                    {{3, AttributeType::Float, offsetof(SpriteVertex, x)},
                                     {4, AttributeType::Float, offsetof(SpriteVertex, r)},
                                     {2, AttributeType::Float, offsetof(SpriteVertex, u)}},
                                    true);

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
    bindVertexArray(vertexArray);
    glBufferData(GL_ARRAY_BUFFER, vertexBufferBytes, nullptr, GL_STREAM_DRAW);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, sizeof indices, indices, GL_STATIC_DRAW);
    glBindVertexArray(0);
    return true;
}

void releaseSpriteDevice() {
    releaseVertexArray(vertexArray);
    releaseGlProgram(program);
    releaseCommonStates();
}

SpriteBatchTarget glSpriteTarget() {
    return {prepare, draw};
}
