#pragma once
// Queued text, drawn in the frame's text pass above sprites and lines.
#include <cstdint>
#include <string>

#include "render/colour.h"

// Glyphs of the font that fontconfig picks for family (for example "Consolas").
bool createTextRenderer(const char* family);
void releaseTextRenderer();

// Queues UTF-8 text with its top-left corner at (x, y), size in pixels.
void drawText(const char* text, float x, float y, float size, const Colour& colour);
// text as drawn at size when it fits in width pixels, else its longest start that fits with
// "..." after it, cut between characters. Measured with the font's glyphs once the renderer
// exists, else as a monospace font of advance 0.6 x size.
std::string fitText(const std::string& text, float size, float width);

// Alpha in bits 24-31 (always 0xFF), blue 16-23, green 8-15, red 0-7.
uint32_t packColour(const Colour& colour);

void textPass(int renderWidth, int renderHeight);
