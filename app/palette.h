#pragma once
// The twelve track and note colours: entry c (1 to 5) for a track's colour index, 6 + c its
// darker companion, 0 the neutral colour and 6 its darker one.
#include <array>
#include <cstdint>

#include "render/colour.h"

using Palette = std::array<Colour, 12>;

Palette defaultPalette();

// The entry of a track colour index; one the palette has no entry for shows as the neutral colour.
inline uint32_t paletteSlot(uint32_t colour) {
    return colour <= 5 ? colour : 0;
}
