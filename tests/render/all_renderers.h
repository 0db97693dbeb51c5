#pragma once
// A window with every renderer of the frame, made and released in the program's order, for the
// GL tests and benchmarks.
#include "platform/window.h"
#include "render/shapes.h"
#include "render/sprite_pass.h"
#include "render/text.h"
#include "render/texture_registry.h"
#include "render/ui_binding.h"

// False as soon as one part could not be made; closeRenderers releases what was.
inline bool openRenderers(int frameWidth, int frameHeight, const char* textureDirectory) {
    if (!createWindow("Cadenzio", frameWidth, frameHeight)) return false;
    if (!createShapeRenderer() || !createSpritePass()) return false;
    createTextureRegistry(textureDirectory);
    return createUiBinding(frameWidth, frameHeight) && createTextRenderer("Consolas");
}

inline void closeRenderers() {
    releaseTextRenderer();
    releaseUiBinding();
    releaseTextureRegistry();
    releaseSpritePass();
    releaseShapeRenderer();
    destroyWindow();
}
