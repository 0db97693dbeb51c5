#include "render/gl_program.h"

#include <cstdio>
#include <vector>

#include "platform/gl.h"

namespace {

GLuint compileStage(const char* name, GLenum stage, const char* source) {
    GLuint shader = glCreateShader(stage);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        GLint length = 0;
        glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
        std::vector<char> log(size_t(length > 0 ? length : 1), '\0');
        glGetShaderInfoLog(shader, GLsizei(log.size()), nullptr, log.data());
        std::fprintf(stderr, "%s %s shader: %s\n", name,
                     stage == GL_VERTEX_SHADER ? "vertex" : "fragment", log.data());
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

} // namespace

uint32_t buildGlProgram(const char* name, const char* vertexSource, const char* fragmentSource) {
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
    GLint ok = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) {
        GLint length = 0;
        glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
        std::vector<char> log(size_t(length > 0 ? length : 1), '\0');
        glGetProgramInfoLog(program, GLsizei(log.size()), nullptr, log.data());
        std::fprintf(stderr, "%s program link: %s\n", name, log.data());
        glDeleteProgram(program);
        return 0;
    }
    return program;
}

void releaseGlProgram(uint32_t& program) {
    if (program) glDeleteProgram(program);
    program = 0;
}
