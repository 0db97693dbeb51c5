#pragma once
// Coloured line rectangles, drawn in one call after the sprites.
#include "render/colour.h"

bool createShapeRenderer();
void releaseShapeRenderer();

void addRectangleOutline(float left, float top, float right, float bottom, const Colour& colour);

void shapePass(int renderWidth, int renderHeight);
