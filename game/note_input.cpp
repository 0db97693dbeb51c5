#include "game/note_input.h"

#include <cmath>
#include <cstring>

#include "app/app_context.h"
#include "app/palette.h"
#include "platform/input.h"
#include "sound/midi_devices.h"
#include "sound/sound_output.h"
#include "sound/sound_state.h"

NoteInput noteInput;

const uint8_t pianoKeyScanCodes[18] = {ScanA, ScanW, ScanS, ScanE, ScanD,         ScanF,
                                       ScanT, ScanG, ScanY, ScanH, ScanU,         ScanJ,
                                       ScanK, ScanO, ScanL, ScanP, ScanSemicolon, ScanApostrophe};

namespace {

constexpr uint8_t noteOffStatus = 0x80, noteOnStatus = 0x90;
constexpr int computerKeysBase = 48;

enum class NoteKind { Other, On, Off };

NoteKind kindOf(const std::vector<uint8_t>& message) {
    if (message.size() < 3) return NoteKind::Other;
    const uint8_t status = message[0] & 0xF0;
    if (status == noteOffStatus || (status == noteOnStatus && message[2] == 0))
        return NoteKind::Off;
    if (status == noteOnStatus) return NoteKind::On;
    return NoteKind::Other;
}

// The transposed key, or -1 when it is no key: the tables below have 128 entries, and a key the
// instrument was never heard to play plus an octave shift can leave 0 to 127.
int shiftedKey(int key, int8_t transposition) {
    if (key < 0 || key > 127) return -1;
    const int shifted = key + transposition;
    return shifted >= 0 && shifted <= 127 ? shifted : -1;
}

// A press of the player's: its match is remembered for the keyboard view and the note sounds.
void pressKey(SoundState& sound, const std::vector<uint8_t>& message, uint8_t result) {
    const uint8_t key = message[1];
    uint8_t& holds = noteInput.playerHolds[key][message[0] & 0x0F];
    if (holds == 255) return; // could never all be released
    ++holds;
    noteInput.held[key] = static_cast<int8_t>(result);
    noteInput.keyOwners[key].push_back(result);
    if (sound.output) sound.output->play(message);
}

// Ends the key's hold; the note stops only while the player holds one on that key and channel.
// A stale note-off, whose note releaseHeldNotes already stopped (after an octave change it even
// arrives on another key), must not end a computer note on the same key and channel.
void releasePlayerNote(SoundState& sound, const std::vector<uint8_t>& message) {
    const uint8_t key = message[1];
    releaseKey(key);
    uint8_t& holds = noteInput.playerHolds[key][message[0] & 0x0F];
    if (holds == 0) return;
    --holds;
    if (sound.output) sound.output->stop(message);
}

// Transposes a message's key byte; false when the message is no note or its key leaves 0 to 127.
bool transposeNote(std::vector<uint8_t>& message, int8_t transposition, NoteKind& kind) {
    kind = kindOf(message);
    if (kind == NoteKind::Other) return false;
    const int key = shiftedKey(message[1], transposition);
    if (key < 0) return false;
    message[1] = static_cast<uint8_t>(key);
    return true;
}

// Steps shared by the MIDI readers: the port state is taken before the reconnection, so a port
// that was just reopened is read from the next frame on.
template <typename Handle>
void readMidiInput(AppContext& app, std::vector<uint8_t>& buffer, Handle handle) {
    const bool open = midiInputOpen(app.sound);
    ensureMidiInput(app.sound);
    // The port was closed, changed or vanished: its note-offs will never come, so what the
    // player held is let go now.
    if (app.sound.inputPortChanges != noteInput.inputPortChanges) {
        noteInput.inputPortChanges = app.sound.inputPortChanges;
        releaseHeldNotes(app.sound);
    }
    if (!open) return;
    while (nextMidiMessage(app.sound, buffer)) handle(buffer);
}

// The 18 computer keys: releases and presses of this frame, in table order, on channel 0.
template <typename Match>
void readComputerKeys(AppContext& app, const InputDevices& input, std::vector<uint8_t>& buffer,
                      uint8_t velocity, Match match) {
    buffer.resize(3);
    for (int semitone = 0; semitone < 18; ++semitone) {
        const int key = shiftedKey(computerKeysBase + semitone, app.transposition);
        if (key < 0) continue;
        const uint8_t code = pianoKeyScanCodes[semitone];
        const bool down = keyHeld(input, code);
        const bool wasDown = input.previousKeys[code] >= 0x80;
        if (down == wasDown) continue;
        buffer[0] = down ? noteOnStatus : noteOffStatus;
        buffer[1] = static_cast<uint8_t>(key);
        buffer[2] = velocity;
        if (down)
            pressKey(app.sound, buffer, match(buffer[1]));
        else
            releasePlayerNote(app.sound, buffer);
    }
}

} // namespace

void setUpNoteInput() {
    noteInput.held.fill(-1);
    std::memset(noteInput.playerHolds, 0, sizeof noteInput.playerHolds);
    for (std::vector<uint8_t>& owners : noteInput.keyOwners) {
        owners.clear();
        owners.reserve(8);
        owners.push_back(0);
    }
    noteInput.gameMidiBuffer.reserve(3);
    noteInput.menuMidiBuffer.reserve(3);
    noteInput.gameKeyboardBuffer.assign(3, 0);
    noteInput.menuKeyboardBuffer.assign(3, 0);
}

bool isPlayersTrack(int32_t playMode, PlayType playType) {
    if (playMode == 0 || playMode == 1) return static_cast<int32_t>(playType) == playMode;
    if (playMode == 2) return playType == PlayType::LeftHand || playType == PlayType::RightHand;
    return false;
}

MatchResult matchKey(const PlayContext& play, uint8_t key) {
    if (play.tracks == nullptr) return {};
    for (const Track& track : *play.tracks) {
        if (!isPlayersTrack(play.playMode, track.playType)) continue;
        const auto colour = static_cast<uint8_t>(paletteSlot(track.colour));
        for (uint32_t index : track.sounding)
            if (index < track.notes.size() && track.notes[index].key == key) return {true, colour};
        for (uint32_t index : track.upcoming) {
            if (index >= track.notes.size()) continue;
            const Note& note = track.notes[index];
            if (note.key != key) continue;
            const float distance = static_cast<float>(std::fabs(play.songTime - note.start));
            if (distance < 0.25f) return {true, colour};
            if (distance > 0.25f) break; // later notes start later still
        }
    }
    return {};
}

void handleGameMidiMessage(AppContext& app, const PlayContext& play,
                           std::vector<uint8_t>& message) {
    NoteKind kind;
    if (!transposeNote(message, app.transposition, kind)) return;
    if (kind == NoteKind::Off) {
        releasePlayerNote(app.sound, message);
        return;
    }
    const float scaled = std::fmin(static_cast<float>(message[2]) * play.inputVolume, 127.0f);
    // A velocity scaled down to 0 would reach the instrument as a note-off.
    message[2] = scaled >= 1.0f ? static_cast<uint8_t>(scaled) : 1;
    const MatchResult match = matchKey(play, message[1]);
    pressKey(app.sound, message, match.matched ? match.colour : 0);
}

void handleMenuMidiMessage(AppContext& app, std::vector<uint8_t>& message) {
    NoteKind kind;
    if (!transposeNote(message, app.transposition, kind)) return;
    if (kind == NoteKind::Off) {
        releasePlayerNote(app.sound, message);
        return;
    }
    if (message[2] > 127) message[2] = 127;
    pressKey(app.sound, message, 0);
    learnKeyRange(app.sound, message[1], app.transposition);
}

void readGameMidiInput(AppContext& app, const PlayContext& play) {
    readMidiInput(app, noteInput.gameMidiBuffer, [&](std::vector<uint8_t>& message) {
        handleGameMidiMessage(app, play, message);
    });
}

void readGameKeyboard(AppContext& app, const InputDevices& input, const PlayContext& play) {
    const float scaled = std::fmin(play.inputVolume * 64.0f, 127.0f);
    const uint8_t velocity = scaled >= 1.0f ? static_cast<uint8_t>(scaled) : 1;
    readComputerKeys(app, input, noteInput.gameKeyboardBuffer, velocity, [&](uint8_t key) {
        const MatchResult match = matchKey(play, key);
        return match.matched ? match.colour : uint8_t{0};
    });
}

void readMenuMidiInput(AppContext& app) {
    readMidiInput(app, noteInput.menuMidiBuffer,
                  [&](std::vector<uint8_t>& message) { handleMenuMidiMessage(app, message); });
}

void readMenuKeyboard(AppContext& app, const InputDevices& input) {
    readComputerKeys(app, input, noteInput.menuKeyboardBuffer, 64, [](uint8_t) { return 0; });
}

void drainMidiInput(AppContext& app) {
    readMidiInput(app, noteInput.menuMidiBuffer, [&](std::vector<uint8_t>& message) {
        NoteKind kind;
        if (transposeNote(message, app.transposition, kind) && kind == NoteKind::Off)
            releasePlayerNote(app.sound, message);
    });
}

void shiftOctave(AppContext& app, const InputDevices& input) {
    const InputDeviceRecord record = selectedInputRecord(app.sound);
    if (keyPressed(input, ScanZ) && app.transposition - 12 + record.minNote >= 0) {
        app.transposition = static_cast<int8_t>(app.transposition - 12);
        releaseHeldNotes(app.sound);
    }
    if (keyPressed(input, ScanX) && app.transposition + 12 + record.maxNote <= 127) {
        app.transposition = static_cast<int8_t>(app.transposition + 12);
        releaseHeldNotes(app.sound);
    }
}

void releaseKey(uint8_t key) {
    if (key > 127) return;
    const int8_t result = noteInput.held[key];
    if (result == -1) return;
    std::vector<uint8_t>& owners = noteInput.keyOwners[key];
    // Down to the base entry, not into it: after a trim the hold's own entry is gone already,
    // and the key must keep an entry for the keyboard view to read.
    for (size_t i = owners.size(); i-- > 1;) {
        if (owners[i] == static_cast<uint8_t>(result)) {
            owners.erase(owners.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    }
    noteInput.held[key] = -1;
}

void releaseHeldNotes(SoundState& sound) {
    for (int key = 0; key < 128; ++key) {
        for (int channel = 0; channel < 16; ++channel) {
            uint8_t& holds = noteInput.playerHolds[key][channel];
            for (; holds > 0; --holds) soundNote(sound, uint8_t(channel), uint8_t(key), 0, false);
        }
        // The player's owner entries go too: after an octave change the instrument's note-offs
        // arrive on other keys, so nothing else would remove them before the next trim, and the
        // keys would keep the player's colour meanwhile.
        releaseKey(static_cast<uint8_t>(key));
    }
}

void trimKeyOwnerLists() {
    for (std::vector<uint8_t>& owners : noteInput.keyOwners) {
        if (owners.empty())
            owners.push_back(0);
        else
            owners.resize(1);
    }
}

void silenceAll(SoundState& sound) {
    silenceSound(sound);
    // Whatever the player held is silent now; its note-offs must not stop anything else.
    std::memset(noteInput.playerHolds, 0, sizeof noteInput.playerHolds);
}
