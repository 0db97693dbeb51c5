#pragma once
// The frame-rate display in the top-left corner.
#include <cstdint>
#include <string>

struct FrameRateDisplay {
    int32_t frameCounter = 0;  // frames counted towards the next display
    float rateAccumulator = 0; // sum of 1/dt over them
    float frameRate = 0;       // shown
};

// Counts one frame of dt seconds. Every 20 frames the displayed rate becomes the mean of their
// rates. Returns the displayed rate as the first five characters of its "%f" form.
std::string advanceFrameRate(FrameRateDisplay& display, float dt);
