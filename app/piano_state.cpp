#include "app/piano_state.h"

#include <cstring>

PianoState::PianoState() {
    held.fill(-1);
    std::memset(playerHolds, 0, sizeof playerHolds);
    for (std::vector<uint8_t>& owners : keyOwners) {
        owners.reserve(8);
        owners.push_back(0);
    }
    gameMidiBuffer.reserve(3);
    menuMidiBuffer.reserve(3);
    gameKeyboardBuffer.assign(3, 0);
    menuKeyboardBuffer.assign(3, 0);
}
