#pragma once
// The twelve track and note colours: entry c (1 to 5) for a track's colour index, 6 + c its
// darker companion, 0 the neutral colour and 6 its darker one.
#include <array>

#include "render/colour.h"

using Palette = std::array<Colour, 12>;

Palette defaultPalette();
