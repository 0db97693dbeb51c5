// The practice aids on their own: the groups Wait for Me stops at, the loop and its speed
// trainer, and the counts of a pass, driven by scripted presses and a stepped clock.
#include <gtest/gtest.h>

#include "game/pass_stats.h"
#include "game/practice_loop.h"
#include "game/wait_for_me.h"

namespace {

constexpr double step = 1.0 / 60;

Note note(double start, uint8_t key, double duration = 0.5) {
    Note n;
    n.start = start;
    n.duration = duration;
    n.key = key;
    return n;
}

Track track(PlayType type, std::vector<Note> notes, uint32_t number = 0) {
    Track t;
    t.playType = type;
    t.number = number;
    t.notes = std::move(notes);
    return t;
}

// The clock stepped a frame at a time until it stops moving or reaches until.
double runClock(WaitForMe& wait, double t, double until) {
    while (t < until) {
        const double next = waitClock(wait, t, t + step);
        if (next == t) break;
        t = next;
    }
    return t;
}

// The lists as the play keeps them at t: on screen two seconds ahead, sounding, ended.
void listAt(std::vector<Track>& tracks, double t) {
    for (Track& tr : tracks) {
        tr.upcoming.clear();
        tr.sounding.clear();
        tr.ended.clear();
        for (uint32_t i = 0; i < tr.notes.size(); ++i) {
            const Note& n = tr.notes[i];
            if (n.start + n.duration <= t)
                tr.ended.push_back(i);
            else if (n.start <= t)
                tr.sounding.push_back(i);
            else if (n.start - t < 2.0)
                tr.upcoming.push_back(i);
        }
    }
}

} // namespace

TEST(WaitForMe, AChordHoldsTheClockUntilItsLastKeyAndOnlyPressesInTheWindowCount) {
    // A chord spread over 0.03 s is one group; a note 0.06 after its first is the next.
    std::vector<Track> tracks{
        track(PlayType::RightHand, {note(2.0, 60), note(2.03, 67), note(2.0, 64), note(3.0, 72)}),
        track(PlayType::LeftHand, {note(2.06, 48)}), track(PlayType::Displayed, {note(1.0, 30)})};
    WaitForMe wait;
    prepareWaitForMe(wait, tracks, {0, 1}, -1.0);

    double t = runClock(wait, -1.0, 10);
    EXPECT_TRUE(wait.holding);
    EXPECT_LT(t, 2.0);
    EXPECT_GT(t, 2.0 - step);
    EXPECT_TRUE(pressForWait(wait, 60, t));
    EXPECT_FALSE(pressForWait(wait, 61, t)); // a wrong key neither counts nor blocks
    EXPECT_TRUE(pressForWait(wait, 64, t));
    EXPECT_FALSE(pressForWait(wait, 64, t + 0.5)); // nothing wants it in the window
    ASSERT_EQ(wantedNotes(wait).size(), 1u);
    EXPECT_EQ(wantedNotes(wait)[0].key, 67);
    EXPECT_EQ(waitClock(wait, t, t + step), t);
    EXPECT_TRUE(pressForWait(wait, 67, t));
    // Complete: the clock goes on from where it stood, to the left hand's note just after.
    EXPECT_DOUBLE_EQ(waitClock(wait, t, t + 0.01), t + 0.01);
    t = runClock(wait, t + 0.01, 10);
    EXPECT_NEAR(t, 2.06, 0.002);
    EXPECT_EQ(wantedNotes(wait)[0].track, 1u);
    EXPECT_TRUE(pressForWait(wait, 48, t));

    // 0.3 s early does not count (the key may stay held: it never counts again), 0.2 s does.
    t = runClock(wait, t, 2.7);
    EXPECT_FALSE(pressForWait(wait, 72, 2.7));
    EXPECT_TRUE(pressForWait(wait, 72, 2.8));
    EXPECT_GE(runClock(wait, 2.8, 3.5), 3.5);
    EXPECT_FALSE(wait.holding);

    // A jump back forgets what was gathered: the chord wants all three keys again.
    placeWaitForMe(wait, 1.5);
    t = runClock(wait, 1.5, 10);
    EXPECT_NEAR(t, 2.0, 0.002);
    EXPECT_EQ(wantedNotes(wait).size(), 3u);

    // Without notes of the player's the clock never waits.
    WaitForMe none;
    prepareWaitForMe(none, tracks, {}, -1.0);
    EXPECT_GE(runClock(none, -1.0, 5.0), 5.0);
}

TEST(WaitForMe, APressCountsForTheEarliestGroupThatWantsItOnly) {
    std::vector<Track> tracks{track(PlayType::RightHand, {note(2.0, 60), note(2.1, 60)})};
    WaitForMe wait;
    prepareWaitForMe(wait, tracks, {0}, 0.0);
    EXPECT_TRUE(pressForWait(wait, 60, 1.9));
    const double t = runClock(wait, 1.9, 10);
    EXPECT_NEAR(t, 2.1, 0.002);
    EXPECT_TRUE(pressForWait(wait, 60, t));
    EXPECT_GT(waitClock(wait, t, t + step), t);
}

TEST(PracticeLoop, TheLoopNeedsAnEndAfterItsStartAndTheTrainerClimbsItsLadder) {
    PracticeLoop loop;
    EXPECT_EQ(loopStatusLine(loop), "[ [ ] ] Loop: off");
    loop.hasStart = true;
    loop.start = 12.5;
    EXPECT_EQ(loopStatusLine(loop), "[ [ ] ] Loop: 0:12.5 -");
    EXPECT_FALSE(loopReachesEnd(loop, 100));
    loop.hasEnd = true;
    loop.end = 80.04;
    EXPECT_EQ(loopStatusLine(loop), "[ [ ] ] Loop: 0:12.5 - 1:20.0");
    EXPECT_TRUE(loopReachesEnd(loop, 80.04));
    EXPECT_FALSE(loopReachesEnd(loop, 80.0));
    EXPECT_DOUBLE_EQ(countInTime(loop), 11.5);
    loop.end = 12.5;
    EXPECT_FALSE(loopActive(loop));

    SpeedTrainer trainer;
    trainer.on = true;
    EXPECT_EQ(trainerStatusLine(trainer), "[\\] Speed Trainer: On");
    float speed = 0.9f;
    speed = trainSpeed(trainer, speed, 5, 0);
    EXPECT_FLOAT_EQ(speed, 0.95f);
    speed = trainSpeed(trainer, speed, 5, 0);
    speed = trainSpeed(trainer, speed, 5, 0);
    EXPECT_FLOAT_EQ(speed, 1.0f);
    EXPECT_FLOAT_EQ(trainSpeed(trainer, speed, 4, 1), 1.0f); // one miss keeps it
    EXPECT_EQ(trainerStatusLine(trainer), "[\\] Speed Trainer: On, speed kept at 1.00");
    EXPECT_FLOAT_EQ(trainSpeed(trainer, 1.5f, 5, 0), 1.5f);        // never lowered by a good pass
    EXPECT_FLOAT_EQ(trainSpeed(trainer, 0.0f + 0.1f, 0, 0), 0.1f); // no notes: no verdict
    speed = trainSpeed(trainer, 0.42f, 3, 2);
    EXPECT_FLOAT_EQ(speed, 0.37f);
    EXPECT_EQ(trainerStatusLine(trainer), "[\\] Speed Trainer: On, speed lowered to 0.37");
    speed = trainSpeed(trainer, trainSpeed(trainer, speed, 0, 3), 0, 3);
    EXPECT_FLOAT_EQ(speed, 0.3f);
    EXPECT_FLOAT_EQ(trainSpeed(trainer, 0.2f, 0, 3), 0.2f);
    trainer.on = false;
    EXPECT_EQ(trainerStatusLine(trainer), "[\\] Speed Trainer: Off");
}

TEST(PassStats, AScriptedPerformanceIsCountedPerHand) {
    std::vector<Track> tracks{
        track(PlayType::RightHand, {note(1, 60), note(2, 62), note(3, 64), note(4, 65)}),
        track(PlayType::Displayed, {note(1, 40)}),
        track(PlayType::LeftHand, {note(1, 48), note(3, 50)})};
    PassStats pass;
    preparePass(pass, tracks, {0, 2}, -1.0);
    ASSERT_EQ(pass.tracks.size(), 2u);
    const NoteSpan all;
    // Each press at its time, with the lists as the play has them then; the ends are judged
    // every step.
    const struct {
        double t;
        uint8_t key;
    } presses[] = {{0.9, 60}, {0.95, 48}, {2.1, 62}, {2.5, 70}, {3.0, 50}, {3.9, 65}, {4.1, 65}};
    for (const auto& press : presses) {
        listAt(tracks, press.t);
        passEndedNotes(pass, tracks, all);
        passPress(pass, tracks, press.key, press.t, 1.0f, true, all);
    }
    listAt(tracks, 3.6);
    EXPECT_TRUE(noteDrawnDarker(pass, 0, 2, tracks[0].notes[2], 3.6)); // missed, below the line
    listAt(tracks, 5.0);
    passEndedNotes(pass, tracks, all);
    // 64 was never played; the second 65 fits a note already hit and is not wrong; 70 is
    // nearest the right hand's notes.
    EXPECT_EQ(passLine(pass), "Right Hand 3/4 (1 wrong)  Left Hand 2/2  early 30 ms");
    EXPECT_FALSE(noteDrawnDarker(pass, 0, 0, tracks[0].notes[0], 1.3));

    // A pass through a loop counts only the loop's notes; one ending while a note is due counts
    // it as missed. At half speed 0.1 song s late is 200 ms.
    tracks[0].playType = PlayType::LeftHand; // two left hands: named by number
    tracks[0].number = 1;
    tracks[2].number = 3;
    preparePass(pass, tracks, {0, 2}, 1.0);
    const NoteSpan loop{2.0, 3.5};
    listAt(tracks, 2.1);
    passPress(pass, tracks, 62, 2.1, 0.5f, true, loop);
    passPress(pass, tracks, 60, 2.1, 0.5f, true, loop); // ended: wrong
    listAt(tracks, 3.2);
    EXPECT_TRUE(noteDrawnDarker(pass, 2, 1, tracks[2].notes[1], 3.3));
    const PassTotals totals = endPass(pass, tracks, 3.5, loop, 3.0f);
    EXPECT_EQ(totals.hits, 1u);
    EXPECT_EQ(totals.misses, 2u);
    EXPECT_EQ(shownPassLine(pass), "Track 1 1/2 (1 wrong)  Track 3 0/1  late 200 ms");
    beginPass(pass, 2.5);
    tickPassDisplay(pass, 2.9f);
    EXPECT_EQ(shownPassLine(pass), "Track 1 1/2 (1 wrong)  Track 3 0/1  late 200 ms");
    tickPassDisplay(pass, 0.2f);
    EXPECT_EQ(shownPassLine(pass), "Track 1 0/0  Track 3 0/0");
}
