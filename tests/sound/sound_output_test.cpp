#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "shell/app_context.h"
#include "sound/simple_synth.h"
#include "sound/sound_output.h"

namespace {

// No audio device in these tests: the wave output stays silent.
class SoundOutputs : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "cadenzio-no-such-driver", 1);
        app.outputPort = 0; // as if a MIDI output port were open, so start-up keeps MIDI
        soundStartup(app);
    }
    void TearDown() override { soundShutdown(); }

    static std::vector<uint8_t> note(uint8_t status, uint8_t key) { return {status, key, 100}; }
    AppContext app;
};

} // namespace

TEST_F(SoundOutputs, CountsPairPlaysWithStops) {
    ASSERT_EQ(soundOutputKind(), SoundOutputKindMidi);
    EXPECT_EQ(soundMessage.size(), 3u);
    SoundOutputManager& out = *currentSoundOutput();
    out.play(note(0x92, 60));
    out.play(note(0x92, 60));
    out.play(note(0x90, 60));
    EXPECT_EQ(activeCounts[60][2], 2);
    EXPECT_EQ(activeCounts[60][0], 1);
    EXPECT_EQ(soundingTotal, 3);
    out.stop(note(0x82, 60));
    EXPECT_EQ(activeCounts[60][2], 1);
    out.stop(note(0x82, 60));
    out.stop(note(0x80, 60));
    EXPECT_EQ(activeCounts[60][2], 0);
    EXPECT_EQ(soundingTotal, 0);

    // A stop for a key that is not sounding leaves its count at 0.
    out.stop(note(0x85, 61));
    EXPECT_EQ(activeCounts[61][5], 0);
    EXPECT_EQ(soundingTotal, -1);
}

TEST_F(SoundOutputs, MessagesTheCountTableCannotHoldAreIgnored) {
    SoundOutputMidi midi;
    SoundOutputWav wave;
    for (SoundOutputManager* output :
         {static_cast<SoundOutputManager*>(&midi), static_cast<SoundOutputManager*>(&wave)}) {
        SoundOutputManager& out = *output;
        out.play(note(0x90, 128));
        out.play(note(0x9F, 255));
        out.stop(note(0x80, 200));
        out.play({0x90});
        out.stop({});
        EXPECT_EQ(soundingTotal, 0);
        for (const auto& row : activeCounts)
            for (int8_t count : row) ASSERT_EQ(count, 0);
    }
}

TEST_F(SoundOutputs, WaveOutputCountsLikeTheMidiOne) {
    SoundOutputWav out;
    out.play(note(0x90, 69)); // key A
    out.play(note(0x90, 71)); // key B
    out.stop(note(0x80, 69));
    EXPECT_EQ(soundingTotal, 1);
    EXPECT_EQ(activeCounts[71][0], 1);
    out.stop(note(0x80, 71));
    EXPECT_EQ(soundingTotal, 0);
    EXPECT_EQ(activeCounts[69][0], 0);
}

// Switching carries the counts over, and the Simple Synth's bank is built only once.
TEST_F(SoundOutputs, SelectingOutputsBuildsTheBankOnce) {
    currentSoundOutput()->play(note(0x90, 64));
    selectSoundOutput(SoundOutputKindWave);
    EXPECT_EQ(soundOutputKind(), SoundOutputKindWave);
    ASSERT_TRUE(synthBankBuilt());
    EXPECT_EQ(activeCounts[64][0], 1);
    ASSERT_EQ(synthVoices[69].waveImage.size(), 44144u);

    synthVoices[69].waveImage[44] = 0xEE; // a rebuild would write 10 back
    selectSoundOutput(SoundOutputKindMidi);
    EXPECT_EQ(soundOutputKind(), SoundOutputKindMidi);
    selectSoundOutput(SoundOutputKindWave);
    EXPECT_EQ(synthVoices[69].waveImage[44], 0xEE);
    synthVoices[69].waveImage[44] = 10;

    selectSoundOutput(7); // no such kind: nothing changes
    EXPECT_EQ(soundOutputKind(), SoundOutputKindWave);
}

TEST_F(SoundOutputs, StartingWithoutAnOutputPortChoosesTheSimpleSynth) {
    soundShutdown();
    EXPECT_EQ(currentSoundOutput(), nullptr);
    EXPECT_EQ(soundOutputKind(), SoundOutputNone);
    int setUps = 0;
    static int* counter = nullptr;
    counter = &setUps;
    app.outputPort = -1;
    soundStartup(app, [] { ++*counter; });
    EXPECT_EQ(setUps, 1);
    EXPECT_EQ(soundOutputKind(), SoundOutputKindWave);
    EXPECT_TRUE(synthBankBuilt());
}
