#include "piano/note_readers.h"

#include <cmath>

#include "app/app_context.h"
#include "piano/key_owners.h"
#include "platform/input.h"
#include "sound/midi_devices.h"

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
    if (app.sound.inputPortChanges != app.piano.inputPortChanges) {
        app.piano.inputPortChanges = app.sound.inputPortChanges;
        releaseHeldNotes(app.piano, app.sound);
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
            pressKey(app.piano, app.sound, buffer, match(buffer[1]));
        else
            releasePlayerNote(app.piano, app.sound, buffer);
    }
}

} // namespace

void handleGameMidiMessage(AppContext& app, float inputVolume, const PressMatch& match,
                           std::vector<uint8_t>& message) {
    NoteKind kind;
    if (!transposeNote(message, app.transposition, kind)) return;
    if (kind == NoteKind::Off) {
        releasePlayerNote(app.piano, app.sound, message);
        return;
    }
    const float scaled = std::fmin(static_cast<float>(message[2]) * inputVolume, 127.0f);
    // A velocity scaled down to 0 would reach the instrument as a note-off.
    message[2] = scaled >= 1.0f ? static_cast<uint8_t>(scaled) : 1;
    pressKey(app.piano, app.sound, message, match ? match(message[1]) : 0);
}

void handleMenuMidiMessage(AppContext& app, std::vector<uint8_t>& message) {
    NoteKind kind;
    if (!transposeNote(message, app.transposition, kind)) return;
    if (kind == NoteKind::Off) {
        releasePlayerNote(app.piano, app.sound, message);
        return;
    }
    if (message[2] > 127) message[2] = 127;
    pressKey(app.piano, app.sound, message, 0);
    learnKeyRange(app.sound, message[1], app.transposition);
}

void readGameMidiInput(AppContext& app, float inputVolume, const PressMatch& match) {
    readMidiInput(app, app.piano.gameMidiBuffer, [&](std::vector<uint8_t>& message) {
        handleGameMidiMessage(app, inputVolume, match, message);
    });
}

void readGameKeyboard(AppContext& app, const InputDevices& input, float inputVolume,
                      const PressMatch& match) {
    const float scaled = std::fmin(inputVolume * 64.0f, 127.0f);
    const uint8_t velocity = scaled >= 1.0f ? static_cast<uint8_t>(scaled) : 1;
    readComputerKeys(app, input, app.piano.gameKeyboardBuffer, velocity,
                     [&](uint8_t key) { return match ? match(key) : uint8_t{0}; });
}

void readMenuMidiInput(AppContext& app) {
    readMidiInput(app, app.piano.menuMidiBuffer,
                  [&](std::vector<uint8_t>& message) { handleMenuMidiMessage(app, message); });
}

void readMenuKeyboard(AppContext& app, const InputDevices& input) {
    readComputerKeys(app, input, app.piano.menuKeyboardBuffer, 64, [](uint8_t) { return 0; });
}

void drainMidiInput(AppContext& app) {
    readMidiInput(app, app.piano.menuMidiBuffer, [&](std::vector<uint8_t>& message) {
        NoteKind kind;
        if (transposeNote(message, app.transposition, kind) && kind == NoteKind::Off)
            releasePlayerNote(app.piano, app.sound, message);
    });
}

void shiftOctave(AppContext& app, const InputDevices& input) {
    const InputDeviceRecord record = selectedInputRecord(app.sound);
    if (keyPressed(input, ScanZ) && app.transposition - 12 + record.minNote >= 0) {
        app.transposition = static_cast<int8_t>(app.transposition - 12);
        releaseHeldNotes(app.piano, app.sound);
    }
    if (keyPressed(input, ScanX) && app.transposition + 12 + record.maxNote <= 127) {
        app.transposition = static_cast<int8_t>(app.transposition + 12);
        releaseHeldNotes(app.piano, app.sound);
    }
}
