#pragma once
// Everything the sound system keeps between frames: the MIDI clients and their open ports, the
// remembered devices with the selected ones, the current sound output (a MIDI port or the
// Simple Synth) with its counts and scratch message, and the Simple Synth's wave bank. The
// application object holds one; sound functions take it.
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "sound/device_records.h"
#include "sound/played_notes.h"
#include "sound/simple_synth.h"
#include "sound/sound_counts.h"
#include "sound/sound_output.h"

// The MIDI library's clients; only sound/ knows what they are.
struct MidiInClient;
struct MidiOutClient;

struct SoundState {
    MidiInClient* midiIn = nullptr;   // owned; made and destroyed by the MIDI device start-up
    MidiOutClient* midiOut = nullptr; // owned
    int32_t inputPort = -1;           // open MIDI input port, -1 when none ("Virtual Keyboard")
    // Counts the input port's openings and closings, so the note input can tell when the port
    // it read from closed or vanished.
    uint32_t inputPortChanges = 0;
    int32_t outputPort = -1;          // open MIDI output port, -1 when none ("Simple Synth")
    uint8_t selectedInputDevice = 0;  // index into inputDevices
    uint8_t selectedOutputDevice = 0; // index into outputDevices
    std::vector<InputDeviceRecord> inputDevices;
    std::vector<OutputDeviceRecord> outputDevices;
    // Held for every play and stop on the output and every change to the counts and the player's
    // notes, by the main thread and the MIDI input's thread alike, never longer than a few sends.
    std::mutex sendLock;
    // Every note sounds through this one; null outside soundStartup .. soundShutdown.
    std::unique_ptr<SoundOutputManager> output;
    uint32_t outputKind = SoundOutputNone;
    // What both outputs count; a switch of output carries them over.
    SoundCounts counts;
    // What the player sounds, from the input's thread and the frame.
    PlayedNotes played;
    // Under sendLock: the output port is being closed or opened, and nothing is sent on it.
    bool outputSwitching = false;
    // Scratch message of soundNote, under sendLock; 3 bytes after soundStartup.
    std::vector<uint8_t> soundMessage;
    // The Simple Synth's voices; built the first time it is chosen.
    SynthBank synthVoices;
    // False when "Settings.dat" exists but could not be read: saving would lose what it holds.
    bool settingsSavable = true;
};
