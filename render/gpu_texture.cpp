#include "render/gpu_texture.h"

#include "platform/gl.h"
#include "platform/png_image.h"

namespace {

GLuint makeTexture() {
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    return id;
}

} // namespace

GpuTexture uploadRgbaTexture(const RgbaImage& image) {
    GpuTexture texture;
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() < size_t(image.width) * size_t(image.height) * 4)
        return texture;
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    texture.id = makeTexture();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.width, image.height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, image.pixels.data());
    glBindTexture(GL_TEXTURE_2D, GLuint(previous));
    texture.width = image.width;
    texture.height = image.height;
    return texture;
}

GpuTexture createCoverageTexture(int32_t width, int32_t height, const uint8_t* coverage) {
    GpuTexture texture;
    if (width <= 0 || height <= 0) return texture;
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    texture.id = makeTexture();
    const GLint swizzle[4] = {GL_ONE, GL_ONE, GL_ONE, GL_RED};
    glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, swizzle);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, width, height, 0, GL_RED, GL_UNSIGNED_BYTE, coverage);
    glBindTexture(GL_TEXTURE_2D, GLuint(previous));
    texture.width = width;
    texture.height = height;
    return texture;
}

void updateCoverageTexture(const GpuTexture& texture, int32_t x, int32_t y, int32_t width,
                           int32_t height, const uint8_t* coverage) {
    if (!texture.id || width <= 0 || height <= 0) return;
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, texture.id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, width, height, GL_RED, GL_UNSIGNED_BYTE, coverage);
    glBindTexture(GL_TEXTURE_2D, GLuint(previous));
}

void releaseGpuTexture(GpuTexture& texture) {
    if (texture.id) {
        GLuint id = texture.id;
        glDeleteTextures(1, &id);
    }
    texture = GpuTexture{};
}
