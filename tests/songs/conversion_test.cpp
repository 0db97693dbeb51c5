#include <gtest/gtest.h>

#include <thread>

#include "song_test_support.h"

namespace {

using songtest::convertBytes;

struct ShareCase {
    uint32_t tracks;
    uint32_t workers;
    std::vector<std::pair<uint32_t, uint32_t>> shares; // first, end
};

TEST(WorkerShares, ExactContiguousShares) {
    const std::vector<ShareCase> cases{
        {5, 4, {{0, 2}, {2, 3}, {3, 4}, {4, 5}}},
        {2, 8, {{0, 1}, {1, 2}, {2, 2}, {2, 2}, {2, 2}, {2, 2}, {2, 2}, {2, 2}}},
        {0, 3, {{0, 0}, {0, 0}, {0, 0}}},
        {7, 1, {{0, 7}}},
        {9, 3, {{0, 3}, {3, 6}, {6, 9}}},
    };
    for (const ShareCase& c : cases) {
        const auto shares = workerShares(c.tracks, c.workers);
        ASSERT_EQ(shares.size(), c.shares.size());
        for (size_t j = 0; j < shares.size(); ++j) {
            EXPECT_EQ(shares[j].first, c.shares[j].first)
                << c.tracks << "/" << c.workers << " " << j;
            EXPECT_EQ(shares[j].end, c.shares[j].second)
                << c.tracks << "/" << c.workers << " " << j;
        }
    }
    EXPECT_TRUE(workerShares(3, 0).empty());
}

// One worker per hardware thread: a count fixed at 1 would leave all but one core idle.
TEST(WorkerShares, OneWorkerPerHardwareThread) {
    const unsigned threads = std::thread::hardware_concurrency();
    EXPECT_EQ(conversionWorkerCount(), threads == 0 ? 1u : threads);
}

smf::Track noteTrack(uint8_t key, int notes = 1) {
    smf::Track t;
    for (int i = 0; i < notes; ++i) {
        t.noteOn(0, 0, key, 100);
        t.noteOff(96, 0, key);
    }
    return t;
}

TEST(Conversion, NoTracks) {
    Song song;
    song.tracks.resize(2); // left from an earlier song
    convertTracks(song);
    EXPECT_TRUE(song.tracks.empty());
}

TEST(Conversion, TempoOnlyFirstTrackIsRemoved) {
    smf::Track tempo;
    tempo.text(0, 0x03, "Conductor");
    tempo.tempoBpm(0, 100);
    tempo.endOfTrack();
    auto song = convertBytes(smf::file(1, 96, {tempo, noteTrack(60)}));
    ASSERT_EQ(song->tracks.size(), 1u);
    EXPECT_EQ(song->tracks[0].number, 0u);
    EXPECT_EQ(song->tracks[0].colour, 1u);
    EXPECT_EQ(song->tracks[0].playType, PlayType::Displayed);
}

TEST(Conversion, TwoRemainingTracksBecomeRightAndLeftHand) {
    smf::Track empty;
    empty.endOfTrack();
    auto song = convertBytes(smf::file(1, 96, {noteTrack(72), empty, noteTrack(48)}));
    ASSERT_EQ(song->tracks.size(), 2u);
    EXPECT_EQ(song->tracks[0].playType, PlayType::RightHand);
    EXPECT_EQ(song->tracks[1].playType, PlayType::LeftHand);
    EXPECT_EQ(song->tracks[1].number, 1u);
    EXPECT_EQ(song->tracks[1].notes[0].key, 48);
}

TEST(Conversion, SevenTracksAreNumberedAndColouredInOrder) {
    std::vector<smf::Track> tracks;
    for (uint8_t i = 0; i < 7; ++i) tracks.push_back(noteTrack(uint8_t(60 + i)));
    auto song = convertBytes(smf::file(1, 96, tracks));
    ASSERT_EQ(song->tracks.size(), 7u);
    const uint32_t colours[] = {1, 2, 3, 4, 5, 1, 2};
    for (uint32_t i = 0; i < 7; ++i) {
        EXPECT_EQ(song->tracks[i].number, i);
        EXPECT_EQ(song->tracks[i].colour, colours[i]);
        EXPECT_EQ(song->tracks[i].playType, PlayType::Displayed);
        EXPECT_EQ(song->tracks[i].notes[0].key, 60 + i); // tracks keep file order
    }
}

TEST(Conversion, ManyTracksOverAnyNumberOfWorkers) {
    std::vector<smf::Track> tracks;
    for (int i = 0; i < 37; ++i)
        tracks.push_back(i % 4 == 3 ? smf::Track() : noteTrack(uint8_t(i), i + 1));
    const std::vector<uint8_t> file = smf::file(1, 96, tracks);
    for (const uint32_t workers : {conversionWorkerCount(), 0u, 1u, 2u, 5u, 37u, 60u}) {
        SCOPED_TRACE(workers);
        auto song = songtest::readBytes(file);
        convertTracks(*song, workers);
        ASSERT_EQ(song->tracks.size(), 28u);
        uint32_t position = 0;
        for (int i = 0; i < 37; ++i) {
            if (i % 4 == 3) continue;
            const Track& t = song->tracks[position];
            EXPECT_EQ(t.notes.size(), size_t(i + 1));
            EXPECT_EQ(t.notes[0].key, i);
            EXPECT_EQ(t.number, position);
            ++position;
        }
    }
}

// The events of one track chunk, converted alone.
std::unique_ptr<Song> convertOne(const smf::Track& t) {
    return convertBytes(smf::file(0, 96, {t}));
}

TEST(Pairing, OverlappingNoteOnsOfOneKeyEndTogether) {
    smf::Track t;
    t.noteOn(0, 0, 60, 100);
    t.noteOn(192, 0, 60, 90);
    t.noteOff(192, 0, 60);
    auto song = convertOne(t);
    ASSERT_EQ(song->tracks.size(), 1u);
    const auto& notes = song->tracks[0].notes;
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_DOUBLE_EQ(notes[0].start, 0.0);
    EXPECT_DOUBLE_EQ(notes[0].duration, 2.0);
    EXPECT_EQ(notes[0].velocity, 100);
    EXPECT_DOUBLE_EQ(notes[1].start, 1.0);
    EXPECT_DOUBLE_EQ(notes[1].duration, 1.0);
    EXPECT_EQ(notes[1].velocity, 90);
}

TEST(Pairing, EndingEventGivesTheChannelAndAnyChannelEnds) {
    smf::Track t;
    t.noteOn(0, 0, 60, 100);
    t.noteOn(0, 9, 62, 100);
    t.noteOff(96, 3, 60);
    t.noteOn(0, 4, 62, 0); // a velocity-0 note-on ends too
    auto song = convertOne(t);
    const auto& notes = song->tracks[0].notes;
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].channel, 3);
    EXPECT_EQ(notes[1].channel, 4);
    EXPECT_DOUBLE_EQ(notes[1].duration, 0.5);
}

TEST(Pairing, UnendedNoteOnsAreLeftOut) {
    smf::Track t;
    t.noteOn(0, 0, 30, 100); // never ended
    t.noteOn(96, 0, 60, 100);
    t.noteOff(96, 0, 60);
    t.noteOn(0, 0, 90, 100); // never ended either
    t.endOfTrack(96);
    auto song = convertOne(t);
    const Track& track = song->tracks[0];
    ASSERT_EQ(track.notes.size(), 1u);
    EXPECT_EQ(track.notes[0].key, 60);
    EXPECT_DOUBLE_EQ(track.notes[0].start, 0.5);
    EXPECT_EQ(track.lowestKey, 60); // unended keys leave the range alone
    EXPECT_EQ(track.highestKey, 60);
    EXPECT_FLOAT_EQ(track.length, 1.5f); // the end-of-track event, after the last note

    smf::Track onlyUnended;
    onlyUnended.noteOn(0, 0, 60, 100);
    EXPECT_TRUE(convertOne(onlyUnended)->tracks.empty());
}

TEST(Pairing, WorkingTrackBeforeCompaction) {
    smf::Track t;
    t.noteOn(0, 0, 60, 100);
    auto song = songtest::readBytes(smf::file(0, 96, {t}));
    song->tracks.resize(1);
    convertTrack(*song, 0);
    EXPECT_TRUE(song->tracks[0].notes.empty());
    EXPECT_EQ(song->tracks[0].lowestKey, 128);
    EXPECT_EQ(song->tracks[0].highestKey, 0);
    convertTrack(*song, 5); // no such chunk: nothing happens
    EXPECT_EQ(song->tracks.size(), 1u);
}

TEST(Pairing, KeyRangeAndNoteOrder) {
    smf::Track t;
    t.noteOn(0, 0, 72, 100);
    t.noteOn(0, 0, 48, 100);
    t.noteOn(10, 0, 60, 100);
    t.noteOff(10, 0, 60);
    t.noteOff(10, 0, 72);
    t.noteOff(10, 0, 48);
    auto song = convertOne(t);
    const Track& track = song->tracks[0];
    ASSERT_EQ(track.notes.size(), 3u);
    EXPECT_EQ(track.notes[0].key, 72); // in note-on order, not ending order
    EXPECT_EQ(track.notes[1].key, 48);
    EXPECT_EQ(track.notes[2].key, 60);
    EXPECT_EQ(track.lowestKey, 48);
    EXPECT_EQ(track.highestKey, 72);
}

TEST(Pairing, DamagedKeyByteIsMatchedAsReadAndStoredAs127) {
    // Data bytes above 127 are taken as they come; the key is limited to 127 when stored.
    auto song = convertBytes(songtest::oneTrackFile({0, 0x90, 0xA0, 50, 0, 0x90, 0x7F, 50, //
                                                     10, 0x80, 0xA0, 0}));
    ASSERT_EQ(song->tracks.size(), 1u);
    ASSERT_EQ(song->tracks[0].notes.size(), 1u);
    EXPECT_EQ(song->tracks[0].notes[0].key, 127);
}

TEST(Pairing, ThousandsOfOpenNotesEndAtOnce) {
    smf::Track t;
    t.runningStatus = true;
    for (int i = 0; i < 20000; ++i) t.noteOn(1, 0, 60, 100);
    for (int i = 0; i < 20000; ++i) t.noteOn(1, 0, 61, 100);
    t.noteOff(1, 2, 60);
    auto song = convertOne(t);
    const auto& notes = song->tracks[0].notes;
    ASSERT_EQ(notes.size(), 20000u);
    EXPECT_NEAR(notes[0].duration, 40000 / 192.0, 1e-9);
    EXPECT_NEAR(notes.back().duration, 20001 / 192.0, 1e-9);
    EXPECT_EQ(notes.back().channel, 2);
}

} // namespace
