#pragma once
// The frame's fixed GL steps around the passes.

// Opaque black, depth 1, stencil 0.
void clearBackBuffer();
// Opaque blending, depth test and write on, back-face culling, solid fill.
void restoreDefaultStates();
