#include "sound/midi_devices.h"

#include <cstdio>
#include <cstring>
#include <mutex>

#include "sound/device_names.h"
#include "sound/midi_ports.h"
#include "sound/sound_state.h"
#include "sound/sound_system.h"

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

void openInputPort(SoundState& sound, uint32_t port) {
    ++sound.inputPortChanges;
    closeLibraryPort(sound.midiIn);
    const std::vector<PortEntry> ports = listInputPorts(sound.midiIn);
    if (port == noPort || port >= ports.size() ||
        !openLibraryPort(sound.midiIn, ports[port].index, inputPortName)) {
        sound.inputPort = -1;
        sound.selectedInputDevice = 0;
        return;
    }
    sound.inputPort = static_cast<int32_t>(port);
    sound.selectedInputDevice =
        selectRecord(sound.inputDevices, ports[port].device, newInputRecord);
}

// The input's thread may be sending on the port: nothing is sent while it closes and opens. The
// lock is not held meanwhile, since closing may wait for the MIDI server's next cycle, which may
// itself wait for the input's thread.
void markOutputSwitching(SoundState& sound, bool switching) {
    std::lock_guard<std::mutex> lock(sound.sendLock);
    sound.outputSwitching = switching;
}

void openOutputPort(SoundState& sound, uint32_t port) {
    markOutputSwitching(sound, true);
    closeLibraryPort(sound.midiOut);
    const std::vector<PortEntry> ports = listOutputPorts(sound.midiOut);
    const bool opened = port != noPort && port < ports.size() &&
                        openLibraryPort(sound.midiOut, ports[port].index, outputPortName);
    markOutputSwitching(sound, false);
    if (!opened) {
        sound.outputPort = -1;
        sound.selectedOutputDevice = 0;
        if (sound.outputKind == SoundOutputKindMidi) selectSoundOutput(sound, SoundOutputKindWave);
        return;
    }
    sound.outputPort = static_cast<int32_t>(port);
    sound.selectedOutputDevice =
        selectRecord(sound.outputDevices, ports[port].device, newOutputRecord);
    if (sound.outputKind == SoundOutputKindWave) selectSoundOutput(sound, SoundOutputKindMidi);
}

void ensureMidiInput(SoundState& sound) {
    const bool open = libraryPortOpen(sound.midiIn);
    const int64_t count = static_cast<int64_t>(listInputPorts(sound.midiIn).size());
    if (!open && count > 0)
        openInputPort(sound, 0);
    else if (count <= sound.inputPort)
        openInputPort(sound, 0);
}

InputDeviceRecord selectedInputRecord(const SoundState& sound) {
    if (sound.selectedInputDevice < sound.inputDevices.size())
        return sound.inputDevices[sound.selectedInputDevice];
    return InputDeviceRecord{};
}

void learnKeyRange(SoundState& sound, uint8_t key, int8_t transposition) {
    if (sound.selectedInputDevice >= sound.inputDevices.size()) return;
    InputDeviceRecord& record = sound.inputDevices[sound.selectedInputDevice];
    const uint32_t n = static_cast<uint8_t>(key - transposition);
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

bool midiInputOpen(const SoundState& sound) {
    return libraryPortOpen(sound.midiIn);
}

bool nextMidiMessage(SoundState& sound, std::vector<uint8_t>& message, SoundedWith* with) {
    message.clear();
    return sound.midiIn != nullptr && takeQueuedMessage(*sound.midiIn, message, with);
}

uint32_t midiPortChanges(SoundState& sound) {
    uint32_t changes = 0;
    if (sound.midiIn != nullptr) {
        listInputPorts(sound.midiIn);
        changes += sound.midiIn->portList.changes;
    }
    if (sound.midiOut != nullptr) {
        listOutputPorts(sound.midiOut);
        changes += sound.midiOut->portList.changes;
    }
    return changes;
}

std::vector<std::string> inputPortDevices(SoundState& sound) {
    return devicesOf(listInputPorts(sound.midiIn));
}

std::vector<std::string> outputPortDevices(SoundState& sound) {
    return devicesOf(listOutputPorts(sound.midiOut));
}

void startMidiDevices(SoundState& sound) {
    sound.midiOut = startMidiOut(outputClientName);
    openOutputPort(sound, 0);
    sound.midiIn = startMidiIn(inputClientName);
    if (sound.midiIn != nullptr) sound.midiIn->sound.store(&sound, std::memory_order_release);
    openInputPort(sound, 0);
    if (sound.midiOut == nullptr || sound.midiIn == nullptr)
        std::fprintf(stderr,
                     "Cadenzio: no MIDI back end could be started (no ALSA sequencer, no "
                     "JACK server); playing on \"Virtual Keyboard\" and \"Simple Synth\"\n");
}

void stopMidiDevices(SoundState& sound) {
    closeLibraryPort(sound.midiOut);
    delete sound.midiOut;
    sound.midiOut = nullptr;
    sound.outputPort = -1;
    closeLibraryPort(sound.midiIn);
    delete sound.midiIn;
    sound.midiIn = nullptr;
    sound.inputPort = -1;
}
