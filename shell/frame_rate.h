#pragma once
// The frame-rate display in the top-left corner.
#include <string>

struct AppContext;

// Counts one frame of dt seconds. Every 20 frames the displayed rate becomes the mean of their
// rates. Returns the displayed rate as the first five characters of its "%f" form.
std::string advanceFrameRate(AppContext& app, float dt);
