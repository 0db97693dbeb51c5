#include "sound/midi_devices.h"

#include <rtmidi/RtMidi.h>

#include <cstdio>
#include <cstring>

#include "shell/app_context.h"
#include "sound/device_names.h"
#include "sound/midi_ports.h"
#include "sound/sound_output.h"

namespace {

// Selected indices are 8 bits and 255 marks "not found yet": indices 0 to 254 are remembered
// devices, and index 255 is a spare record for a device met when the list is full, which is
// used but never saved.
constexpr size_t rememberedLimit = 255;
constexpr uint8_t searching = 255;

template <typename Record>
uint8_t selectRecord(std::vector<Record>& list, const std::string& device,
                     Record (*make)(std::string_view)) {
    uint8_t selected = searching;
    bool found = false;
    const size_t walked = list.size() < 256 ? list.size() : 256;
    for (size_t i = 0; i < walked; ++i) {
        if (std::strncmp(list[i].name, device.c_str(), sizeof list[i].name) == 0) {
            selected = static_cast<uint8_t>(i); // the last match wins
            found = true;
        }
    }
    if (found) return selected;
    if (list.size() < rememberedLimit) {
        selected = static_cast<uint8_t>(list.size());
        list.push_back(make(device));
        return selected;
    }
    // Full: the device is used through the spare record and never remembered.
    if (list.size() == rememberedLimit)
        list.push_back(make(device));
    else
        list[rememberedLimit] = make(device);
    return static_cast<uint8_t>(rememberedLimit);
}

// Differences of damaged ranges wrap instead of overflowing.
int32_t span(int32_t high, int32_t low) {
    return static_cast<int32_t>(static_cast<uint32_t>(high) - static_cast<uint32_t>(low));
}

std::vector<std::string> devicesOf(const std::vector<PortEntry>& ports) {
    std::vector<std::string> names;
    names.reserve(ports.size());
    for (const PortEntry& port : ports) names.push_back(port.device);
    return names;
}

} // namespace

void openInputPort(AppContext& app, uint32_t port) {
    closeLibraryPort(app.midiIn);
    const std::vector<PortEntry> ports = listInputPorts(app.midiIn);
    if (port == noPort || port >= ports.size() ||
        !openLibraryPort(app.midiIn, ports[port].index, inputPortName)) {
        app.inputPort = -1;
        app.selectedInputDevice = 0;
        return;
    }
    app.inputPort = static_cast<int32_t>(port);
    app.selectedInputDevice = selectRecord(app.inputDevices, ports[port].device, newInputRecord);
}

void openOutputPort(AppContext& app, uint32_t port) {
    closeLibraryPort(app.midiOut);
    const std::vector<PortEntry> ports = listOutputPorts(app.midiOut);
    if (port == noPort || port >= ports.size() ||
        !openLibraryPort(app.midiOut, ports[port].index, outputPortName)) {
        app.outputPort = -1;
        app.selectedOutputDevice = 0;
        if (soundOutputKind() == SoundOutputKindMidi) selectSoundOutput(SoundOutputKindWave);
        return;
    }
    app.outputPort = static_cast<int32_t>(port);
    app.selectedOutputDevice = selectRecord(app.outputDevices, ports[port].device, newOutputRecord);
    if (soundOutputKind() == SoundOutputKindWave) selectSoundOutput(SoundOutputKindMidi);
}

void ensureMidiInput(AppContext& app) {
    const bool open = libraryPortOpen(app.midiIn);
    const int64_t count = static_cast<int64_t>(listInputPorts(app.midiIn).size());
    if (!open && count > 0)
        openInputPort(app, 0);
    else if (count <= app.inputPort)
        openInputPort(app, 0);
}

void learnKeyRange(AppContext& app, uint8_t key) {
    if (app.selectedInputDevice >= app.inputDevices.size()) return;
    InputDeviceRecord& record = app.inputDevices[app.selectedInputDevice];
    const uint32_t n = static_cast<uint8_t>(key - app.transposition);
    if (n > 127) return; // no key: the range stays within the keys the views can show
    if (n > static_cast<uint32_t>(record.maxNote)) {
        record.maxNote = static_cast<int32_t>(n);
        record.noteSpan = span(record.maxNote, record.minNote);
    }
    if (n < static_cast<uint32_t>(record.minNote)) {
        record.minNote = static_cast<int32_t>(n);
        record.noteSpan = span(record.maxNote, record.minNote);
    }
}

bool midiInputOpen(const AppContext& app) {
    return libraryPortOpen(app.midiIn);
}

bool nextMidiMessage(AppContext& app, std::vector<uint8_t>& message) {
    message.clear();
    if (app.midiIn == nullptr) return false;
    try {
        app.midiIn->getMessage(&message);
    } catch (const RtMidiError&) {
        message.clear();
    }
    return !message.empty();
}

std::vector<std::string> inputPortDevices(AppContext& app) {
    return devicesOf(listInputPorts(app.midiIn));
}

std::vector<std::string> outputPortDevices(AppContext& app) {
    return devicesOf(listOutputPorts(app.midiOut));
}

void startMidiDevices(AppContext& app) {
    app.midiOut = startMidiOut(outputClientName);
    openOutputPort(app, 0);
    app.midiIn = startMidiIn(inputClientName);
    openInputPort(app, 0);
    if (app.midiOut == nullptr || app.midiIn == nullptr)
        std::fprintf(stderr,
                     "Cadenzio: no MIDI back end could be started (no ALSA sequencer, no "
                     "JACK server); playing on \"Virtual Keyboard\" and \"Simple Synth\"\n");
}

void stopMidiDevices(AppContext& app) {
    closeLibraryPort(app.midiOut);
    delete app.midiOut;
    app.midiOut = nullptr;
    app.outputPort = -1;
    closeLibraryPort(app.midiIn);
    delete app.midiIn;
    app.midiIn = nullptr;
    app.inputPort = -1;
}
