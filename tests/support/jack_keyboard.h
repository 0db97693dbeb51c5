#pragma once
// A test's instrument on a private JACK server: a virtual keyboard port, and an application whose
// MIDI devices are started with it on the server.
#include <rtmidi/RtMidi.h>

#include <memory>

#include "app/app_context.h"
#include "sound/midi_devices.h"

// Opens keys' virtual port, then starts the MIDI devices of a fresh application with one input
// and one output record; its input is open unless the server gave it no port.
inline std::unique_ptr<AppContext> appListeningTo(RtMidiOut& keys) {
    keys.openVirtualPort("out");
    auto app = std::make_unique<AppContext>();
    app->sound.inputDevices.push_back(InputDeviceRecord{});
    app->sound.outputDevices.push_back(OutputDeviceRecord{});
    startMidiDevices(app->sound);
    return app;
}
