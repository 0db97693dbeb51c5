#include "render/frame.h"

#include "platform/gl.h"
#include "platform/window.h"
#include "render/shapes.h"
#include "render/sprite_pass.h"
#include "render/text.h"
#include "render/ui_binding.h"

namespace {

// The picture's place in the window, which every pass draws the frame into.
void usePictureViewport() {
    int drawableWidth = 0, drawableHeight = 0;
    const ScreenRect picture = pictureInDrawable(drawableWidth, drawableHeight);
    // GL counts rows from the bottom.
    glViewport(picture.x, drawableHeight - picture.y - picture.height, picture.width,
               picture.height);
}

} // namespace

void clearBackBuffer() {
    // Clears obey the scissor test and the colour mask, which the UI or a pass may have left.
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

void drawQueuedFrame(int renderWidth, int renderHeight, const std::function<void()>& queueCursor) {
    clearBackBuffer(); // the whole window, bars included
    usePictureViewport();
    spritePass(renderWidth, renderHeight); // ends with the default states restored
    shapePass(renderWidth, renderHeight);
    textPass(renderWidth, renderHeight);
    uiRender();
    if (queueCursor) queueCursor();
    spritePass(renderWidth, renderHeight);
}
