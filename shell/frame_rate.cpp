#include "shell/frame_rate.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "shell/app_context.h"

std::string advanceFrameRate(AppContext& app, float dt) {
    app.frameCounter += 1;
    // Two frames on one counter reading would add infinity and show "inf" for 20 frames.
    if (dt > 0) app.rateAccumulator += 1.0f / dt;
    if (app.frameCounter >= 20) {
        app.frameRate = app.rateAccumulator / 20;
        app.frameCounter = 0;
        app.rateAccumulator = 0;
    }
    // Room for the largest float in "%f", then cut to five characters.
    char text[64];
    std::snprintf(text, sizeof text, "%f", static_cast<double>(app.frameRate));
    return std::string(text, std::min<size_t>(5, std::strlen(text)));
}
