#pragma once
#include <cstdint>

// A rectangle in whole pixels or texels: left and top inclusive, right and bottom exclusive.
struct Rect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};
