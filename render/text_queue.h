#pragma once
// The queued texts of the current frame.
#include <cstdint>
#include <string>
#include <vector>

struct TextCommand {
    std::u16string text;
    float size = 0; // pixels
    float x = 0, y = 0;
    uint32_t colour = 0; // packColour
};

const std::vector<TextCommand>& textQueue();
