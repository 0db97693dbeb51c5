// The note readers against a recording MIDI output: what sounds, what a press keeps and what the
// key owner lists hold afterwards.
#include "piano/note_readers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "app/app_context.h"
#include "piano/key_owners.h"
#include "platform/input.h"
#include "sound/sound_output.h"

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
    app->transposition = -12;
    midi({0x80, 5, 0});
    EXPECT_EQ(sent, (std::vector<Message>{{0x90, 112, 127}}));

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
    silenceAll(piano(), app->sound);
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
