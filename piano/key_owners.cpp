#include "piano/key_owners.h"

#include <cstring>

#include "app/piano_state.h"
#include "sound/sound_state.h"
#include "sound/sound_system.h"

void pressKey(PianoState& piano, SoundState& sound, const std::vector<uint8_t>& message,
              uint8_t result) {
    const uint8_t key = message[1];
    uint8_t& holds = piano.playerHolds[key][message[0] & 0x0F];
    if (holds == 255) return; // could never all be released
    ++holds;
    piano.held[key] = static_cast<int8_t>(result);
    piano.keyOwners[key].push_back(result);
    if (sound.output) sound.output->play(message);
}

// A stale note-off, whose note releaseHeldNotes already stopped (after an octave change it even
// arrives on another key), must not end a computer note on the same key and channel.
void releasePlayerNote(PianoState& piano, SoundState& sound, const std::vector<uint8_t>& message) {
    const uint8_t key = message[1];
    releaseKey(piano, key);
    uint8_t& holds = piano.playerHolds[key][message[0] & 0x0F];
    if (holds == 0) return;
    --holds;
    if (sound.output) sound.output->stop(message);
}

void addKeyOwner(PianoState& piano, uint8_t key, uint8_t colour) {
    piano.keyOwners[key].push_back(colour);
}

void removeKeyOwner(PianoState& piano, uint8_t key, uint8_t colour) {
    std::vector<uint8_t>& owners = piano.keyOwners[key];
    for (size_t i = owners.size(); i-- > 0;)
        if (owners[i] == colour) {
            owners.erase(owners.begin() + ptrdiff_t(i));
            return;
        }
}

uint8_t lastKeyOwner(const PianoState& piano, uint32_t key) {
    const std::vector<uint8_t>& owners = piano.keyOwners[key];
    return owners.empty() ? 0 : owners.back();
}

void releaseKey(PianoState& piano, uint8_t key) {
    if (key > 127) return;
    const int8_t result = piano.held[key];
    if (result == -1) return;
    std::vector<uint8_t>& owners = piano.keyOwners[key];
    // Down to the base entry, not into it: after a trim the hold's own entry is gone already,
    // and the key must keep an entry for the keyboard view to read.
    for (size_t i = owners.size(); i-- > 1;) {
        if (owners[i] == static_cast<uint8_t>(result)) {
            owners.erase(owners.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    }
    piano.held[key] = -1;
}

void releaseHeldNotes(PianoState& piano, SoundState& sound) {
    for (int key = 0; key < 128; ++key) {
        for (int channel = 0; channel < 16; ++channel) {
            uint8_t& holds = piano.playerHolds[key][channel];
            for (; holds > 0; --holds) soundNote(sound, uint8_t(channel), uint8_t(key), 0, false);
        }
        // The player's owner entries go too: after an octave change the instrument's note-offs
        // arrive on other keys, so nothing else would remove them before the next trim, and the
        // keys would keep the player's colour meanwhile.
        releaseKey(piano, static_cast<uint8_t>(key));
    }
}

void trimKeyOwnerLists(PianoState& piano) {
    for (std::vector<uint8_t>& owners : piano.keyOwners) {
        if (owners.empty())
            owners.push_back(0);
        else
            owners.resize(1);
    }
}

void silenceAll(PianoState& piano, SoundState& sound) {
    silenceSound(sound);
    // Whatever the player held is silent now; its note-offs must not stop anything else.
    std::memset(piano.playerHolds, 0, sizeof piano.playerHolds);
}
