#include "sound/sound_output.h"

#include <rtmidi/RtMidi.h>

#include <cstring>
#include <memory>

#include "platform/wave_player.h"
#include "shell/app_context.h"
#include "sound/simple_synth.h"

int8_t activeCounts[128][16] = {};
int32_t soundingTotal = 0;
std::vector<uint8_t> soundMessage;

namespace {

std::unique_ptr<SoundOutputManager> current;
uint32_t kind = SoundOutputNone;
RtMidiOut* outputClient = nullptr; // not owned: the AppContext's client

// A message the count table cannot hold is dropped whole.
bool countable(const std::vector<uint8_t>& message) {
    return message.size() >= 2 && message[1] <= 127;
}
int8_t& countOf(const std::vector<uint8_t>& message) {
    return activeCounts[message[1]][message[0] & 0x0F];
}

void send(const std::vector<uint8_t>& message) {
    if (outputClient == nullptr) return;
    // A data byte with its top bit set (a velocity from a damaged song file) would reach the
    // device as a status byte and garble what follows; only its low seven bits are sent.
    std::vector<uint8_t> masked;
    const std::vector<uint8_t>* wire = &message;
    for (size_t i = 1; i < message.size(); ++i) {
        if (message[i] > 127) {
            masked = message;
            for (size_t j = 1; j < masked.size(); ++j) masked[j] &= 0x7F;
            wire = &masked;
            break;
        }
    }
    try {
        if (outputClient->isPortOpen()) outputClient->sendMessage(wire);
    } catch (const RtMidiError&) {
        // A device that went away mid-note: the note is lost, the program goes on.
    }
}

// Counts one stop; true when the key's last holder let go.
bool uncount(const std::vector<uint8_t>& message) {
    --soundingTotal;
    int8_t& count = countOf(message);
    --count;
    if (count > 0) return false;
    count = 0;
    return true;
}

} // namespace

SoundOutputManager* currentSoundOutput() {
    return current.get();
}
uint32_t soundOutputKind() {
    return kind;
}

void SoundOutputMidi::play(const std::vector<uint8_t>& message) {
    if (!countable(message)) return;
    send(message);
    ++countOf(message);
    ++soundingTotal;
}

void SoundOutputMidi::stop(const std::vector<uint8_t>& message) {
    if (!countable(message)) return;
    if (uncount(message)) send(message);
}

void SoundOutputWav::play(const std::vector<uint8_t>& message) {
    if (!countable(message)) return;
    const std::vector<uint8_t>& image = synthVoices[message[1]].waveImage;
    playWave(image.data(), image.size());
    ++countOf(message);
    ++soundingTotal;
}

void SoundOutputWav::stop(const std::vector<uint8_t>& message) {
    if (!countable(message)) return;
    if (!uncount(message)) return;
    // Other keys still held: the last struck one keeps sounding.
    if (soundingTotal != 0) return;
    stopWave();
}

void selectSoundOutput(uint32_t newKind) {
    if (newKind == SoundOutputKindMidi) {
        current = std::make_unique<SoundOutputMidi>();
    } else if (newKind == SoundOutputKindWave) {
        current = std::make_unique<SoundOutputWav>();
        if (!synthBankBuilt()) buildSynthBank();
    } else {
        return;
    }
    kind = newKind;
}

void soundStartup(AppContext& app, void (*setUpNoteInput)()) {
    current = std::make_unique<SoundOutputMidi>();
    kind = SoundOutputKindMidi;
    soundMessage.assign(3, 0);
    if (setUpNoteInput != nullptr) setUpNoteInput();
    outputClient = app.midiOut;
    if (app.outputPort == -1) selectSoundOutput(SoundOutputKindWave);
}

void soundShutdown() {
    outputClient = nullptr;
    if (synthBankBuilt()) releaseSynthBank();
    current.reset();
    kind = SoundOutputNone;
    closeWavePlayer();
    std::memset(activeCounts, 0, sizeof activeCounts);
    soundingTotal = 0;
}
