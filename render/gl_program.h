#pragma once
// GLSL programs built from sources held in the program.
#include <cstdint>

// Compiles and links; on failure writes the log under name to standard error and returns 0.
uint32_t buildGlProgram(const char* name, const char* vertexSource, const char* fragmentSource);
void releaseGlProgram(uint32_t& program);
