#pragma once

// Red, green, blue, alpha, each 0 to 1.
struct Colour {
    float r = 0, g = 0, b = 0, a = 0;
};
