#pragma once
// How often each key sounds: both sound outputs count every play and stop here, so that a
// note-off goes out only when the key's last holder lets go.
#include <cstdint>

struct SoundCounts {
    // How many play calls per key (row) and channel (column) are not yet matched by a stop.
    int8_t activeCounts[128][16] = {};
    // play calls not yet matched by a stop, over all keys and channels.
    int32_t soundingTotal = 0;
};
