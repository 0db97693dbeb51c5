#pragma once
// The open MIDI input and output ports and the remembered devices they belong to.
#include <cstdint>
#include <string>
#include <vector>

#include "sound/device_records.h"

struct SoundState;
struct SoundedWith;

// Port number that stands for no port: "Virtual Keyboard" on the input, "Simple Synth" on the
// output.
inline constexpr uint32_t noPort = 0xFFFFFFFF;

// Start-up, after the settings are loaded: the output client with port 0 opened, then the input
// client with port 0 opened (or the pseudo-devices). When no MIDI back end starts the clients
// stay null, the program runs on the pseudo-devices, and one line goes to standard error.
void startMidiDevices(SoundState& sound);
// Shutdown: closes the output port and destroys the output client, then the same for the input.
void stopMidiDevices(SoundState& sound);

// Opens the port (numbered as in the port lists below) and selects its device's record, appending
// a new one for a device not met before. noPort, a number past the list, or a port the library
// fails to open selects the pseudo-device (record 0) with no port open. The output also switches
// the sound output between MIDI and the Simple Synth.
void openInputPort(SoundState& sound, uint32_t port);
void openOutputPort(SoundState& sound, uint32_t port);

// Called before each poll of the input: keeps the input on a real port whenever one exists, and
// reconnects to port 0 (or to no port) when the open one has vanished.
void ensureMidiInput(SoundState& sound);

// The selected input device's record; the defaults (range 48 to 66) when the selection lies
// outside the list.
InputDeviceRecord selectedInputRecord(const SoundState& sound);

// Widens the selected input device's learned range by a note-on's key byte, which has the
// transposition already added; it is taken off again here. A byte that is no key (above 127)
// teaches nothing.
void learnKeyRange(SoundState& sound, uint8_t key, int8_t transposition);

// Polling the input, for the note input: whether a port is open, and the oldest queued message
// (false, with message emptied, when there is none), which the input's thread sounded already
// (player_sound.h) as with tells. Both are safe with no MIDI back end, where the client is null.
bool midiInputOpen(const SoundState& sound);
bool nextMidiMessage(SoundState& sound, std::vector<uint8_t>& message, SoundedWith* with = nullptr);

// Changes whenever the ports offered change (a device plugged in or gone); the library is asked
// at most once a second. Lets a program at rest notice what the next frame must show or open.
uint32_t midiPortChanges(SoundState& sound);

// Device names of the ports the program offers, in port-number order. Port numbers given to
// openInputPort/openOutputPort index these lists.
std::vector<std::string> inputPortDevices(SoundState& sound);
std::vector<std::string> outputPortDevices(SoundState& sound);
