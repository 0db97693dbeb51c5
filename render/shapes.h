#pragma once
// Coloured line rectangles, drawn in one call after the sprites.
#include "render/colour.h"

bool createShapeRenderer();
void releaseShapeRenderer();

void addRectangleOutline(float left, float top, float right, float bottom, const Colour& colour);
struct ShapeList;
// The lines queued since the last pass: the first count vertices, two to a line.
const ShapeList& queuedShapes();

void shapePass(int renderWidth, int renderHeight);
