#pragma once
// How often each key sounds: both sound outputs count every play and stop here, so that a
// note-off goes out only when the key's last holder lets go.
#include <cstdint>

struct SoundCounts {
    // How many play calls per key (row) and channel (column) are not yet matched by a stop; a
    // count stays at its limit rather than wrap.
    uint16_t activeCounts[128][16] = {};
    // The sum of the counts.
    int32_t soundingTotal = 0;
};
