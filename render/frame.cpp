#include "render/frame.h"

#include "platform/gl.h"
#include "render/common_states.h"
#include "render/shapes.h"
#include "render/text.h"
#include "render/texture_registry.h"
#include "render/ui_binding.h"

void clearBackBuffer() {
    // Clears obey the scissor test and the write masks, which the UI or a pass may have left.
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glStencilMask(0xFF);
    glClearColor(0, 0, 0, 1);
    glClearDepth(1.0);
    glClearStencil(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

void restoreDefaultStates() {
    applyBlendState(BlendState::Opaque);
    applyDepthState(DepthState::Default);
    applyRasterizerState(RasterizerState::CullCounterClockwise);
}

void drawQueuedFrame(int renderWidth, int renderHeight, const std::function<void()>& queueCursor) {
    clearBackBuffer();
    spritePass(renderWidth, renderHeight); // ends with the default states restored
    shapePass(renderWidth, renderHeight);
    textPass(renderWidth, renderHeight);
    uiRender();
    if (queueCursor) queueCursor();
    spritePass(renderWidth, renderHeight);
}
