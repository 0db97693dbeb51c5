#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "platform/wave_player.h"
#include "sound/simple_synth.h"

namespace {

uint32_t u32At(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t u16At(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

std::vector<uint8_t> samplesOf(uint32_t waveform, float frequency) {
    SynthVoice voice;
    voice.waveform = waveform;
    synthesise(voice, frequency, 1.0f);
    return voice.channelBuffers.at(0);
}

} // namespace

TEST(SimpleSynth, KeyPitchesFollowEqualTemperament) {
    EXPECT_FLOAT_EQ(keyFrequency(69), 440.0f);
    EXPECT_NEAR(keyFrequency(60), 261.63f, 0.01f);
    EXPECT_NEAR(keyFrequency(0), 8.18f, 0.01f);
    EXPECT_NEAR(keyFrequency(127), 12543.85f, 0.05f);
}

TEST(SimpleSynth, SineOfKey69StartsAtTenAndRepeatsEvery100Samples) {
    const std::vector<uint8_t> s = samplesOf(0, keyFrequency(69));
    ASSERT_EQ(s.size(), 44100u);
    EXPECT_EQ(s[0], 10);
    int rises = 0;
    size_t firstRise = 0, lastRise = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        EXPECT_LE(s[i], 20) << "sample " << i;
        if (i > 0 && s[i - 1] < 10 && s[i] >= 10) {
            if (rises == 0) firstRise = i;
            lastRise = i;
            ++rises;
        }
    }
    ASSERT_GT(rises, 400);
    EXPECT_NEAR(double(lastRise - firstRise) / (rises - 1), 100.2, 0.1);
}

// The sine as defined: phase by fmod, the library's sine in double precision.
static uint8_t definedSine(uint32_t i, float frequency, float amplitude) {
    const float x = float(i) * frequency / 44100.0f;
    const float t = static_cast<float>(std::fmod(x, 1.0));
    return static_cast<uint8_t>(static_cast<int>((std::sin(t * 6.2831855) + 1) * amplitude * 0.5));
}

// Index of the first sample that differs from the definition, or -1.
static long firstDifference(const std::vector<uint8_t>& samples, float frequency, float amplitude) {
    for (uint32_t i = 0; i < samples.size(); ++i)
        if (samples[i] != definedSine(i, frequency, amplitude)) return long(i);
    return -1;
}

// The sine samples must equal the definition exactly, whatever shortcut computes them.
TEST(SimpleSynth, SineMatchesItsDefinitionSampleForSample) {
    SynthBank bank;
    buildSynthBank(bank);
    ASSERT_TRUE(synthBankBuilt(bank));
    for (int key = 0; key < 128; ++key) {
        const std::vector<uint8_t>& image = bank[key].waveImage;
        ASSERT_EQ(image.size(), 44u + 44100u) << "key " << key;
        const float f = 440.0f * std::pow(std::pow(2.0f, 0.083333336f), float(key - 69));
        EXPECT_EQ(firstDifference({image.begin() + 44, image.end()}, f, 20.0f), -1)
            << "key " << key;
    }
    releaseSynthBank(bank);
    EXPECT_TRUE(bank[69].channelBuffers.empty());
    EXPECT_EQ(bank[69].waveImage.size(), 44144u); // images stay for the rest of the run

    for (float amplitude : {1.0f, 7.3f, 127.0f, 255.0f, 600.0f}) {
        for (float f : {3.3f, 440.0f, 9000.0f}) {
            SynthVoice voice;
            voice.amplitude = amplitude;
            synthesise(voice, f, 1.0f);
            EXPECT_EQ(firstDifference(voice.channelBuffers[0], f, amplitude), -1)
                << "amplitude " << amplitude << " at " << f << " Hz";
        }
    }
}

TEST(SimpleSynth, WaveformsAtQuarterPhases) {
    // 11025 Hz at 44100 samples per second steps the phase by exactly a quarter.
    const std::vector<uint8_t> square = samplesOf(3, 11025.0f);
    EXPECT_EQ(std::vector<uint8_t>(square.begin(), square.begin() + 4),
              (std::vector<uint8_t>{0, 0, 0, 20})); // 0.5 is not above 0.5
    const std::vector<uint8_t> triangle = samplesOf(1, 11025.0f);
    EXPECT_EQ(std::vector<uint8_t>(triangle.begin(), triangle.begin() + 4),
              (std::vector<uint8_t>{20, 10, 0, 10}));
    const std::vector<uint8_t> saw = samplesOf(2, 11025.0f);
    EXPECT_EQ(std::vector<uint8_t>(saw.begin(), saw.begin() + 4),
              (std::vector<uint8_t>{0, 5, 10, 15}));
    const std::vector<uint8_t> pulse = samplesOf(4, 11025.0f);
    EXPECT_EQ(std::vector<uint8_t>(pulse.begin(), pulse.begin() + 4),
              (std::vector<uint8_t>{0, 0, 20, 20})); // duty 0.25: 0.25 is not above it
    EXPECT_TRUE(samplesOf(6, 440.0f).empty());
}

TEST(SimpleSynth, MixtureTruncatesEachPartialSum) {
    // Phase 0.3125 (sample 1 at 13781.25 Hz): sine part 38.48 -> 38, + 7.5 -> 45, + 6.25 -> 51,
    // + 0, * 0.25 -> 12; summed without the truncations it would give 13.
    EXPECT_EQ(samplesOf(5, 13781.25f)[1], 12);
    // Phase 0.625: 5.86 -> 5, + 5 -> 10, + 12.5 -> 22, + 20 -> 42, * 0.25 -> 10.
    EXPECT_EQ(samplesOf(5, 27562.5f)[1], 10);
    EXPECT_EQ(samplesOf(5, 0.0f)[0], 10); // phase 0: 20 + 20 + 0 + 0, * 0.25
}

TEST(SimpleSynth, WaveImageHeader) {
    SynthVoice voice;
    synthesise(voice, keyFrequency(69), 1.0f);
    buildWaveImage(voice);
    const std::vector<uint8_t>& w = voice.waveImage;
    ASSERT_EQ(w.size(), 44144u);
    EXPECT_EQ(std::memcmp(w.data(), "RIFF", 4), 0);
    EXPECT_EQ(u32At(w, 4), w.size() - 8);
    EXPECT_EQ(std::memcmp(w.data() + 8, "WAVEfmt ", 8), 0);
    EXPECT_EQ(u32At(w, 16), 16u);
    EXPECT_EQ(u16At(w, 20), 1);      // PCM
    EXPECT_EQ(u16At(w, 22), 1);      // channels
    EXPECT_EQ(u32At(w, 24), 44100u); // sample rate
    EXPECT_EQ(u32At(w, 28), 44100u); // byte rate
    EXPECT_EQ(u16At(w, 32), 1);      // block align
    EXPECT_EQ(u16At(w, 34), 8);      // bits per sample
    EXPECT_EQ(std::memcmp(w.data() + 36, "data", 4), 0);
    EXPECT_EQ(u32At(w, 40), 44100u);
    EXPECT_TRUE(std::equal(w.begin() + 44, w.end(), voice.channelBuffers[0].begin()));

    WaveFormat format;
    ASSERT_TRUE(readWaveFormat(w.data(), w.size(), format));
    EXPECT_EQ(format.channels, 1);
    EXPECT_EQ(format.sampleRate, 44100u);
    EXPECT_EQ(format.bitsPerSample, 8);
    EXPECT_EQ(format.dataOffset, 44u);
    EXPECT_EQ(format.dataSize, 44100u);
}

TEST(SimpleSynth, TwoChannelsInterleaveSampleBySample) {
    SynthVoice voice;
    voice.channels = 2;
    voice.channelBuffers = {{1, 2, 3}, {4, 5, 6}};
    buildWaveImage(voice);
    const std::vector<uint8_t>& w = voice.waveImage;
    ASSERT_EQ(w.size(), 50u);
    EXPECT_EQ(u32At(w, 28), 88200u);
    EXPECT_EQ(u16At(w, 32), 2);
    EXPECT_EQ(u32At(w, 40), 6u);
    EXPECT_EQ(std::vector<uint8_t>(w.begin() + 44, w.end()),
              (std::vector<uint8_t>{1, 4, 2, 5, 3, 6}));

    // A channel buffer that is missing or short plays silence rather than reading past its end.
    voice.channels = 3;
    voice.channelBuffers = {{1, 2}, {3}};
    buildWaveImage(voice);
    EXPECT_EQ(std::vector<uint8_t>(voice.waveImage.begin() + 44, voice.waveImage.end()),
              (std::vector<uint8_t>{1, 3, 0x80, 2, 0x80, 0x80}));
}

TEST(WaveHeader, RejectsWhatItCannotPlay) {
    SynthVoice voice;
    voice.channelBuffers = {{10, 11, 12, 13}};
    buildWaveImage(voice);
    const std::vector<uint8_t> good = voice.waveImage;
    WaveFormat format;
    // Every cut of the header; a cut inside the samples plays what is there.
    for (size_t size = 0; size < 44; ++size)
        EXPECT_FALSE(readWaveFormat(good.data(), size, format)) << "size " << size;
    ASSERT_TRUE(readWaveFormat(good.data(), 46, format));
    EXPECT_EQ(format.dataSize, 2u);

    auto damaged = [&](size_t at, uint32_t value, int width) {
        std::vector<uint8_t> w = good;
        for (int i = 0; i < width; ++i) w[at + i] = static_cast<uint8_t>(value >> (8 * i));
        return readWaveFormat(w.data(), w.size(), format);
    };
    EXPECT_FALSE(damaged(0, 0x46464952 + 1, 4)); // not RIFF
    EXPECT_FALSE(damaged(20, 3, 2));             // floating point, not PCM
    EXPECT_FALSE(damaged(22, 0, 2));             // no channels
    EXPECT_FALSE(damaged(34, 24, 2));            // 24-bit samples
    EXPECT_FALSE(damaged(24, 0, 4));             // no sample rate
    EXPECT_FALSE(damaged(16, 0xFFFFFFF0u, 4));   // format chunk larger than the image
    EXPECT_TRUE(damaged(40, 0xFFFFFFFFu, 4));    // data size past the end: cut to the image
    EXPECT_EQ(format.dataSize, 4u);
}
