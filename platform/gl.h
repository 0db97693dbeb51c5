#pragma once
// OpenGL for the render layer's .cpp files; headers above platform/ never include this.
#include <epoxy/gl.h>
