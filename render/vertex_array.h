#pragma once
// Vertex arrays over one vertex buffer, with an index buffer where one is asked for.
#include <cstddef>
#include <cstdint>
#include <initializer_list>

enum class AttributeType { Float, NormalisedByte };

// One field of the vertex record; the attributes take locations 0, 1, ... in the order given.
struct VertexAttribute {
    int32_t components;
    AttributeType type;
    size_t offset;
};

struct VertexArray {
    uint32_t array = 0;
    uint32_t vertices = 0;
    uint32_t indices = 0; // 0 without an index buffer
};

// The buffers get no store here; nothing is left bound.
VertexArray createVertexArray(size_t stride, std::initializer_list<VertexAttribute> attributes,
                              bool withIndices);
void releaseVertexArray(VertexArray& vertexArray);
// Binds the array, and with it its index buffer, and the vertex buffer for filling.
void bindVertexArray(const VertexArray& vertexArray);
