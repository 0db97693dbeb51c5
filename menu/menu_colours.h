#pragma once
// The colours of the menu pages' texts.
#include "render/colour.h"

inline constexpr Colour hoveredTextColour{0, 0.8f, 0, 1};     // the row under the cursor
inline constexpr Colour currentTextColour{0.8f, 0.8f, 0, 1};  // the current choice
inline constexpr Colour plainTextColour{0.8f, 0.8f, 0.8f, 1}; // other rows and titles
inline constexpr Colour buttonTextColour{0.25f, 0.25f, 0.25f, 1};
inline constexpr Colour darkTextColour{0, 0, 0, 1}; // on light boxes
