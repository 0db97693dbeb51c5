#pragma once
// How the program names MIDI devices and fills a new device record.
#include <string>
#include <string_view>

#include "sound/device_records.h"

// The names the program's MIDI clients and their ports go by.
inline constexpr const char* inputClientName = "RtMidi Input Client";
inline constexpr const char* outputClientName = "RtMidi Output Client";
inline constexpr const char* inputPortName = "RtMidi Input";
inline constexpr const char* outputPortName = "RtMidi Output";

// The device name of a port name: the back end's numeric port suffix (a space and
// "client:port", such as " 14:0") removed. A name without that suffix is the device name whole.
// At most 127 bytes, stopping at an embedded zero byte.
std::string deviceNameOf(std::string_view portName);

// A record with its default text and the name, with its terminating zero, copied over the start.
InputDeviceRecord newInputRecord(std::string_view deviceName);
OutputDeviceRecord newOutputRecord(std::string_view deviceName);

// Ports that would only carry the program's own notes back to it: the other client's port, and
// the sequencer's "Midi Through" loopback. They are left out of the port lists.
bool loopsBackToInput(std::string_view deviceName);  // for the input's list
bool loopsBackToOutput(std::string_view deviceName); // for the output's list
