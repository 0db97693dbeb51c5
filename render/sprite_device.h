#pragma once
// The GL side of the sprite batch: shaders, the dynamic vertex buffer and the fixed index buffer.
#include "render/sprite_batch.h"

// Creates the GL objects on first use; false when the shaders cannot be built.
bool createSpriteDevice();
void releaseSpriteDevice();
SpriteBatchTarget glSpriteTarget();
