#include "piano/key_owners.h"

#include "app/piano_state.h"
#include "sound/player_sound.h"
#include "sound/sound_state.h"

void markPress(PianoState& piano, uint8_t key, uint8_t result) {
    piano.held[key] = static_cast<int8_t>(result);
    piano.keyOwners[key].push_back(result);
}

void pressKey(PianoState& piano, SoundState& sound, const std::vector<uint8_t>& message,
              uint8_t result) {
    if (soundKeyPress(sound, message)) markPress(piano, message[1], result);
}

void releasePlayerNote(PianoState& piano, SoundState& sound, const std::vector<uint8_t>& message) {
    releaseKey(piano, message[1]);
    soundKeyRelease(sound, message);
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

void releaseHeldNotes(PianoState& piano, SoundState& sound, int8_t transposition) {
    forgetPlayedNotes(sound, transposition);
    // The player's owner entries go too: after an octave change the instrument's note-offs
    // arrive on other keys, so nothing else would remove them before the next trim, and the
    // keys would keep the player's colour meanwhile.
    for (int key = 0; key < 128; ++key) releaseKey(piano, static_cast<uint8_t>(key));
}

void releaseHeldNotes(PianoState& piano, SoundState& sound) {
    // Only the main thread changes the transposition, so it is read here without the lock.
    releaseHeldNotes(piano, sound, sound.played.transposition);
}

void trimKeyOwnerLists(PianoState& piano) {
    for (std::vector<uint8_t>& owners : piano.keyOwners) {
        if (owners.empty())
            owners.push_back(0);
        else
            owners.resize(1);
    }
}
