#pragma once
// The play's own values that its screen shows: the clock, what the play keys adjust, and the
// frame it lays out in. The play state is one of these; the HUD reads it.
#include <cstdint>

struct PlayValues {
    uint32_t frameWidth = 640;
    uint32_t frameHeight = 480;
    double songTime = 0; // seconds; negative during the lead-in
    double songLength = 0;
    float songSpeed = 1.0f; // song seconds per real second
    float noteSpread = 400; // pixels of one song second before the vertical scale
    float inputVolume = 2.0f;
};
