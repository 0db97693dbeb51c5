#pragma once
// Everything the sound system keeps between frames: the MIDI clients and their open ports, the
// remembered devices with the selected ones, and the current sound output (a MIDI port or the
// Simple Synth). The application object holds one; sound functions take it.
#include <cstdint>
#include <memory>
#include <vector>

#include "sound/device_records.h"
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
    // Every note sounds through this one; null outside soundStartup .. soundShutdown.
    std::unique_ptr<SoundOutputManager> output;
    uint32_t outputKind = SoundOutputNone;
    // False when "Settings.dat" exists but could not be read: saving would lose what it holds.
    bool settingsSavable = true;
};
