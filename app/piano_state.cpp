#include "app/piano_state.h"

PianoState::PianoState() {
    held.fill(-1);
    for (std::vector<uint8_t>& owners : keyOwners) {
        owners.reserve(8);
        owners.push_back(0);
    }
    midiBuffer.reserve(3);
    keyboardBuffer.assign(3, 0);
}
