#pragma once
// The frame's fixed GL steps around the passes.
#include <functional>

// Opaque black, depth 1, stencil 0.
void clearBackBuffer();
// Opaque blending, depth test and write on, back-face culling, solid fill.
void restoreDefaultStates();

// Draws everything the frame queued, in the fixed order: clear, sprites, lines, text, the UI,
// then whatever queueCursor queues in a sprite pass of its own, above all the rest.
void drawQueuedFrame(int renderWidth, int renderHeight, const std::function<void()>& queueCursor);
