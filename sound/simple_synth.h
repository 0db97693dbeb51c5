#pragma once
// The Simple Synth: one prepared RIFF wave image per MIDI key, played by the wave sound output.
#include <array>
#include <cstdint>
#include <vector>

struct SynthVoice {
    uint32_t waveform = 0;   // 0 sine, 1 triangle, 2 sawtooth, 3 square, 4 pulse, 5 mixture
    float amplitude = 20.0f; // peak sample value in 8-bit sample units
    float duty = 0.25f;      // threshold of the pulse waveform, fraction of a period
    uint32_t sampleRate = 44100;
    uint16_t channels = 1;
    uint16_t bytesPerSample = 1;
    std::vector<std::vector<uint8_t>> channelBuffers; // one byte vector per channel
    std::vector<uint8_t> waveImage;                   // complete RIFF wave file
};

// 2 to the power 1/12, in single precision.
extern const float semitoneRatio;

// One voice per MIDI key (index = key); the sound state holds the one bank.
using SynthBank = std::array<SynthVoice, 128>;

// Equal-tempered pitch of a key in Hz; key 69 is 440.
float keyFrequency(int key);

// Appends duration seconds of the voice's waveform at the given pitch to its first channel
// buffer (made when the voice has none). Unknown waveforms append nothing.
void synthesise(SynthVoice& voice, float frequency, float duration);

// Rebuilds the voice's wave image: the 44-byte header, then the channel buffers interleaved.
void buildWaveImage(SynthVoice& voice);

// One second of every key; built once, the first time the Simple Synth is chosen.
void buildSynthBank(SynthBank& bank);
// Whether the bank's wave images exist (they outlive releaseSynthBank).
bool synthBankBuilt(const SynthBank& bank);
// Frees the sample buffers; the wave images stay for the rest of the run.
void releaseSynthBank(SynthBank& bank);
