#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "sound/simple_synth.h"
#include "sound/sound_output.h"
#include "sound/sound_state.h"
#include "sound/sound_system.h"

namespace {

using Message = std::vector<uint8_t>;

// What reaches the port or the wave player, in order.
struct Recorder {
    std::vector<Message> sent;
    std::vector<std::string> played; // "play <key>" or "stop"
    const SynthBank* bank = nullptr; // whose images the wave player is given

    MidiSend midi() {
        return [this](const Message& message) { sent.push_back(message); };
    }
    WavePlayer wave() {
        WavePlayer player;
        player.play = [this](const uint8_t* image, size_t size) {
            for (int key = 0; key < 128; ++key)
                if ((*bank)[key].waveImage.data() == image && (*bank)[key].waveImage.size() == size)
                    played.push_back("play " + std::to_string(key));
        };
        player.stop = [this] { played.push_back("stop"); };
        return player;
    }
};

// No audio device in these tests: the platform's wave player stays silent.
class SoundOutputs : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "cadenzio-no-such-driver", 1);
        sound.outputPort = 0; // as if a MIDI output port were open, so start-up keeps MIDI
        soundStartup(sound);
        recorder.bank = &sound.synthVoices;
    }
    void TearDown() override { soundShutdown(sound); }

    static Message note(uint8_t status, uint8_t key) { return {status, key, 100}; }
    SoundState sound;
    SoundCounts& counts = sound.counts;
    Recorder recorder;
};

} // namespace

TEST_F(SoundOutputs, MidiSendsANoteOffOnlyWhenTheKeysLastHolderLetsGo) {
    ASSERT_EQ(sound.outputKind, SoundOutputKindMidi);
    EXPECT_EQ(sound.soundMessage.size(), 3u);
    SoundOutputMidi out(recorder.midi(), counts);
    out.play(note(0x92, 60));
    out.play(note(0x92, 60));
    out.play(note(0x90, 60));
    EXPECT_EQ(counts.activeCounts[60][2], 2);
    EXPECT_EQ(counts.activeCounts[60][0], 1);
    EXPECT_EQ(counts.soundingTotal, 3);
    out.stop(note(0x82, 60));
    EXPECT_EQ(counts.activeCounts[60][2], 1);
    EXPECT_EQ(recorder.sent,
              (std::vector<Message>{note(0x92, 60), note(0x92, 60), note(0x90, 60)}));
    out.stop(note(0x82, 60));
    out.stop(note(0x80, 60));
    EXPECT_EQ(counts.activeCounts[60][2], 0);
    EXPECT_EQ(counts.soundingTotal, 0);
    ASSERT_EQ(recorder.sent.size(), 5u);
    EXPECT_EQ(recorder.sent[3], note(0x82, 60));
    EXPECT_EQ(recorder.sent[4], note(0x80, 60));

    // A stop for a key that is not sounding is passed on and changes no count.
    out.stop(note(0x85, 61));
    EXPECT_EQ(counts.activeCounts[61][5], 0);
    EXPECT_EQ(counts.soundingTotal, 0);
    EXPECT_EQ(recorder.sent.back(), note(0x85, 61));

    // A data byte with its top bit set would reach the device as a status byte.
    out.play({0x90, 62, 0xC8});
    EXPECT_EQ(recorder.sent.back(), (Message{0x90, 62, 0x48}));
}

TEST_F(SoundOutputs, MessagesTheCountTableCannotHoldAreIgnored) {
    SoundOutputMidi midi(recorder.midi(), counts);
    SoundOutputWav wave(recorder.wave(), counts, sound.synthVoices);
    for (SoundOutputManager* output :
         {static_cast<SoundOutputManager*>(&midi), static_cast<SoundOutputManager*>(&wave)}) {
        SoundOutputManager& out = *output;
        out.play(note(0x90, 128));
        out.play(note(0x9F, 255));
        out.stop(note(0x80, 200));
        out.play({0x90});
        out.stop({});
        EXPECT_EQ(counts.soundingTotal, 0);
        for (const auto& row : counts.activeCounts)
            for (uint16_t count : row) ASSERT_EQ(count, 0);
    }
    EXPECT_TRUE(recorder.sent.empty());
    EXPECT_TRUE(recorder.played.empty());
}

// The Simple Synth sounds one key at a time, the last one struck.
TEST_F(SoundOutputs, WaveOutputPlaysTheLastStruckKeyUntilNoKeyIsHeld) {
    selectSoundOutput(sound, SoundOutputKindWave); // builds the bank
    SoundOutputWav out(recorder.wave(), counts, sound.synthVoices);
    out.play(note(0x90, 69)); // key A
    out.play(note(0x90, 71)); // key B
    out.stop(note(0x80, 69)); // B keeps sounding
    EXPECT_EQ(counts.soundingTotal, 1);
    EXPECT_EQ(counts.activeCounts[71][0], 1);
    EXPECT_EQ(recorder.played, (std::vector<std::string>{"play 69", "play 71"}));
    out.stop(note(0x80, 71));
    EXPECT_EQ(counts.soundingTotal, 0);
    EXPECT_EQ(counts.activeCounts[69][0], 0);
    EXPECT_EQ(recorder.played, (std::vector<std::string>{"play 69", "play 71", "stop"}));

    // Releasing the later key first leaves it sounding while the other is held.
    out.play(note(0x90, 60));
    out.play(note(0x90, 64));
    out.stop(note(0x80, 64));
    EXPECT_EQ(recorder.played.back(), "play 64");
    out.stop(note(0x80, 60));
    EXPECT_EQ(recorder.played.back(), "stop");
}

// Switching silences the old output, and the Simple Synth's bank is built only once.
TEST_F(SoundOutputs, SelectingOutputsBuildsTheBankOnce) {
    sound.output->play(note(0x90, 64));
    selectSoundOutput(sound, SoundOutputKindWave);
    EXPECT_EQ(sound.outputKind, SoundOutputKindWave);
    ASSERT_TRUE(synthBankBuilt(sound.synthVoices));
    EXPECT_EQ(counts.activeCounts[64][0], 0);
    ASSERT_EQ(sound.synthVoices[69].waveImage.size(), 44144u);

    sound.synthVoices[69].waveImage[44] = 0xEE; // a rebuild would write 10 back
    selectSoundOutput(sound, SoundOutputKindMidi);
    EXPECT_EQ(sound.outputKind, SoundOutputKindMidi);
    selectSoundOutput(sound, SoundOutputKindWave);
    EXPECT_EQ(sound.synthVoices[69].waveImage[44], 0xEE);
    sound.synthVoices[69].waveImage[44] = 10;

    selectSoundOutput(sound, 7); // no such kind: nothing changes
    EXPECT_EQ(sound.outputKind, SoundOutputKindWave);
}

TEST_F(SoundOutputs, StartingWithoutAnOutputPortChoosesTheSimpleSynth) {
    soundShutdown(sound);
    EXPECT_EQ(sound.output, nullptr);
    EXPECT_EQ(sound.outputKind, SoundOutputNone);
    sound.outputPort = -1;
    soundStartup(sound);
    EXPECT_EQ(sound.outputKind, SoundOutputKindWave);
    EXPECT_TRUE(synthBankBuilt(sound.synthVoices));
}

// Silencing stops, through whichever output is current, every note the state's counts hold.
TEST_F(SoundOutputs, SilencingLeavesNoNoteSoundingOnEitherOutput) {
    auto nothingCounted = [this] {
        for (const auto& row : counts.activeCounts)
            for (uint16_t count : row)
                if (count != 0) return false;
        return counts.soundingTotal == 0;
    };
    sound.output = std::make_unique<SoundOutputMidi>(recorder.midi(), counts);
    for (int i = 0; i < 3; ++i) soundNote(sound, 2, 60, 100, true);
    soundNote(sound, 0, 61, 100, true);
    silenceSound(sound);
    // Three stops of (60, 2), of which only the last lets the note go.
    EXPECT_EQ(recorder.sent, (std::vector<Message>{note(0x92, 60),
                                                   note(0x92, 60),
                                                   note(0x92, 60),
                                                   note(0x90, 61),
                                                   {0x82, 60, 0},
                                                   {0x80, 61, 0}}));
    EXPECT_TRUE(nothingCounted());

    selectSoundOutput(sound, SoundOutputKindWave); // builds the bank
    sound.output = std::make_unique<SoundOutputWav>(recorder.wave(), counts, sound.synthVoices);
    soundNote(sound, 0, 69, 100, true);
    soundNote(sound, 5, 71, 100, true);
    silenceSound(sound);
    EXPECT_EQ(recorder.played, (std::vector<std::string>{"play 69", "play 71", "stop"}));
    EXPECT_TRUE(nothingCounted());
}
