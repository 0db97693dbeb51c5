#pragma once
// The two GLSL programs the passes draw with. Both map attribute 0, the position, by the uniform
// matrix and pass attribute 1, the colour, on; the textured one also reads attribute 2, the texture
// coordinate, and multiplies the colour by texture unit 0.
#include <cstdint>

#include "render/matrix.h"

enum class ShaderKind { Coloured, Textured };

struct GlProgram {
    uint32_t id = 0;
    int32_t transformLocation = -1;
};

// Compiles and links; on failure writes the log under name to standard error and returns id 0.
GlProgram buildGlProgram(const char* name, ShaderKind kind);
// Makes the program current with transform as its matrix.
void useGlProgram(const GlProgram& program, const Matrix4& transform);
void releaseGlProgram(GlProgram& program);
