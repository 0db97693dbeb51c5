#pragma once
// Queued text, drawn in the frame's text pass above sprites and lines.
#include <cstdint>

#include "render/colour.h"

// Glyphs of the font that fontconfig picks for family (for example "Consolas").
bool createTextRenderer(const char* family);
void releaseTextRenderer();

// Queues UTF-8 text with its top-left corner at (x, y), size in pixels.
void drawText(const char* text, float x, float y, float size, const Colour& colour);
// How wide drawText would lay out one line of text, in pixels; without a font, the width of
// the monospaced one the program asks for.
float textWidth(const char* text, float size);
// Alpha in bits 24-31 (always 0xFF), blue 16-23, green 8-15, red 0-7.
uint32_t packColour(const Colour& colour);

void textPass(int renderWidth, int renderHeight);
