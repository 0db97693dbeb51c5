// Event times through the whole tempo map, wherever the tempo events sit.
#include <gtest/gtest.h>

#include <cmath>

#include "song_test_support.h"

namespace {

using songtest::convertBytes;
using songtest::readBytes;

TEST(Timing, OneDeltaSpanningSeveralTempoChanges) {
    smf::Track tempo, notes;
    tempo.tempoBpm(96, 60);  // tick 96 (0.5 s at 120)
    tempo.tempoBpm(96, 240); // tick 192 (1 s later at 60)
    tempo.tempoBpm(48, 30);  // tick 240 (0.125 s later at 240)
    notes.noteOn(0, 0, 60, 100);
    notes.noteOff(288, 0, 60); // tick 288: 48 ticks at 30 bpm = 1 s more
    auto song = readBytes(smf::file(1, 96, {tempo, notes}));
    const auto events = decodeTrack(*song, 1);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_NEAR(events[1].delta, 0.5 + 1.0 + 0.125 + 1.0, 1e-12);

    convertTracks(*song);
    ASSERT_EQ(song->tracks.size(), 1u);
    EXPECT_NEAR(song->tracks[0].notes[0].duration, 2.625, 1e-12);
}

TEST(Timing, TempoEventsInALaterTrackTimeTheEarlierOnes) {
    smf::Track notes, other, tempo;
    notes.noteOn(96, 0, 60, 100); // tick 96: 1 s at 60 bpm
    notes.noteOff(192, 0, 60);    // tick 288: 1 s more, then 96 ticks at 120 = 0.5 s
    other.noteOn(0, 1, 40, 80);
    other.noteOff(384, 1, 40);
    tempo.text(0, 0x03, "Tempo");
    tempo.tempoBpm(0, 60);
    tempo.tempoBpm(192, 120);
    auto song = convertBytes(smf::file(1, 96, {notes, other, tempo}));
    ASSERT_EQ(song->tracks.size(), 2u);
    const Note& n = song->tracks[0].notes[0];
    EXPECT_NEAR(n.start, 1.0, 1e-12);
    EXPECT_NEAR(n.duration, 1.5, 1e-12);
    EXPECT_NEAR(song->tracks[1].notes[0].duration, 3.0, 1e-12);
    EXPECT_FLOAT_EQ(song->tracks[0].length, 2.5f);
}

// 100,000 short events after a conductor track of many tempo changes: the last note starts within
// a microsecond of its exact time, which a single-precision running time misses by far.
TEST(Timing, LongTrackOfShortEventsKeepsItsTime) {
    const uint16_t division = 480;
    smf::Track conductor, notes;
    // Tempo changes every 1000 ticks, cycling through values that are not powers of two.
    const uint32_t tempos[] = {500000, 432917, 612345, 377777, 555555};
    const uint32_t tempoStep = 1000;
    const uint32_t tempoCount = 200;
    for (uint32_t i = 0; i < tempoCount; ++i)
        conductor.tempo(i == 0 ? 0 : tempoStep, tempos[i % 5]);
    notes.runningStatus = true;
    const uint32_t eventCount = 100000;
    for (uint32_t i = 0; i < eventCount / 2; ++i) {
        notes.noteOn(i == 0 ? 0 : 3, 0, uint8_t(40 + i % 40), 90);
        notes.noteOn(1, 0, uint8_t(40 + i % 40), 0);
    }
    auto song = convertBytes(smf::file(1, division, {conductor, notes}));
    ASSERT_EQ(song->tracks.size(), 1u);
    const std::vector<Note>& result = song->tracks[0].notes;
    ASSERT_EQ(result.size(), eventCount / 2);

    // Exact time in integer microsecond-ticks: the sum over tempo segments of ticks x us per
    // quarter, divided by the division.
    const uint64_t lastTick = uint64_t(eventCount / 2 - 1) * 4;
    uint64_t microTicks = 0;
    uint64_t tick = 0;
    uint32_t current = 500000;
    for (uint32_t i = 0; i < tempoCount && uint64_t(i) * tempoStep <= lastTick; ++i) {
        microTicks += (uint64_t(i) * tempoStep - tick) * current;
        tick = uint64_t(i) * tempoStep;
        current = tempos[i % 5];
    }
    microTicks += (lastTick - tick) * current;
    const long double exact = (long double)microTicks / division / 1e6L;
    EXPECT_NEAR(double(result.back().start), double(exact), 1e-6);
    EXPECT_GT(exact, 100.0L); // long enough for float accumulation to drift

    // Every duration is one tick at the tempo of its place; none is negative or lost.
    for (const Note& n : result) ASSERT_GT(n.duration, 0.0);
}

TEST(Timing, SameFileConvertsToIdenticalBytesEveryTime) {
    smf::Track a, b, c, tempo;
    for (int i = 0; i < 400; ++i) {
        a.noteOn(7, 0, uint8_t(60 + i % 12), 100);
        a.noteOff(13, 0, uint8_t(60 + i % 12));
        b.noteOn(5, 1, uint8_t(36 + i % 7), 70);
        b.noteOff(11, 1, uint8_t(36 + i % 7));
        c.noteOn(3, 2, uint8_t(72 + i % 5), 50);
        c.noteOff(3, 2, uint8_t(72 + i % 5));
        tempo.tempo(17, uint32_t(400000 + 997 * (i % 101)));
    }
    // The tempo track last, so a schedule-dependent reader would time the others differently.
    const auto file = smf::file(1, 192, {a, b, c, tempo});
    const auto reference = songtest::songFileBytes(*convertBytes(file));
    for (int run = 0; run < 40; ++run) {
        ASSERT_EQ(songtest::songFileBytes(*convertBytes(file)), reference) << "run " << run;
    }
}

} // namespace
