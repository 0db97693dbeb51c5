#include "sound/sound_system.h"

#include <memory>
#include <mutex>

#include "platform/wave_player.h"
#include "sound/midi_ports.h"
#include "sound/played_notes.h"
#include "sound/simple_synth.h"
#include "sound/sound_output.h"
#include "sound/sound_state.h"

namespace {

// With sendLock held.
void silenceLocked(SoundState& sound) {
    // One stop per sounding key and channel, each its last: a note-off on the MIDI output for
    // every one, and the Simple Synth stopped with the last.
    SoundCounts& counts = sound.counts;
    int32_t sounding = 0;
    for (auto& row : counts.activeCounts)
        for (uint16_t& c : row)
            if (c > 0) {
                c = 1;
                ++sounding;
            }
    counts.soundingTotal = sounding;
    for (int key = 0; key < 128 && sound.output; ++key)
        for (int channel = 0; channel < 16; ++channel)
            if (counts.activeCounts[key][channel] > 0)
                soundNoteLocked(sound, uint8_t(channel), uint8_t(key), 0, false);
    sound.counts = SoundCounts{};
    playedNotesSilenced(sound.played);
}

} // namespace

void selectSoundOutput(SoundState& sound, uint32_t kind) {
    if (kind != SoundOutputKindMidi && kind != SoundOutputKindWave) return;
    std::unique_ptr<SoundOutputManager> output;
    if (kind == SoundOutputKindMidi) {
        MidiOutClient* client = sound.midiOut;
        // Called under sendLock, like every play and stop.
        const bool* switching = &sound.outputSwitching;
        output = std::make_unique<SoundOutputMidi>(
            [client, switching](const std::vector<uint8_t>& message) {
                if (!*switching) sendLibraryMessage(client, message);
            },
            sound.counts);
    } else {
        if (!synthBankBuilt(sound.synthVoices)) buildSynthBank(sound.synthVoices);
        const std::vector<uint8_t>& image = sound.synthVoices[60].waveImage;
        prepareWave(image.data(), image.size());
        output = std::make_unique<SoundOutputWav>(WavePlayer{playWave, stopWave}, sound.counts,
                                                  sound.synthVoices);
    }
    std::lock_guard<std::mutex> lock(sound.sendLock);
    // What the old output sounds ends with it: nothing carries over to sound on unheard.
    silenceLocked(sound);
    // The old output goes once the lock is let go.
    output.swap(sound.output);
    sound.outputKind = kind;
}

void soundNoteLocked(SoundState& sound, uint8_t channel, uint8_t key, uint8_t velocity, bool on) {
    std::vector<uint8_t>& message = sound.soundMessage;
    message.resize(3);
    // A channel from a damaged file must not turn the status into another message.
    message[0] = static_cast<uint8_t>((on ? 0x90 : 0x80) | (channel & 0x0F));
    message[1] = key;
    message[2] = on ? velocity : 0;
    if (!sound.output) return;
    if (on)
        sound.output->play(message);
    else
        sound.output->stop(message);
}

void soundNote(SoundState& sound, uint8_t channel, uint8_t key, uint8_t velocity, bool on) {
    std::lock_guard<std::mutex> lock(sound.sendLock);
    soundNoteLocked(sound, channel, key, velocity, on);
}

void silenceSound(SoundState& sound) {
    std::lock_guard<std::mutex> lock(sound.sendLock);
    silenceLocked(sound);
}

void soundStartup(SoundState& sound) {
    {
        std::lock_guard<std::mutex> lock(sound.sendLock);
        sound.soundMessage.assign(3, 0);
    }
    selectSoundOutput(sound, SoundOutputKindMidi);
    if (sound.outputPort == -1) selectSoundOutput(sound, SoundOutputKindWave);
}

void soundShutdown(SoundState& sound) {
    std::unique_lock<std::mutex> lock(sound.sendLock);
    // Whatever still sounds on the output port would go on after the program.
    silenceLocked(sound);
    sound.output.reset();
    sound.outputKind = SoundOutputNone;
    sound.counts = SoundCounts{};
    lock.unlock();
    if (synthBankBuilt(sound.synthVoices)) releaseSynthBank(sound.synthVoices);
    closeWavePlayer();
}
