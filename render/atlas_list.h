#pragma once
// The region list of the sprite atlas: a count, then one "name left top right bottom" per line.
#include <string>
#include <string_view>
#include <vector>

#include "render/rect.h"

struct AtlasRegion {
    std::string name; // at most 255 characters
    Rect source;
};

struct AtlasList {
    std::vector<AtlasRegion> regions;
    // The text ended early or held something unreadable; regions before that point are kept.
    bool damaged = false;
    int damagedLine = 0;
};

AtlasList parseAtlasList(std::string_view text);
