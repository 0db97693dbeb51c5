#include "sound/simple_synth.h"

#include <algorithm>
#include <cmath>
#include <cstring>

const float semitoneRatio = std::pow(2.0f, 0.083333336f);

namespace {

// Truncates toward zero and keeps the low 8 bits; values no integer can hold give 0.
inline uint8_t lowByte(double value) {
    if (!(value > -2147483648.0 && value < 2147483648.0)) return 0;
    return static_cast<uint8_t>(static_cast<int32_t>(value));
}

inline double sineLevel(float t) {
    return std::sin(t * 6.2831855) + 1;
}

// sin(theta) for theta in [0, 2pi] in single precision, within 1e-6 of the exact sine of the
// double-precision angle the defining formula uses (angle rounding 2.6e-7, pi's rounding 1.7e-7,
// reduction 1.2e-7, evaluation 3e-7; the series' remainder is below 1e-9). sin(theta) = -sin(u)
// with u = theta - pi, and sin(|u|) = sin(min(|u|, pi - |u|)), an argument in [0, pi/2] where
// the Taylor series to the 13th power suffices. No branches, so the loop vectorises.
inline float quickSine(float theta) {
    constexpr float pi = 3.14159265358979323846f;
    const float u = theta - pi;
    const float a = std::fabs(u);
    const float r = std::min(a, pi - a);
    const float r2 = r * r;
    const float r4 = r2 * r2;
    // 1 - r2/3! + r4/5! - ... as pairs of terms, so the pairs are computed side by side.
    const float p01 = 1.0f - r2 * (1.0f / 6.0f);
    const float p23 = 1.0f / 120.0f - r2 * (1.0f / 5040.0f);
    const float p45 = 1.0f / 362880.0f - r2 * (1.0f / 39916800.0f);
    const float p6 = 1.0f / 6227020800.0f;
    const float p = p01 + r4 * (p23 + r4 * (p45 + r4 * p6));
    return -std::copysign(r * p, u);
}

// The sine waveform, bit for bit equal to lowByte(sineLevel(t) * a * 0.5) with t the fractional
// part of i * frequency / rate. A block of quick values is computed first (a loop the compiler
// vectorises); each decides its sample unless it lies within a * 2e-5 of a whole number, some 30
// times the quick value's error of at most a * 6e-7, and there the library's sine decides. Needs
// 0 < a and 0 <= x < 2^31, where x minus its integer part is exactly the fractional part.
void sineSamples(uint8_t* dst, uint32_t count, float frequency, float rate, float a) {
    constexpr uint32_t block = 1024;
    float values[block];
    const float margin = a * 2e-5f;
    for (uint32_t start = 0; start < count; start += block) {
        const uint32_t n = count - start < block ? count - start : block;
        for (uint32_t j = 0; j < n; ++j) {
            const float x = static_cast<float>(start + j) * frequency / rate;
            const float t = x - static_cast<float>(static_cast<int32_t>(x));
            values[j] = (quickSine(t * 6.2831855f) + 1.0f) * a * 0.5f;
        }
        for (uint32_t j = 0; j < n; ++j) {
            const float v = values[j];
            if (v - margin >= 0 && v + margin < 256) {
                const int below = static_cast<int>(v - margin);
                if (below == static_cast<int>(v + margin)) {
                    dst[start + j] = static_cast<uint8_t>(below);
                    continue;
                }
            }
            const float x = static_cast<float>(start + j) * frequency / rate;
            const float t = x - static_cast<float>(static_cast<int32_t>(x));
            dst[start + j] = lowByte(sineLevel(t) * a * 0.5);
        }
    }
}

void putU32(uint8_t* at, uint32_t v) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(v >> (8 * i));
}
void putU16(uint8_t* at, uint16_t v) {
    at[0] = static_cast<uint8_t>(v);
    at[1] = static_cast<uint8_t>(v >> 8);
}

} // namespace

float keyFrequency(int key) {
    return 440.0f * std::pow(semitoneRatio, static_cast<float>(key - 69));
}

void synthesise(SynthVoice& voice, float frequency, float duration) {
    if (voice.channelBuffers.empty()) voice.channelBuffers.resize(1);
    std::vector<uint8_t>& out = voice.channelBuffers[0];
    if (voice.waveform > 5) return;

    float total = static_cast<float>(voice.sampleRate) * duration;
    // A count no buffer could hold is treated as nothing to do.
    if (!(total >= 1.0f && total < 16777216.0f)) return;
    const uint32_t count = static_cast<uint32_t>(total);
    const float rate = static_cast<float>(voice.sampleRate);
    const float a = voice.amplitude;
    const size_t first = out.size();
    out.resize(first + count);
    uint8_t* dst = out.data() + first;

    if (voice.waveform == 0 && frequency >= 0 && a > 0 && a < 1e6f &&
        static_cast<float>(count - 1) * frequency / rate < 2147483648.0f) {
        sineSamples(dst, count, frequency, rate, a);
        return;
    }
    for (uint32_t i = 0; i < count; ++i) {
        const float x = static_cast<float>(i) * frequency / rate;
        // The fractional part of a non-negative float is exact in float, like fmod's result.
        const float t = x >= 0 && x < 16777216.0f ? x - static_cast<float>(static_cast<int32_t>(x))
                                                  : static_cast<float>(std::fmod(x, 1.0));
        uint8_t sample = 0;
        switch (voice.waveform) {
        case 0:
            sample = lowByte(sineLevel(t) * a * 0.5);
            break;
        case 1:
            sample = lowByte(std::fabs(2 * t - 1) * a);
            break;
        case 2:
            sample = lowByte(t * a);
            break;
        case 3:
            sample = lowByte(t > 0.5f ? a : 0.0f);
            break;
        case 4:
            sample = lowByte(t > voice.duty ? a : 0.0f);
            break;
        case 5: {
            // Each partial sum is truncated into a byte before the next term is added.
            uint8_t s = lowByte(sineLevel(t) * a);
            s = lowByte(s + std::fabs(2 * t - 1) * a);
            s = lowByte(s + t * a);
            s = lowByte(s + (t > 0.5f ? a : 0.0f));
            s = lowByte(s * 0.25);
            sample = s;
            break;
        }
        }
        dst[i] = sample;
    }
}

void buildWaveImage(SynthVoice& voice) {
    std::vector<uint8_t>& image = voice.waveImage;
    image.clear();
    const uint16_t blockAlign = static_cast<uint16_t>(voice.channels * voice.bytesPerSample);
    const size_t width = voice.bytesPerSample;
    const size_t frames =
        voice.channelBuffers.empty() || width == 0 ? 0 : voice.channelBuffers[0].size() / width;
    const uint32_t dataSize = static_cast<uint32_t>(frames * blockAlign);
    image.resize(size_t(dataSize) + 44);

    uint8_t* h = image.data();
    std::memcpy(h, "RIFF", 4);
    putU32(h + 4, dataSize + 36);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    putU32(h + 16, 16);
    putU16(h + 20, 1); // PCM
    putU16(h + 22, voice.channels);
    putU32(h + 24, voice.sampleRate);
    putU32(h + 28, uint32_t(blockAlign) * voice.sampleRate);
    putU16(h + 32, blockAlign);
    putU16(h + 34, static_cast<uint16_t>(voice.bytesPerSample * 8));
    std::memcpy(h + 36, "data", 4);
    putU32(h + 40, dataSize);
    uint8_t* out = h + 44;

    if (voice.channels == 1 && frames > 0) {
        std::memcpy(out, voice.channelBuffers[0].data(), frames * width);
        return;
    }
    // A channel without samples at some index plays silence there.
    const uint8_t silence = width == 1 ? 0x80 : 0x00;
    for (size_t f = 0; f < frames; ++f) {
        for (size_t c = 0; c < voice.channels; ++c) {
            for (size_t b = 0; b < width; ++b) {
                const size_t at = f * width + b;
                const bool present =
                    c < voice.channelBuffers.size() && at < voice.channelBuffers[c].size();
                *out++ = present ? voice.channelBuffers[c][at] : silence;
            }
        }
    }
}

void buildSynthBank(SynthBank& bank) {
    for (int n = 0; n < 128; ++n) {
        SynthVoice& voice = bank[n];
        voice.channelBuffers.assign(1, {});
        synthesise(voice, keyFrequency(n), 1.0f);
        buildWaveImage(voice);
    }
}

bool synthBankBuilt(const SynthBank& bank) {
    // Every built image has at least its header; the last key's is made last.
    return !bank[127].waveImage.empty();
}

void releaseSynthBank(SynthBank& bank) {
    for (SynthVoice& voice : bank) {
        voice.channelBuffers.clear();
        voice.channelBuffers.shrink_to_fit();
    }
}
