#include "render/gl_program.h"

#include <cstdio>
#include <string>
#include <vector>

#include "platform/gl.h"

namespace {

const char* colouredVertexSource = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec4 colour;
uniform mat4 transform;
out vec4 vColour;
void main() {
    gl_Position = transform * vec4(position, 1.0);
    vColour = colour;
}
)";

const char* colouredFragmentSource = R"(#version 330 core
in vec4 vColour;
out vec4 fragColour;
void main() { fragColour = vColour; }
)";

// A two-component position attribute reads as z = 0.
const char* texturedVertexSource = R"(#version 330 core
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

const char* texturedFragmentSource = R"(#version 330 core
in vec4 vColour;
in vec2 vTexCoord;
uniform sampler2D image;
out vec4 fragColour;
void main() { fragColour = texture(image, vTexCoord) * vColour; }
)";

using GetParameter = void (*)(GLuint, GLenum, GLint*);
using GetLog = void (*)(GLuint, GLsizei, GLsizei*, GLchar*);

// Shaders and programs report alike through their own pair of calls. False, with the object's log
// under label on standard error, when its status is not set.
bool succeeded(GLuint object, GLenum status, GetParameter getParameter, GetLog getLog,
               const std::string& label) {
    GLint ok = GL_FALSE;
    getParameter(object, status, &ok);
    if (ok) return true;
    GLint length = 0;
    getParameter(object, GL_INFO_LOG_LENGTH, &length);
    std::vector<char> log(size_t(length > 0 ? length : 1), '\0');
    getLog(object, GLsizei(log.size()), nullptr, log.data());
    std::fprintf(stderr, "%s: %s\n", label.c_str(), log.data());
    return false;
}

GLuint compileStage(const char* name, GLenum stage, const char* source) {
    GLuint shader = glCreateShader(stage);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    std::string label =
        std::string(name) + (stage == GL_VERTEX_SHADER ? " vertex shader" : " fragment shader");
    if (!succeeded(shader, GL_COMPILE_STATUS, glGetShaderiv, glGetShaderInfoLog, label)) {
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

GLuint linkProgram(const char* name, const char* vertexSource, const char* fragmentSource) {
    GLuint vertex = compileStage(name, GL_VERTEX_SHADER, vertexSource);
    if (!vertex) return 0;
    GLuint fragment = compileStage(name, GL_FRAGMENT_SHADER, fragmentSource);
    if (!fragment) {
        glDeleteShader(vertex);
        return 0;
    }
    GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glLinkProgram(program);
    glDetachShader(program, vertex);
    glDetachShader(program, fragment);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    if (!succeeded(program, GL_LINK_STATUS, glGetProgramiv, glGetProgramInfoLog,
                   std::string(name) + " program link")) {
        glDeleteProgram(program);
        return 0;
    }
    return program;
}

} // namespace

GlProgram buildGlProgram(const char* name, ShaderKind kind) {
    bool textured = kind == ShaderKind::Textured;
    GlProgram program;
    program.id = linkProgram(name, textured ? texturedVertexSource : colouredVertexSource,
                             textured ? texturedFragmentSource : colouredFragmentSource);
    if (!program.id) return program;
    program.transformLocation = glGetUniformLocation(program.id, "transform");
    if (textured) {
        glUseProgram(program.id);
        glUniform1i(glGetUniformLocation(program.id, "image"), 0);
        glUseProgram(0);
    }
    return program;
}

void useGlProgram(const GlProgram& program, const Matrix4& transform) {
    glUseProgram(program.id);
    // Our matrices multiply row vectors; GL reads the same memory as its column-vector transpose.
    glUniformMatrix4fv(program.transformLocation, 1, GL_FALSE, transform.m);
}

void releaseGlProgram(GlProgram& program) {
    if (program.id) glDeleteProgram(program.id);
    program = GlProgram{};
}
