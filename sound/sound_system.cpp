#include "sound/sound_system.h"

#include <memory>

#include "platform/wave_player.h"
#include "sound/midi_ports.h"
#include "sound/simple_synth.h"
#include "sound/sound_output.h"
#include "sound/sound_state.h"

void selectSoundOutput(SoundState& sound, uint32_t kind) {
    if (kind != SoundOutputKindMidi && kind != SoundOutputKindWave) return;
    // What the old output sounds ends with it: nothing carries over to sound on unheard.
    silenceSound(sound);
    if (kind == SoundOutputKindMidi) {
        MidiOutClient* client = sound.midiOut;
        sound.output = std::make_unique<SoundOutputMidi>(
            [client](const std::vector<uint8_t>& message) { sendLibraryMessage(client, message); },
            sound.counts);
    } else if (kind == SoundOutputKindWave) {
        if (!synthBankBuilt(sound.synthVoices)) buildSynthBank(sound.synthVoices);
        const std::vector<uint8_t>& image = sound.synthVoices[60].waveImage;
        prepareWave(image.data(), image.size());
        sound.output = std::make_unique<SoundOutputWav>(WavePlayer{playWave, stopWave},
                                                        sound.counts, sound.synthVoices);
    } else {
        return;
    }
    sound.outputKind = kind;
}

void soundNote(SoundState& sound, uint8_t channel, uint8_t key, uint8_t velocity, bool on) {
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

void silenceSound(SoundState& sound) {
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
                soundNote(sound, uint8_t(channel), uint8_t(key), 0, false);
    sound.counts = SoundCounts{};
}

void soundStartup(SoundState& sound) {
    selectSoundOutput(sound, SoundOutputKindMidi);
    sound.soundMessage.assign(3, 0);
    if (sound.outputPort == -1) selectSoundOutput(sound, SoundOutputKindWave);
}

void soundShutdown(SoundState& sound) {
    // Whatever still sounds on the output port would go on after the program.
    silenceSound(sound);
    if (synthBankBuilt(sound.synthVoices)) releaseSynthBank(sound.synthVoices);
    sound.output.reset();
    sound.outputKind = SoundOutputNone;
    closeWavePlayer();
    sound.counts = SoundCounts{};
}
