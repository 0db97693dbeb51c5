#include "render/vertex_array.h"

#include "platform/gl.h"

VertexArray createVertexArray(size_t stride, std::initializer_list<VertexAttribute> attributes,
                              bool withIndices) {
    VertexArray made;
    glGenVertexArrays(1, &made.array);
    glGenBuffers(1, &made.vertices);
    if (withIndices) glGenBuffers(1, &made.indices);
    bindVertexArray(made);
    // The index buffer binding is part of the vertex array's state.
    if (withIndices) glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, made.indices);
    GLuint location = 0;
    for (const VertexAttribute& attribute : attributes) {
        bool bytes = attribute.type == AttributeType::NormalisedByte;
        glEnableVertexAttribArray(location);
        glVertexAttribPointer(location, attribute.components, bytes ? GL_UNSIGNED_BYTE : GL_FLOAT,
                              bytes ? GL_TRUE : GL_FALSE, GLsizei(stride),
                              reinterpret_cast<const void*>(attribute.offset));
        ++location;
    }
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return made;
}

void releaseVertexArray(VertexArray& vertexArray) {
    if (vertexArray.indices) glDeleteBuffers(1, &vertexArray.indices);
    if (vertexArray.vertices) glDeleteBuffers(1, &vertexArray.vertices);
    if (vertexArray.array) glDeleteVertexArrays(1, &vertexArray.array);
    vertexArray = VertexArray{};
}

void bindVertexArray(const VertexArray& vertexArray) {
    glBindVertexArray(vertexArray.array);
    glBindBuffer(GL_ARRAY_BUFFER, vertexArray.vertices);
}
