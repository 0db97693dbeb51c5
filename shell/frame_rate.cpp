#include "shell/frame_rate.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

std::string advanceFrameRate(FrameRateDisplay& display, float dt) {
    display.frameCounter += 1;
    // Two frames on one counter reading would add infinity and show "inf" for 20 frames.
    if (dt > 0) display.rateAccumulator += 1.0f / dt;
    if (display.frameCounter >= 20) {
        display.frameRate = display.rateAccumulator / 20;
        display.frameCounter = 0;
        display.rateAccumulator = 0;
    }
    // Room for the largest float in "%f", then cut to five characters.
    char text[64];
    std::snprintf(text, sizeof text, "%f", static_cast<double>(display.frameRate));
    return std::string(text, std::min<size_t>(5, std::strlen(text)));
}
