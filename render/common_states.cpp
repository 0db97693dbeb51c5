#include "render/common_states.h"

#include "platform/gl.h"

namespace {
GLuint linearClamp = 0;
}

void applyBlendState(BlendState state) {
    switch (state) {
    case BlendState::Opaque:
        glDisable(GL_BLEND);
        break;
    case BlendState::AlphaBlend:
        glEnable(GL_BLEND);
        glBlendEquation(GL_FUNC_ADD);
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        break;
    case BlendState::NonPremultiplied:
        glEnable(GL_BLEND);
        glBlendEquation(GL_FUNC_ADD);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        break;
    }
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

void applyRasterizerState(RasterizerState state) {
    // Front faces are clockwise as seen on screen, so sprites drawn mirrored are culled.
    if (state == RasterizerState::CullCounterClockwise) {
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glFrontFace(GL_CW);
    } else {
        glDisable(GL_CULL_FACE);
    }
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDisable(GL_SCISSOR_TEST);
}

void applySamplerState(SamplerState) {
    if (!linearClamp) {
        glGenSamplers(1, &linearClamp);
        glSamplerParameteri(linearClamp, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glSamplerParameteri(linearClamp, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glSamplerParameteri(linearClamp, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glSamplerParameteri(linearClamp, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }
    glBindSampler(0, linearClamp);
}

void restoreDefaultStates() {
    applyBlendState(BlendState::Opaque);
    applyRasterizerState(RasterizerState::CullCounterClockwise);
}

void releaseCommonStates() {
    if (linearClamp) glDeleteSamplers(1, &linearClamp);
    linearClamp = 0;
}
