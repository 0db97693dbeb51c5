#include "sound/sound_output.h"

#include <cstring>
#include <memory>

#include "platform/wave_player.h"
#include "sound/midi_ports.h"
#include "sound/simple_synth.h"
#include "sound/sound_state.h"

uint16_t activeCounts[128][16] = {};
int32_t soundingTotal = 0;
std::vector<uint8_t> soundMessage;

namespace {

// A message the count table cannot hold is dropped whole.
bool countable(const std::vector<uint8_t>& message) {
    return message.size() >= 2 && message[1] <= 127;
}
uint16_t& countOf(const std::vector<uint8_t>& message) {
    return activeCounts[message[1]][message[0] & 0x0F];
}

// Counts one play. A count at its limit stays there: it never wraps to look silent, and
// silencing does not depend on it.
void count(const std::vector<uint8_t>& message) {
    uint16_t& c = countOf(message);
    if (c == UINT16_MAX) return;
    ++c;
    ++soundingTotal;
}

// Counts one stop; true when the key's last holder let go, or nobody held it (a stray note-off
// is passed on, and changes no count).
bool uncount(const std::vector<uint8_t>& message) {
    uint16_t& c = countOf(message);
    if (c == 0) return true;
    --c;
    --soundingTotal;
    return c == 0;
}

} // namespace

SoundOutputMidi::SoundOutputMidi(MidiSend send) : send(std::move(send)) {}

void SoundOutputMidi::deliver(const std::vector<uint8_t>& message) {
    if (!send) return;
    // A data byte with its top bit set (a velocity from a damaged song file) would reach the
    // device as a status byte and garble what follows; only its low seven bits are sent.
    for (size_t i = 1; i < message.size(); ++i) {
        if (message[i] > 127) {
            std::vector<uint8_t> masked = message;
            for (size_t j = 1; j < masked.size(); ++j) masked[j] &= 0x7F;
            send(masked);
            return;
        }
    }
    send(message);
}

void SoundOutputMidi::play(const std::vector<uint8_t>& message) {
    if (!countable(message)) return;
    deliver(message);
    count(message);
}

void SoundOutputMidi::stop(const std::vector<uint8_t>& message) {
    if (!countable(message)) return;
    if (uncount(message)) deliver(message);
}

SoundOutputWav::SoundOutputWav(WavePlayer player) : player(std::move(player)) {}

void SoundOutputWav::play(const std::vector<uint8_t>& message) {
    if (!countable(message)) return;
    const std::vector<uint8_t>& image = synthVoices[message[1]].waveImage;
    if (player.play) player.play(image.data(), image.size());
    count(message);
}

void SoundOutputWav::stop(const std::vector<uint8_t>& message) {
    if (!countable(message)) return;
    if (!uncount(message)) return;
    // Other keys still held: the last struck one keeps sounding.
    if (soundingTotal != 0) return;
    if (player.stop) player.stop();
}

void silenceSound(SoundState& sound) {
    // One stop per sounding key and channel, each its last: a note-off on the MIDI output for
    // every one, and the Simple Synth stopped with the last.
    int32_t sounding = 0;
    for (auto& row : activeCounts)
        for (uint16_t& c : row)
            if (c > 0) {
                c = 1;
                ++sounding;
            }
    soundingTotal = sounding;
    for (int key = 0; key < 128 && sound.output; ++key)
        for (int channel = 0; channel < 16; ++channel)
            if (activeCounts[key][channel] > 0)
                soundNote(sound, uint8_t(channel), uint8_t(key), 0, false);
    std::memset(activeCounts, 0, sizeof activeCounts);
    soundingTotal = 0;
}

void selectSoundOutput(SoundState& sound, uint32_t kind) {
    if (kind != SoundOutputKindMidi && kind != SoundOutputKindWave) return;
    // What the old output sounds ends with it: nothing carries over to sound on unheard.
    silenceSound(sound);
    if (kind == SoundOutputKindMidi) {
        MidiOutClient* client = sound.midiOut;
        sound.output = std::make_unique<SoundOutputMidi>(
            [client](const std::vector<uint8_t>& message) { sendLibraryMessage(client, message); });
    } else if (kind == SoundOutputKindWave) {
        if (!synthBankBuilt()) buildSynthBank();
        const std::vector<uint8_t>& image = synthVoices[60].waveImage;
        prepareWave(image.data(), image.size());
        sound.output = std::make_unique<SoundOutputWav>(WavePlayer{playWave, stopWave});
    } else {
        return;
    }
    sound.outputKind = kind;
}

void soundNote(SoundState& sound, uint8_t channel, uint8_t key, uint8_t velocity, bool on) {
    // A channel from a damaged file must not turn the status into another message.
    soundMessage.resize(3);
    soundMessage[0] = static_cast<uint8_t>((on ? 0x90 : 0x80) | (channel & 0x0F));
    soundMessage[1] = key;
    soundMessage[2] = on ? velocity : 0;
    if (!sound.output) return;
    if (on)
        sound.output->play(soundMessage);
    else
        sound.output->stop(soundMessage);
}

void soundStartup(SoundState& sound, void (*prepareNoteInput)()) {
    selectSoundOutput(sound, SoundOutputKindMidi);
    soundMessage.assign(3, 0);
    if (prepareNoteInput != nullptr) prepareNoteInput();
    if (sound.outputPort == -1) selectSoundOutput(sound, SoundOutputKindWave);
}

void soundShutdown(SoundState& sound) {
    // Whatever still sounds on the output port would go on after the program.
    silenceSound(sound);
    if (synthBankBuilt()) releaseSynthBank();
    sound.output.reset();
    sound.outputKind = SoundOutputNone;
    closeWavePlayer();
    std::memset(activeCounts, 0, sizeof activeCounts);
    soundingTotal = 0;
}
