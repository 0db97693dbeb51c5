// The note readers against a recording MIDI output: what sounds, what a press keeps and what the
// key owner lists hold afterwards.
#include "piano/note_readers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <random>
#include <thread>

#include "app/app_context.h"
#include "piano/key_owners.h"
#include "platform/input.h"
#include "sound/player_sound.h"
#include "sound/sound_output.h"
#include "sound/sound_system.h"

namespace {

using Message = std::vector<uint8_t>;
using Owners = std::vector<uint8_t>;

class NoteInputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        app = std::make_unique<AppContext>();
        app->sound.soundMessage.assign(3, 0);
        app->sound.output = std::make_unique<SoundOutputMidi>(
            [this](const Message& message) { sent.push_back(message); }, app->sound.counts);
        app->sound.inputDevices.push_back(InputDeviceRecord{});
    }

    void midi(Message message) { handleGameMidiMessage(*app, inputVolume, match, message); }
    void keys(std::initializer_list<uint8_t> down) {
        std::memcpy(input.previousKeys, input.keys, sizeof input.keys);
        std::memset(input.keys, 0, sizeof input.keys);
        for (uint8_t code : down) input.keys[code] = 0x80;
        readGameKeyboard(*app, input, inputVolume, match);
    }
    const uint16_t* counts(uint8_t key) const { return app->sound.counts.activeCounts[key]; }
    int32_t soundingTotal() const { return app->sound.counts.soundingTotal; }

    std::unique_ptr<AppContext> app;
    PianoState& piano() { return app->piano; }
    // What the play's matching would keep for a press: here a track of colour matchedColour
    // falls on key matchedKey.
    uint8_t matchedKey = 60, matchedColour = 3;
    PressMatch match = [this](uint8_t key) {
        ++matchCalls; // each is a press the practice aids count
        return key == matchedKey ? matchedColour : 0;
    };
    int matchCalls = 0;
    float inputVolume = 2.0f;
    InputDevices input;
    std::vector<Message> sent;
};

} // namespace

TEST_F(NoteInputTest, MidiNoteIsScaledMatchedAndReleasedEitherWay) {
    midi({0x91, 60, 50});
    midi({0x92, 64, 90});
    EXPECT_EQ(sent, (std::vector<Message>{{0x91, 60, 100}, {0x92, 64, 127}}));
    EXPECT_EQ(piano().held[60], 3);
    EXPECT_EQ(piano().held[64], 0);
    EXPECT_EQ(piano().keyOwners[60], (Owners{0, 3}));
    EXPECT_EQ(counts(60)[1], 1);

    // A note-off and a note-on of velocity 0 end their holds alike.
    midi({0x81, 60, 0});
    midi({0x92, 64, 0});
    EXPECT_EQ(sent[2], (Message{0x81, 60, 0}));
    EXPECT_EQ(sent[3], (Message{0x92, 64, 0}));
    EXPECT_EQ(piano().held[60], -1);
    EXPECT_EQ(piano().held[64], -1);
    EXPECT_EQ(piano().keyOwners[60], Owners{0});
    EXPECT_EQ(piano().keyOwners[64], Owners{0});
    EXPECT_EQ(counts(64)[2], 0);
    EXPECT_EQ(soundingTotal(), 0);

    EXPECT_EQ(matchCalls, 2); // the two note-ons; releases are no presses

    // Program change, pitch bend, the sustain pedal and truncated messages are neither played nor
    // matched.
    midi({0xC0, 60});
    midi({0xE0, 0, 64});
    midi({0xB0, 64, 127});
    midi({0x90, 60});
    EXPECT_EQ(sent.size(), 4u);
    EXPECT_EQ(matchCalls, 2);
    EXPECT_EQ(piano().held[60], -1);
}

TEST_F(NoteInputTest, KeysShiftedOutOfRangeAreDropped) {
    app->transposition = 12;
    midi({0x90, 120, 64});
    midi({0x90, 100, 64});
    app->transposition = -12; // a new transposition lets go of what sounded with the old
    midi({0x80, 5, 0});
    EXPECT_EQ(sent, (std::vector<Message>{{0x90, 112, 127}, {0x80, 112, 0}}));

    // The computer keyboard's keys from 48 + 72 = 120 up: only 120 to 127 exist.
    app->transposition = 72;
    std::initializer_list<uint8_t> all = {
        ScanA, ScanW, ScanS, ScanE, ScanD, ScanF, ScanT, ScanG,         ScanY,
        ScanH, ScanU, ScanJ, ScanK, ScanO, ScanL, ScanP, ScanSemicolon, ScanApostrophe};
    sent.clear();
    keys(all);
    ASSERT_EQ(sent.size(), 8u);
    EXPECT_EQ(sent.front(), (Message{0x90, 120, 127}));
    EXPECT_EQ(sent.back(), (Message{0x90, 127, 127}));
}

TEST_F(NoteInputTest, ComputerKeysFollowTheTranspositionAndTheInputVolume) {
    app->transposition = -12;
    keys({ScanA});
    keys({ScanA, ScanApostrophe});
    keys({ScanApostrophe});
    EXPECT_EQ(sent, (std::vector<Message>{{0x90, 36, 127}, {0x90, 53, 127}, {0x80, 36, 127}}));
    inputVolume = 1.0f;
    keys({});
    EXPECT_EQ(sent.back(), (Message{0x80, 53, 64}));
    EXPECT_EQ(soundingTotal(), 0);
}

TEST_F(NoteInputTest, PressAndReleaseLeaveTheOwnerListAsBefore) {
    matchedColour = 2;
    piano().keyOwners[60].push_back(2); // a computer note of colour 2 sounds there
    midi({0x90, 60, 64});               // matches colour 2
    EXPECT_EQ(piano().keyOwners[60], (Owners{0, 2, 2}));
    midi({0x80, 60, 0});
    EXPECT_EQ(piano().keyOwners[60], (Owners{0, 2}));

    matchedKey = 0; // the note has passed
    keys({ScanK});  // key 60 again, unmatched now
    EXPECT_EQ(piano().held[60], 0);
    EXPECT_EQ(piano().keyOwners[60], (Owners{0, 2, 0}));
    keys({});
    EXPECT_EQ(piano().keyOwners[60], (Owners{0, 2}));
}

TEST_F(NoteInputTest, ReleasingHeldNotesStopsEachOnItsChannelAndOnlyOnce) {
    midi({0x93, 60, 64});
    midi({0x93, 60, 64}); // the same key twice without a release
    midi({0x95, 62, 64});
    keys({ScanK});                           // key 60 on channel 0
    app->sound.output->play({0x93, 70, 64}); // a computer note
    piano().keyOwners[70].push_back(4);
    sent.clear();

    releaseHeldNotes(piano(), app->sound);
    EXPECT_EQ(sent, (std::vector<Message>{{0x80, 60, 0}, {0x83, 60, 0}, {0x85, 62, 0}}));
    EXPECT_EQ(counts(60)[3], 0);
    EXPECT_EQ(counts(60)[0], 0);
    EXPECT_EQ(counts(70)[3], 1);
    for (int key = 0; key < 128; ++key) EXPECT_EQ(piano().held[key], -1);
    EXPECT_EQ(piano().keyOwners[62], Owners{0});
    EXPECT_EQ(piano().keyOwners[70], (Owners{0, 4}));

    // The instrument's own note-offs come later and must not stop anything else.
    app->sound.output->play({0x93, 60, 64});
    sent.clear();
    midi({0x83, 60, 0});
    keys({});
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(counts(60)[3], 1);
    EXPECT_EQ(soundingTotal(), 2);
}

TEST_F(NoteInputTest, SilenceAllStopsEveryCountedNoteAndTrimKeepsTheBaseEntry) {
    app->sound.output->play({0x90, 10, 64});
    app->sound.output->play({0x9F, 127, 64});
    app->sound.output->play({0x9F, 127, 64});
    midi({0x94, 50, 64});
    piano().keyOwners[10].push_back(1);
    sent.clear();
    silenceSound(app->sound);
    EXPECT_EQ(sent, (std::vector<Message>{{0x80, 10, 0}, {0x84, 50, 0}, {0x8F, 127, 0}}));
    EXPECT_EQ(soundingTotal(), 0);
    EXPECT_EQ(counts(127)[15], 0);
    // The player's later note-off finds nothing to stop.
    midi({0x84, 50, 0});
    EXPECT_EQ(sent.size(), 3u);

    trimKeyOwnerLists(piano());
    for (const Owners& owners : piano().keyOwners) EXPECT_EQ(owners, Owners{0});

    // A key held unmatched (entry 0) across a trim: its release must leave the base entry, which
    // the keyboard view reads.
    keys({ScanK});
    trimKeyOwnerLists(piano());
    keys({});
    EXPECT_EQ(piano().keyOwners[60], Owners{0});
    keys({ScanK});
    trimKeyOwnerLists(piano());
    releaseHeldNotes(piano(), app->sound);
    EXPECT_EQ(piano().keyOwners[60], Owners{0});
}

TEST_F(NoteInputTest, MenuPlaysUnscaledUnmatchedAndTeachesTheRange) {
    matchedKey = 42; // a falling note the menu does not see
    app->transposition = 12;
    Message on{0x90, 30, 50};
    handleMenuMidiMessage(*app, on);
    EXPECT_EQ(sent, (std::vector<Message>{{0x90, 42, 50}}));
    EXPECT_EQ(piano().held[42], 0);
    EXPECT_EQ(app->sound.inputDevices[0].minNote, 30); // learned without the transposition
    Message off{0x90, 30, 0};
    handleMenuMidiMessage(*app, off);
    EXPECT_EQ(piano().keyOwners[42], Owners{0});

    app->transposition = 0;
    input.keys[ScanS] = 0x80;
    readMenuKeyboard(*app, input);
    EXPECT_EQ(sent.back(), (Message{0x90, 50, 64}));
    EXPECT_EQ(piano().held[50], 0);
}

// The MIDI input's thread sounds the player's notes as they come while frames shift the octave,
// seek, play the computer's notes and read the computer keyboard: whatever the interleaving, once
// every key is let go nothing sounds and nothing is counted.
TEST_F(NoteInputTest, NotesFromTheInputThreadAgainstOctaveChangesAndSeeksLeaveNothingSounding) {
    bool sounding[128][16] = {}; // as the device hears it; written under the send lock
    app->sound.output = std::make_unique<SoundOutputMidi>(
        [&](const Message& m) {
            sounding[m[1] & 0x7F][m[0] & 0x0F] = (m[0] & 0xF0) == 0x90 && m[2] != 0;
        },
        app->sound.counts);
    readGameMidiInput(*app, inputVolume, match); // no port: only tells the thread to sound
    std::atomic<bool> playing{true};

    std::thread instrument([&] {
        std::mt19937 random(7);
        std::vector<std::pair<uint8_t, uint8_t>> down; // key and channel as sent
        Message message(3);
        SoundedWith with;
        auto release = [&](size_t i) {
            const bool asNoteOn = random() % 2;
            message = {uint8_t((asNoteOn ? 0x90 : 0x80) | down[i].second), down[i].first, 0};
            down.erase(down.begin() + std::ptrdiff_t(i));
            soundPlayedNote(app->sound, message, with);
        };
        for (int i = 0; i < 20000; ++i) {
            if (down.size() >= 4 || (!down.empty() && random() % 2)) {
                release(random() % down.size());
                continue;
            }
            const auto key = uint8_t(36 + random() % 48), channel = uint8_t(random() % 3);
            message = {uint8_t(0x90 | channel), key, uint8_t(1 + random() % 126)};
            down.emplace_back(key, channel);
            soundPlayedNote(app->sound, message, with);
        }
        playing = false;
        while (!down.empty()) release(0);
    });

    // The frames: the computer keyboard's A (channel 0, as the instrument's first channel), Z and
    // X, a computer note, and now and then a seek.
    std::mt19937 random(11);
    for (uint32_t frame = 0; playing; ++frame) {
        std::memcpy(input.previousKeys, input.keys, sizeof input.keys);
        std::memset(input.keys, 0, sizeof input.keys);
        if (frame % 3 == 0) input.keys[ScanA] = 0x80;
        if (frame % 7 == 0) input.keys[random() % 2 ? ScanZ : ScanX] = 0x80;
        readGameMidiInput(*app, inputVolume, match);
        readGameKeyboard(*app, input, inputVolume, match);
        shiftOctave(*app, input);
        soundNote(app->sound, 0, uint8_t(40 + frame % 40), 90, true);
        soundNote(app->sound, 0, uint8_t(40 + frame % 40), 0, false);
        if (frame % 13 == 0) {
            releaseHeldNotes(piano(), app->sound);
            trimKeyOwnerLists(piano());
            silenceSound(app->sound);
        }
    }
    instrument.join();
    keys({}); // the player lets go of the computer key too

    for (int key = 0; key < 128; ++key)
        for (int channel = 0; channel < 16; ++channel) {
            EXPECT_FALSE(sounding[key][channel]) << "key " << key << " channel " << channel;
            EXPECT_EQ(counts(key)[channel], 0) << "key " << key << " channel " << channel;
        }
    EXPECT_EQ(soundingTotal(), 0);
}
