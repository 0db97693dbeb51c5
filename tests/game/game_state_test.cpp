// The play state driven frame by frame with scripted key snapshots and a chosen frame step.
#include <cmath>
#include <map>
#include <set>

#include "play_fixture.h"
#include "sound/device_records.h"

namespace {

using namespace playtest;

class Play : public PlayFixture {};

TEST_F(Play, EnterLaysOutTheSongAndStartsTheLeadIn) {
    addTrack(PlayType::Displayed, 1, {note(0, 1, 50)}, 125.7f);
    addTrack(PlayType::RightHand, 2, {note(3, 1, 73)});
    addTrack(PlayType::Hidden, 3, {note(3, 1, 20)}, 130); // longest, but not on the keys
    app.transposition = 24;
    start();
    EXPECT_EQ(game->songTime, -1.0);
    EXPECT_EQ(game->songLength, 130.0);
    EXPECT_EQ(app.transposition, 0);
    EXPECT_EQ(game->bookmarks, std::vector<float>(9, 0.0f));
    EXPECT_EQ(view.startNote, 48u);
    EXPECT_EQ(view.endNote, 84u);
    EXPECT_EQ(view.whiteKeyCount, 21u);
    EXPECT_FLOAT_EQ(view.verticalScale, 1.1f);
    // The white key texture is 256 pixels high: the keyboard is 281 whole pixels high.
    EXPECT_EQ(view.hitLine, 1080 - 281);
    EXPECT_EQ(game->noteScreen().hitLine, view.hitLine);
    EXPECT_EQ(game->frameWidth, 1920u);
}

TEST_F(Play, NoteAtZeroSoundsOneSecondAfterEnterAndAMinuteDoesNotDrift) {
    addTrack(PlayType::Displayed, 1, {note(0, 1, 60)}, 120);
    start();
    run(59);
    EXPECT_TRUE(startedKeys().empty());
    frame();
    EXPECT_EQ(startedKeys(), std::vector<uint8_t>{60});

    game->seek(0);
    run(3600);
    EXPECT_NEAR(game->songTime, 60.0, 1e-3);
}

TEST_F(Play, HalfSpeedTakesTwoRealSecondsForOneSongSecond) {
    addTrack(PlayType::Displayed, 1, {note(1, 1, 60)}, 10);
    start();
    game->songSpeed = 0.5f;
    run(600);
    ASSERT_EQ(sent.size(), 2u);
    const double realSeconds = double(sent[1].frame - sent[0].frame) / 60.0;
    EXPECT_NEAR(realSeconds, 2.0, 1.5 / 60);
    EXPECT_EQ(statusLines(*game, 0, 0)[2], "[C/V] Song Speed: 0.50");
}

TEST_F(Play, AdjustmentKeysChangeAtTheirRatesAndStopAtTheirLimits) {
    addTrack(PlayType::Displayed, 1, {note(0, 1, 60)}, 1000);
    start();
    run(180, {ScanV});
    EXPECT_EQ(game->songSpeed, 3.0f);
    run(60, {ScanC});
    EXPECT_NEAR(game->songSpeed, 2.0f, 1e-4);
    run(300, {ScanC});
    EXPECT_EQ(game->songSpeed, 0.1f);

    run(30, {ScanN});
    EXPECT_NEAR(game->noteSpread, 600.0f, 0.01);
    run(600, {ScanN});
    EXPECT_EQ(game->noteSpread, 1200.0f);
    run(600, {ScanB});
    EXPECT_EQ(game->noteSpread, 100.0f);

    run(60, {ScanComma});
    EXPECT_EQ(game->inputVolume, 3.9f);
    run(30, {ScanM});
    EXPECT_NEAR(game->inputVolume, 2.9f, 1e-4);
    run(120, {ScanM});
    EXPECT_EQ(game->inputVolume, 0.0f);

    // Both keys of a pair at once: the changes cancel.
    run(60, {ScanB, ScanN});
    EXPECT_NEAR(game->noteSpread, 100.0f, 0.01);

    // Left Ctrl with either key resets; right Ctrl is no modifier here.
    frame({ScanLeftControl});
    frame({ScanLeftControl, ScanC});
    frame({ScanLeftControl, ScanN});
    frame({ScanLeftControl, ScanComma});
    EXPECT_EQ(game->songSpeed, 1.0f);
    EXPECT_EQ(game->noteSpread, 400.0f);
    EXPECT_EQ(game->inputVolume, 2.0f);
    run(60, {ScanRightControl, ScanV});
    EXPECT_NEAR(game->songSpeed, 2.0f, 1e-4);
}

TEST_F(Play, DigitKeysSetClearAndJumpToBookmarks) {
    addTrack(PlayType::Displayed, 1, {note(0, 1, 60)}, 200);
    start();
    game->seek(12.5f);
    frame({ScanLeftShift, Scan3});
    const float mark = float(game->songTime);
    EXPECT_EQ(game->bookmarks[2], mark);
    frame({ScanRightShift, Scan4}); // either Shift
    EXPECT_EQ(game->bookmarks[3], float(game->songTime));

    frame({ScanLeftAlt});
    frame({ScanLeftAlt, Scan3});
    EXPECT_EQ(game->songTime, double(mark));

    frame({});
    frame({ScanRightControl, ScanLeftShift, Scan3}); // Ctrl wins over Shift
    EXPECT_EQ(game->bookmarks[2], 0.0f);
    frame({});
    frame({ScanRightAlt, Scan3});
    EXPECT_EQ(game->songTime, 0.0); // the song's start, not the lead-in

    frame({Scan5});
    EXPECT_EQ(game->songTime, 100.0);
    frame({Scan9});
    EXPECT_NEAR(game->songTime, 180.0, 1e-4);
    // Held, a digit acts once.
    run(10, {Scan9});
    EXPECT_NEAR(game->songTime, 180.0 + 10.0 / 60, 1e-4);
}

TEST_F(Play, JumpDoesNotReplayNotesBegunBeforeTheFoundNote) {
    addTrack(PlayType::Displayed, 1,
             {note(0, 200, 40), note(95, 10, 50), note(99, 3, 52), note(101, 1, 54)});
    addTrack(PlayType::Displayed, 2, {note(10, 1, 70)}, 200);
    start();
    run(60 * 11 + 30); // 10.5 s
    ASSERT_EQ(startedKeys(), (std::vector<uint8_t>{40, 70}));
    sent.clear();

    frame({Scan5});
    EXPECT_EQ(game->songTime, 100.0);
    // The jump stopped what sounded.
    EXPECT_FALSE(anyNoteSounding());
    EXPECT_EQ(sent.size(), 2u);
    const size_t jumpFrame = frames;
    sent.clear();
    run(120);
    // Of what began before 100 s only the note found at each track's cursor plays again: 52,
    // and 70 (long over, but the search finds the note at or before the time).
    EXPECT_EQ(startedKeys(), (std::vector<uint8_t>{52, 70, 54}));
    // Those came on screen in the jump's frame and start in the next.
    EXPECT_EQ(sent[0].frame, jumpFrame + 1);
    EXPECT_EQ(sent[1].frame, jumpFrame + 1);
}

// Where one note is in its lists over time: on screen, sounding, ended, gone once its image,
// drawn late by the latency, has passed the hit line.
TEST_F(Play, NoteMovesThroughItsListsAtItsTimes) {
    addTrack(PlayType::Displayed, 1, {note(2, 0.5, 60)}, 10);
    app.latency = 0.05f;
    start();
    const float dt = 0.001f;
    const double pixelsPerSecond = 400.0 * double(1.1f);
    const double onScreen = 2.0 - double(view.hitLine) / pixelsPerSecond;
    double cameUp = -9, began = -9, ended = -9, gone = -9;
    const Track& track = app.song.tracks[0];
    for (int i = 0; i < 4000 && gone < 0; ++i) {
        frame({}, dt);
        const double t = game->songTime;
        if (cameUp < 0 && !track.upcoming.empty()) cameUp = t;
        if (began < 0 && !track.sounding.empty()) began = t;
        if (ended < 0 && !track.ended.empty()) ended = t;
        if (ended > 0 && gone < 0 && track.ended.empty()) gone = t;
        EXPECT_LE(track.upcoming.size() + track.sounding.size() + track.ended.size(), 1u);
    }
    EXPECT_NEAR(cameUp, onScreen, 0.0011);
    EXPECT_NEAR(began, 2.0, 0.0011);
    EXPECT_NEAR(ended, 2.5, 0.0011);
    EXPECT_NEAR(gone, 2.55, 0.0011);
    EXPECT_EQ(track.cursor, 1u);
}

struct ModeCase {
    int32_t mode;
    std::set<uint8_t> sounding; // keys the computer plays
};

class PlayModes : public PlayFixture, public ::testing::WithParamInterface<ModeCase> {};

// One note per play type: Left Hand 60, Right Hand 62, Displayed 64, Hidden 65, Muted 67.
TEST_P(PlayModes, ComputerPlaysEveryTrackThatIsNeitherThePlayersNorMuted) {
    addTrack(PlayType::LeftHand, 1, {note(0.5, 1, 60)});
    addTrack(PlayType::RightHand, 2, {note(0.5, 1, 62)});
    addTrack(PlayType::Displayed, 3, {note(0.5, 1, 64)});
    addTrack(PlayType::Hidden, 4, {note(0.5, 1, 65)});
    addTrack(PlayType::Muted, 5, {note(0.5, 1, 67)}, 5);
    start(GetParam().mode);
    run(100); // past the starts, before the ends
    const std::vector<uint8_t> keys = startedKeys();
    EXPECT_EQ(std::set<uint8_t>(keys.begin(), keys.end()), GetParam().sounding);
    // Every track but the Muted one moved its note on, sounded or not.
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(app.song.tracks[i].sounding.size(), 1u) << i;
    EXPECT_EQ(app.song.tracks[4].cursor, 0u);
    EXPECT_TRUE(app.song.tracks[4].upcoming.empty());
    // A Hidden track sounds but does not colour its key.
    EXPECT_EQ(app.piano.keyOwners[65].back(), 0);
    if (GetParam().sounding.count(64)) {
        EXPECT_EQ(app.piano.keyOwners[64].back(), 3);
    }

    run(120);
    EXPECT_FALSE(anyNoteSounding());
    for (uint8_t key : {60, 62, 64, 65}) EXPECT_EQ(app.piano.keyOwners[key].size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Modes, PlayModes,
                         ::testing::Values(ModeCase{0, {62, 64, 65}}, ModeCase{1, {60, 64, 65}},
                                           ModeCase{2, {64, 65}}, ModeCase{3, {60, 62, 64, 65}},
                                           ModeCase{9, {60, 62, 64, 65}}));

TEST_F(Play, OctaveKeysStayWithinTheDevicesReach) {
    addTrack(PlayType::Displayed, 1, {note(0, 1, 60)}, 100);
    start();
    InputDeviceRecord& record = app.sound.inputDevices[0];
    record.minNote = 10;
    record.maxNote = 120;
    frame({ScanZ});
    frame({ScanX});
    EXPECT_EQ(app.transposition, 0);
    record.minNote = 12;
    record.maxNote = 115;
    frame({ScanZ});
    EXPECT_EQ(app.transposition, -12);
    frame({ScanX});
    frame({});
    frame({ScanX});
    EXPECT_EQ(app.transposition, 12);

    // A selection without a record reaches 48 to 66.
    app.sound.selectedInputDevice = 3;
    app.transposition = 0;
    for (int i = 0; i < 8; ++i) {
        frame({ScanX});
        frame({});
    }
    EXPECT_EQ(app.transposition, 60);
    for (int i = 0; i < 12; ++i) {
        frame({ScanZ});
        frame({});
    }
    EXPECT_EQ(app.transposition, -48);
}

TEST_F(Play, OctaveChangeStopsTheNotesThePlayerHolds) {
    addTrack(PlayType::Displayed, 1, {note(50, 1, 60)}, 100);
    start();
    frame({ScanA});
    ASSERT_EQ(startedKeys(), std::vector<uint8_t>{48});
    frame({ScanA, ScanX});
    EXPECT_EQ(app.transposition, 12);
    EXPECT_FALSE(anyNoteSounding());
}

TEST_F(Play, PauseRestartEscapeAndTheWheel) {
    addTrack(PlayType::Displayed, 1, {note(1, 1, 60)}, 100);
    start();
    run(90);
    frame({ScanSpace});
    const double pausedAt = game->songTime;
    run(60);
    EXPECT_EQ(game->songTime, pausedAt);
    EXPECT_TRUE(game->paused);
    // The wheel and the digits still move a paused clock, which stays paused.
    wheel = 240;
    frame();
    EXPECT_NEAR(game->songTime, pausedAt + 0.24, 1e-6);
    frame({Scan2});
    EXPECT_NEAR(game->songTime, 20.0, 1e-5);
    EXPECT_TRUE(game->paused);
    frame({ScanSpace});
    frame({});
    EXPECT_GT(game->songTime, 20.0);

    for (uint8_t key : {Scan0, ScanF2}) {
        game->seek(1.5f);
        run(3);
        ASSERT_FALSE(app.song.tracks[0].sounding.empty());
        frame({key});
        EXPECT_EQ(game->songTime, -1.0);
        EXPECT_TRUE(app.song.tracks[0].sounding.empty());
        EXPECT_TRUE(app.song.tracks[0].upcoming.empty());
        EXPECT_FALSE(anyNoteSounding());
        frame({});
    }
    EXPECT_EQ(frame({}), StayInState);
    EXPECT_EQ(frame({ScanEscape}), GoToMenu);
    EXPECT_EQ(frame({ScanEscape}), StayInState); // held, not pressed again
}

TEST_F(Play, PauseSilencesTheComputerAndALongFrameCountsAsATenthOfASecond) {
    addTrack(PlayType::Displayed, 1, {note(0.5, 2, 60), note(3, 1, 62)}, 100);
    start();
    run(100);
    ASSERT_TRUE(anyNoteSounding());
    frame({ScanSpace});
    EXPECT_FALSE(anyNoteSounding());
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back().message, (std::vector<uint8_t>{0x80, 60, 0}));
    run(30);
    frame({ScanSpace});
    const size_t sentAtResume = sent.size();
    while (game->songTime < 2.9) frame();
    EXPECT_EQ(sent.size(), sentAtResume); // neither restarted half-way nor stopped twice
    while (game->songTime < 3.1) frame();
    EXPECT_EQ(startedKeys(), (std::vector<uint8_t>{60, 62}));

    frame({Scan0});
    frame({}, 5.0f);
    EXPECT_NEAR(game->songTime, -0.9, 1e-6);
    EXPECT_EQ(startedKeys().size(), 2u);
}

TEST_F(Play, EndOfSongLoopsToTheLeadIn) {
    addTrack(PlayType::Displayed, 1, {note(0, 0.5, 60)}, 1.0f);
    start();
    run(120);
    // -1 + 2 s passed the end at 1.0 once: the clock restarted and ran on.
    EXPECT_LT(game->songTime, 0.0);
    EXPECT_EQ(startedKeys(), std::vector<uint8_t>{60});
    run(62);
    EXPECT_EQ(startedKeys(), (std::vector<uint8_t>{60, 60}));
}

TEST_F(Play, DraggingOnTheProgressBarSeeks) {
    addTrack(PlayType::Displayed, 1, {note(0, 1, 60)}, 100);
    start();
    input.cursorX = 960;
    input.cursorY = 30;
    leftButton = true;
    frame();
    EXPECT_NEAR(game->songTime, 50.0, 1e-4);
    input.cursorX = 480;
    frame();
    EXPECT_NEAR(game->songTime, 25.0, 1e-4);
    input.cursorY = 43; // below the band: the clock runs on
    frame();
    EXPECT_NEAR(game->songTime, 25.0 + 1.0 / 60, 1e-4);
    leftButton = false;
    frame();
    EXPECT_FALSE(game->seekDragging);

    // A press while a debug menu was open is the menu's, and the hold that follows too.
    app.debugMenuOpen = true;
    input.cursorY = 30;
    leftButton = true;
    frame();
    app.debugMenuOpen = false;
    frame();
    EXPECT_FALSE(game->seekDragging);
    EXPECT_GT(game->songTime, 25.0);
    EXPECT_LT(game->songTime, 26.0);
}

TEST_F(Play, SongWithoutNotesLoopsThroughTheLeadIn) {
    addTrack(PlayType::Displayed, 1, {}, 0);
    start();
    for (int i = 0; i < 200; ++i) {
        frame();
        ASSERT_LE(game->songTime, 0.0);
        ASSERT_GE(game->songTime, -1.0);
    }
    frame({Scan5});
    EXPECT_EQ(game->songTime, 0.0);
    emptyQueues();
    game->render();
    for (const SpriteCommand& sprite : spriteQueue()) {
        EXPECT_GE(sprite.destination.right, sprite.destination.left);
        EXPECT_LE(sprite.destination.right, 1920 * 2);
    }
}

TEST_F(Play, NoVisibleTrackGivesOneOctave) {
    addTrack(PlayType::Hidden, 1, {note(0, 1, 30)});
    addTrack(PlayType::Muted, 2, {note(0, 1, 90)}, 10);
    start();
    EXPECT_EQ(view.whiteKeyCount, 7u);
    EXPECT_GT(view.hitLine, 0);
    run(120);
    game->render();
}

// Bytes from a damaged song file: a key and a channel out of range, a length that is no number.
TEST_F(Play, DamagedNotesAreSentSafely) {
    Track& track = addTrack(PlayType::Displayed, 1, {note(0, 1, 200, 20), note(0.5, 1, 60, 19)});
    track.length = std::nanf("");
    track.lowestKey = 250;
    addTrack(PlayType::Displayed, 2, {note(0.2, 1, 61)}, 3);
    start();
    run(150);
    game->render();
    for (const Sent& s : sent) {
        EXPECT_LE(s.message[1], 127);
        EXPECT_TRUE((s.message[0] & 0xF0) == 0x90 || (s.message[0] & 0xF0) == 0x80);
    }
    EXPECT_EQ(startedKeys(), (std::vector<uint8_t>{61, 60}));
    EXPECT_EQ(sent[1].message[0], 0x93); // channel 19 kept within the four channel bits
}

TEST_F(Play, LeavingStopsEveryNote) {
    addTrack(PlayType::Displayed, 1, {note(0, 5, 60), note(0.2, 5, 64, 3)});
    addTrack(PlayType::RightHand, 2, {note(0, 5, 67)}, 10);
    start(0);
    run(90);
    frame({ScanA, ScanS}); // the player holds two keys
    EXPECT_EQ(frame({ScanA, ScanS, ScanEscape}), GoToMenu);
    game->render();
    game->leave();
    EXPECT_FALSE(anyNoteSounding());
    EXPECT_EQ(app.sound.counts.soundingTotal, 0);
    for (const auto& owners : app.piano.keyOwners) EXPECT_EQ(owners.size(), 1u);
    // Every key and channel that got a note-on ends on a note-off.
    std::map<int, bool> on;
    for (const Sent& s : sent)
        on[(s.message[0] & 0x0F) * 128 + s.message[1]] = (s.message[0] & 0xF0) == 0x90;
    EXPECT_EQ(on.size(), 5u);
    for (const auto& [keyChannel, sounding] : on) EXPECT_FALSE(sounding) << keyChannel;
}

// The screen is queued in its order: lanes, notes, keys, then the HUD's bookmarks, progress bar,
// clock and status lines.
TEST_F(Play, RenderQueuesTheScreenInOrder) {
    addTrack(PlayType::Displayed, 1, {note(0, 1, 60), note(0.5, 1, 64)}, 100);
    start();
    run(70);
    frame({ScanLeftShift, Scan1});
    emptyQueues();
    game->render();

    const int32_t pixel = loadTexture("Pixel.png"), white = loadTexture("NoteWhite.png");
    const int32_t mid = loadTexture("NoteMid.png"), bar = loadTexture("BookmarkBar.png");
    const std::vector<SpriteCommand>& queue = spriteQueue();
    auto firstOf = [&](int32_t texture, size_t from = 0) {
        for (size_t i = from; i < queue.size(); ++i)
            if (queue[i].textureIndex == texture) return i;
        return queue.size();
    };
    const size_t lanes = firstOf(pixel), notes = firstOf(mid), keys = firstOf(white);
    const size_t marks = firstOf(bar), progress = firstOf(pixel, marks);
    EXPECT_EQ(lanes, 0u);
    EXPECT_LT(lanes, notes);
    EXPECT_LT(notes, keys);
    EXPECT_LT(keys, marks);
    EXPECT_LT(marks, progress);
    EXPECT_LT(progress, queue.size());

    const std::vector<TextCommand>& texts = textQueue();
    ASSERT_EQ(texts.size(), 7u); // bookmark number, clock, five status lines
    EXPECT_EQ(texts[0].text, u"1");
    EXPECT_EQ(texts[1].y, 19.0f);
    EXPECT_EQ(texts[2].text, u"Screen Notes: 2");
    EXPECT_EQ(texts[6].y, 120.0f);
}

} // namespace
