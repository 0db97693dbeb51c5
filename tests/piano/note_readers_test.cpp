// The note input against a recording MIDI output: what sounds, what matches and what the key
// owner lists hold afterwards.
#include "game/note_input.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "app/app_context.h"
#include "platform/input.h"
#include "sound/sound_output.h"

namespace {

using Message = std::vector<uint8_t>;
using Owners = std::vector<uint8_t>;

class NoteInputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::memset(activeCounts, 0, sizeof activeCounts);
        soundingTotal = 0;
        soundMessage.assign(3, 0);
        setUpNoteInput();
        app = std::make_unique<AppContext>();
        app->sound.output = std::make_unique<SoundOutputMidi>(
            [this](const Message& message) { sent.push_back(message); });
        app->sound.inputDevices.push_back(InputDeviceRecord{});
        play.tracks = &tracks;
        play.playMode = 1;
    }

    // A track of the given play type and colour whose notes (key, start) are all upcoming.
    Track& addTrack(PlayType type, uint32_t colour, std::vector<std::pair<uint8_t, double>> notes) {
        Track track;
        track.playType = type;
        track.colour = colour;
        for (auto [key, start] : notes) {
            track.upcoming.push_back(static_cast<uint32_t>(track.notes.size()));
            track.notes.push_back({start, 0.5, 0, key, 64});
        }
        tracks.push_back(track);
        return tracks.back();
    }
    bool matchesAt(double songTime, uint8_t key) {
        play.songTime = songTime;
        return matchKey(play, key).matched;
    }
    void midi(Message message) { handleGameMidiMessage(*app, play, message); }
    void keys(std::initializer_list<uint8_t> down) {
        std::memcpy(input.previousKeys, input.keys, sizeof input.keys);
        std::memset(input.keys, 0, sizeof input.keys);
        for (uint8_t code : down) input.keys[code] = 0x80;
        readGameKeyboard(*app, input, play);
    }

    std::unique_ptr<AppContext> app;
    std::vector<Track> tracks;
    PlayContext play;
    InputDevices input;
    std::vector<Message> sent;
};

} // namespace

TEST_F(NoteInputTest, UpcomingNotesMatchOnlyWithinAQuarterSecond) {
    addTrack(PlayType::RightHand, 3, {{60, 1.0}, {60, 1.3}});
    EXPECT_TRUE(matchesAt(0.8, 60));
    EXPECT_EQ(matchKey(play, 60).colour, 3);
    EXPECT_FALSE(matchesAt(0.75, 60)); // exactly 0.25 away
    EXPECT_FALSE(matchesAt(0.7, 60));
    EXPECT_FALSE(matchesAt(0.8, 61));
    // A note exactly 0.25 behind does not match, but the next one of the key still may.
    EXPECT_TRUE(matchesAt(1.25, 60));
}

TEST_F(NoteInputTest, SoundingNotesMatchAndEndedOnesDoNot) {
    Track& track = addTrack(PlayType::RightHand, 2, {{60, 0.0}, {62, 0.0}});
    track.upcoming.clear();
    track.sounding = {0};
    track.ended = {1};
    EXPECT_TRUE(matchesAt(50.0, 60)); // however long ago it started
    EXPECT_FALSE(matchesAt(0.1, 62));
    track.sounding = {7}; // an index past the notes is ignored
    EXPECT_FALSE(matchesAt(0.1, 60));
}

TEST_F(NoteInputTest, OnlyThePlayersTracksMatch) {
    addTrack(PlayType::LeftHand, 1, {{40, 1.0}});
    addTrack(PlayType::Displayed, 4, {{41, 1.0}});
    addTrack(PlayType::RightHand, 5, {{40, 1.0}, {42, 1.0}});
    play.playMode = 0;
    play.songTime = 1.0;
    EXPECT_EQ(matchKey(play, 40).colour, 1); // first track in order
    EXPECT_FALSE(matchesAt(1.0, 42));
    play.playMode = 2;
    EXPECT_TRUE(matchesAt(1.0, 42));
    EXPECT_FALSE(matchesAt(1.0, 41));
    play.playMode = 3; // watch and listen
    EXPECT_FALSE(matchesAt(1.0, 40));
    EXPECT_FALSE(matchesAt(1.0, 42));

    EXPECT_TRUE(isPlayersTrack(1, PlayType::RightHand));
    EXPECT_FALSE(isPlayersTrack(1, PlayType::LeftHand));
    EXPECT_FALSE(isPlayersTrack(2, PlayType::Displayed));
    EXPECT_FALSE(isPlayersTrack(7, PlayType::LeftHand));
}

TEST_F(NoteInputTest, MidiNoteIsScaledMatchedAndReleasedEitherWay) {
    addTrack(PlayType::RightHand, 3, {{60, 0.1}});
    midi({0x91, 60, 50});
    midi({0x92, 64, 90});
    EXPECT_EQ(sent, (std::vector<Message>{{0x91, 60, 100}, {0x92, 64, 127}}));
    EXPECT_EQ(noteInput.held[60], 3);
    EXPECT_EQ(noteInput.held[64], 0);
    EXPECT_EQ(noteInput.keyOwners[60], (Owners{0, 3}));
    EXPECT_EQ(activeCounts[60][1], 1);

    // A note-off and a note-on of velocity 0 end their holds alike.
    midi({0x81, 60, 0});
    midi({0x92, 64, 0});
    EXPECT_EQ(sent[2], (Message{0x81, 60, 0}));
    EXPECT_EQ(sent[3], (Message{0x92, 64, 0}));
    EXPECT_EQ(noteInput.held[60], -1);
    EXPECT_EQ(noteInput.held[64], -1);
    EXPECT_EQ(noteInput.keyOwners[60], Owners{0});
    EXPECT_EQ(noteInput.keyOwners[64], Owners{0});
    EXPECT_EQ(activeCounts[64][2], 0);
    EXPECT_EQ(soundingTotal, 0);

    // Program change, pitch bend and truncated messages are neither played nor matched.
    midi({0xC0, 60});
    midi({0xE0, 0, 64});
    midi({0x90, 60});
    EXPECT_EQ(sent.size(), 4u);
    EXPECT_EQ(noteInput.held[60], -1);
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
    play.inputVolume = 1.0f;
    keys({});
    EXPECT_EQ(sent.back(), (Message{0x80, 53, 64}));
    EXPECT_EQ(soundingTotal, 0);
}

TEST_F(NoteInputTest, PressAndReleaseLeaveTheOwnerListAsBefore) {
    addTrack(PlayType::RightHand, 2, {{60, 0.0}});
    noteInput.keyOwners[60].push_back(2); // a computer note of colour 2 sounds there
    midi({0x90, 60, 64});                 // matches colour 2
    EXPECT_EQ(noteInput.keyOwners[60], (Owners{0, 2, 2}));
    midi({0x80, 60, 0});
    EXPECT_EQ(noteInput.keyOwners[60], (Owners{0, 2}));

    play.songTime = 5;
    keys({ScanK}); // key 60 again, unmatched now
    EXPECT_EQ(noteInput.held[60], 0);
    EXPECT_EQ(noteInput.keyOwners[60], (Owners{0, 2, 0}));
    keys({});
    EXPECT_EQ(noteInput.keyOwners[60], (Owners{0, 2}));
}

TEST_F(NoteInputTest, ReleasingHeldNotesStopsEachOnItsChannelAndOnlyOnce) {
    midi({0x93, 60, 64});
    midi({0x93, 60, 64}); // the same key twice without a release
    midi({0x95, 62, 64});
    keys({ScanK});                           // key 60 on channel 0
    app->sound.output->play({0x93, 70, 64}); // a computer note
    noteInput.keyOwners[70].push_back(4);
    sent.clear();

    releaseHeldNotes(app->sound);
    EXPECT_EQ(sent, (std::vector<Message>{{0x80, 60, 0}, {0x83, 60, 0}, {0x85, 62, 0}}));
    EXPECT_EQ(activeCounts[60][3], 0);
    EXPECT_EQ(activeCounts[60][0], 0);
    EXPECT_EQ(activeCounts[70][3], 1);
    for (int key = 0; key < 128; ++key) EXPECT_EQ(noteInput.held[key], -1);
    EXPECT_EQ(noteInput.keyOwners[62], Owners{0});
    EXPECT_EQ(noteInput.keyOwners[70], (Owners{0, 4}));

    // The instrument's own note-offs come later and must not stop anything else.
    app->sound.output->play({0x93, 60, 64});
    sent.clear();
    midi({0x83, 60, 0});
    keys({});
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(activeCounts[60][3], 1);
    EXPECT_EQ(soundingTotal, 2);
}

TEST_F(NoteInputTest, SilenceAllStopsEveryCountedNoteAndTrimKeepsTheBaseEntry) {
    app->sound.output->play({0x90, 10, 64});
    app->sound.output->play({0x9F, 127, 64});
    app->sound.output->play({0x9F, 127, 64});
    midi({0x94, 50, 64});
    noteInput.keyOwners[10].push_back(1);
    sent.clear();
    silenceAll(app->sound);
    EXPECT_EQ(sent, (std::vector<Message>{{0x80, 10, 0}, {0x84, 50, 0}, {0x8F, 127, 0}}));
    EXPECT_EQ(soundingTotal, 0);
    EXPECT_EQ(activeCounts[127][15], 0);
    // The player's later note-off finds nothing to stop.
    midi({0x84, 50, 0});
    EXPECT_EQ(sent.size(), 3u);

    trimKeyOwnerLists();
    for (const Owners& owners : noteInput.keyOwners) EXPECT_EQ(owners, Owners{0});

    // A key held unmatched (entry 0) across a trim: its release must leave the base entry, which
    // the keyboard view reads.
    keys({ScanK});
    trimKeyOwnerLists();
    keys({});
    EXPECT_EQ(noteInput.keyOwners[60], Owners{0});
    keys({ScanK});
    trimKeyOwnerLists();
    releaseHeldNotes(app->sound);
    EXPECT_EQ(noteInput.keyOwners[60], Owners{0});
}

TEST_F(NoteInputTest, MenuPlaysUnscaledUnmatchedAndTeachesTheRange) {
    addTrack(PlayType::RightHand, 2, {{42, 0.0}});
    app->transposition = 12;
    Message on{0x90, 30, 50};
    handleMenuMidiMessage(*app, on);
    EXPECT_EQ(sent, (std::vector<Message>{{0x90, 42, 50}}));
    EXPECT_EQ(noteInput.held[42], 0);
    EXPECT_EQ(app->sound.inputDevices[0].minNote, 30); // learned without the transposition
    Message off{0x90, 30, 0};
    handleMenuMidiMessage(*app, off);
    EXPECT_EQ(noteInput.keyOwners[42], Owners{0});

    app->transposition = 0;
    input.keys[ScanS] = 0x80;
    readMenuKeyboard(*app, input);
    EXPECT_EQ(sent.back(), (Message{0x90, 50, 64}));
    EXPECT_EQ(noteInput.held[50], 0);
}
