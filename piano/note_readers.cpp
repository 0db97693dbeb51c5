#include "piano/note_readers.h"

#include <cmath>

#include "app/app_context.h"
#include "piano/key_owners.h"
#include "platform/input.h"
#include "sound/midi_devices.h"
#include "sound/player_sound.h"
#include "sound/sound_state.h"

const uint8_t pianoKeyScanCodes[18] = {ScanA, ScanW, ScanS, ScanE, ScanD,         ScanF,
                                       ScanT, ScanG, ScanY, ScanH, ScanU,         ScanJ,
                                       ScanK, ScanO, ScanL, ScanP, ScanSemicolon, ScanApostrophe};

namespace {

constexpr uint8_t noteOffStatus = 0x80, noteOnStatus = 0x90;
constexpr int computerKeysBase = 48;

// Tells the input's thread how to sound what comes next. Notes sound with the app's
// transposition; what sounded with another is let go.
void publishInput(AppContext& app, InputRoute route, float inputVolume = 2.0f) {
    app.sound.played.route.store(route, std::memory_order_relaxed);
    app.sound.played.inputVolume.store(inputVolume, std::memory_order_relaxed);
    // Only this thread changes it, so it is read here without the lock.
    if (app.sound.played.transposition != app.transposition)
        releaseHeldNotes(app.piano, app.sound, app.transposition);
}

// What the frame does with a message the input's thread sounded: a press keeps its match for the
// keyboard view, a release ends it. A message sounded before the last release of everything held
// is let go already.
template <typename Press>
void showPlayedNote(AppContext& app, const std::vector<uint8_t>& message, const SoundedWith& with,
                    Press press) {
    if (with.releases != app.sound.played.releases) return;
    if ((message[0] & 0xF0) == noteOnStatus && message[2] != 0)
        press(message[1]);
    else
        releaseKey(app.piano, message[1]);
}

// Steps shared by the MIDI readers: the port state is taken before the reconnection, so a port
// that was just reopened is read from the next frame on.
template <typename Handle>
void readMidiInput(AppContext& app, InputRoute route, float inputVolume, Handle handle) {
    publishInput(app, route, inputVolume);
    const bool open = midiInputOpen(app.sound);
    ensureMidiInput(app.sound);
    // The port was closed, changed or vanished: its note-offs will never come, so what the
    // player held is let go now.
    if (app.sound.inputPortChanges != app.piano.inputPortChanges) {
        app.piano.inputPortChanges = app.sound.inputPortChanges;
        releaseHeldNotes(app.piano, app.sound);
    }
    if (!open) return;
    std::vector<uint8_t>& buffer = app.piano.midiBuffer;
    SoundedWith with;
    while (nextMidiMessage(app.sound, buffer, &with)) handle(buffer, with);
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

void showGameNote(AppContext& app, const PressMatch& match, const std::vector<uint8_t>& message,
                  const SoundedWith& with) {
    showPlayedNote(app, message, with,
                   [&](uint8_t key) { markPress(app.piano, key, match ? match(key) : 0); });
}

void showMenuNote(AppContext& app, const std::vector<uint8_t>& message, const SoundedWith& with) {
    showPlayedNote(app, message, with, [&](uint8_t key) {
        markPress(app.piano, key, 0);
        learnKeyRange(app.sound, key, with.transposition);
    });
}

// The road of one message as the input's thread and then the frame take it.
template <typename Show>
void handleMidiMessage(AppContext& app, InputRoute route, float inputVolume,
                       std::vector<uint8_t>& message, Show show) {
    publishInput(app, route, inputVolume);
    SoundedWith with;
    if (soundPlayedNote(app.sound, message, with)) show(message, with);
}

} // namespace

void handleGameMidiMessage(AppContext& app, float inputVolume, const PressMatch& match,
                           std::vector<uint8_t>& message) {
    handleMidiMessage(app, InputGame, inputVolume, message,
                      [&](const std::vector<uint8_t>& m, const SoundedWith& with) {
                          showGameNote(app, match, m, with);
                      });
}

void handleMenuMidiMessage(AppContext& app, std::vector<uint8_t>& message) {
    handleMidiMessage(app, InputMenu, 2.0f, message,
                      [&](const std::vector<uint8_t>& m, const SoundedWith& with) {
                          showMenuNote(app, m, with);
                      });
}

void readGameMidiInput(AppContext& app, float inputVolume, const PressMatch& match) {
    readMidiInput(app, InputGame, inputVolume,
                  [&](const std::vector<uint8_t>& message, const SoundedWith& with) {
                      showGameNote(app, match, message, with);
                  });
}

void readGameKeyboard(AppContext& app, const InputDevices& input, float inputVolume,
                      const PressMatch& match) {
    const float scaled = std::fmin(inputVolume * 64.0f, 127.0f);
    const uint8_t velocity = scaled >= 1.0f ? static_cast<uint8_t>(scaled) : 1;
    readComputerKeys(app, input, app.piano.keyboardBuffer, velocity,
                     [&](uint8_t key) { return match ? match(key) : uint8_t{0}; });
}

void readMenuMidiInput(AppContext& app) {
    readMidiInput(app, InputMenu, 2.0f,
                  [&](const std::vector<uint8_t>& message, const SoundedWith& with) {
                      showMenuNote(app, message, with);
                  });
}

void readMenuKeyboard(AppContext& app, const InputDevices& input) {
    readComputerKeys(app, input, app.piano.keyboardBuffer, 64, [](uint8_t) { return 0; });
}

void drainMidiInput(AppContext& app) {
    // New notes stay silent; releases still end what sounded.
    readMidiInput(app, InputSilent, 2.0f,
                  [&](const std::vector<uint8_t>& message, const SoundedWith& with) {
                      showPlayedNote(app, message, with, [](uint8_t) {});
                  });
}

void shiftOctave(AppContext& app, const InputDevices& input) {
    const InputDeviceRecord record = selectedInputRecord(app.sound);
    if (keyPressed(input, ScanZ) && app.transposition - 12 + record.minNote >= 0) {
        app.transposition = static_cast<int8_t>(app.transposition - 12);
        releaseHeldNotes(app.piano, app.sound, app.transposition);
    }
    if (keyPressed(input, ScanX) && app.transposition + 12 + record.maxNote <= 127) {
        app.transposition = static_cast<int8_t>(app.transposition + 12);
        releaseHeldNotes(app.piano, app.sound, app.transposition);
    }
}
