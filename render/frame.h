#pragma once
// The frame: the clear, then every pass in its fixed order.
#include <functional>

// Opaque black; the window has only a colour buffer.
void clearBackBuffer();

// Draws everything the frame queued, in the fixed order: clear, sprites, lines, text, the UI,
// then whatever queueCursor queues in a sprite pass of its own, above all the rest. The passes
// draw the frame's coordinates into the picture's place in the window, scaled with the frame's
// aspect kept.
void drawQueuedFrame(int renderWidth, int renderHeight, const std::function<void()>& queueCursor);
