#pragma once
// What the piano keeps between frames: which keys the player holds and which keys sound for whom
// (the held map and the key owner lists), and the note readers' message buffers. The application
// object holds one; the piano's functions and the play's computer notes work on it.
#include <array>
#include <cstdint>
#include <vector>

struct PianoState {
    // Nothing held, and each owner list with its base entry and room for 8 entries.
    PianoState();

    // -1: the player does not hold the key; else the match made when it was pressed: the matched
    // track's colour (1 to 5), or 0 for a press that matched nothing.
    std::array<int8_t, 128> held;
    // One list per key: a base entry 0, then one entry per sounding use (a computer track's colour
    // while its note sounds, the match result while the player holds the key). The keyboard view
    // colours a key by its last entry.
    std::array<std::vector<uint8_t>, 128> keyOwners;
    std::vector<uint8_t> midiBuffer;     // one MIDI message at a time
    std::vector<uint8_t> keyboardBuffer; // 3 bytes
    uint32_t inputPortChanges = 0; // the sound state's count when the MIDI input was last read
};
