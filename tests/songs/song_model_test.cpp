#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "songs/song.h"

namespace {

Track trackWithStarts(const std::vector<double>& starts) {
    Track t;
    for (double s : starts) t.notes.push_back({s, 0.5, 0, 60, 100});
    return t;
}

uint32_t search(const std::vector<double>& starts, float t) {
    Track track = trackWithStarts(starts);
    track.cursor = 999;
    searchTrack(track, t);
    return track.cursor;
}

TEST(SongModel, NewTrackDefaultsAndPlayTypeNames) {
    Track t;
    EXPECT_EQ(t.cursor, 0u);
    EXPECT_EQ(t.number, 0u);
    EXPECT_EQ(t.colour, 0u);
    EXPECT_EQ(t.length, 0.0f);
    EXPECT_EQ(t.lowestKey, 128);
    EXPECT_EQ(t.highestKey, 0);
    EXPECT_EQ(t.playType, PlayType::Displayed);
    EXPECT_TRUE(t.notes.empty() && t.upcoming.empty() && t.sounding.empty() && t.ended.empty());

    EXPECT_EQ(std::string(playTypeNames[uint32_t(PlayType::LeftHand)]), "Left Hand");
    EXPECT_EQ(std::string(playTypeNames[uint32_t(PlayType::RightHand)]), "Right Hand");
    EXPECT_EQ(std::string(playTypeNames[uint32_t(PlayType::Displayed)]), "Displayed");
    EXPECT_EQ(std::string(playTypeNames[uint32_t(PlayType::Hidden)]), "Hidden");
    EXPECT_EQ(std::string(playTypeNames[uint32_t(PlayType::Muted)]), "Muted");
}

TEST(SongModel, ClearEmptiesEverythingButTheDivision) {
    Song song;
    song.ticksPerQuarter = 480;
    song.midiSource.bytes = {1, 2, 3};
    song.trackChunks.push_back({0, 3});
    song.tempoMap.push_back({0, 60, 0});
    song.tempoMapComplete = true;
    song.tracks.resize(3);
    clear(song);
    EXPECT_TRUE(song.trackChunks.empty());
    EXPECT_TRUE(song.midiSource.bytes.empty());
    EXPECT_TRUE(song.tempoMap.empty());
    EXPECT_FALSE(song.tempoMapComplete);
    EXPECT_TRUE(song.tracks.empty());
    EXPECT_EQ(song.ticksPerQuarter, 480);
}

TEST(TrackSearch, EmptyTrackKeepsItsCursor) {
    Track t;
    t.cursor = 7;
    searchTrack(t, 3.0f);
    EXPECT_EQ(t.cursor, 7u);
}

TEST(TrackSearch, ProbeOrderDecidesBetweenNeighbours) {
    const std::vector<double> starts{0, 1, 2, 3};
    EXPECT_EQ(search(starts, 1.5f), 1u);
    EXPECT_EQ(search(starts, 2.0f), 1u); // the note before the one starting exactly at t
    EXPECT_EQ(search(starts, 2.5f), 2u);
    EXPECT_EQ(search(starts, 1.0f), 1u);
}

TEST(TrackSearch, BeforeFirstAndAfterLastNote) {
    EXPECT_EQ(search({0, 1, 2, 3}, -5.0f), 0u);
    EXPECT_EQ(search({1, 2, 3}, 0.5f), 0u);
    EXPECT_EQ(search({0, 1, 2, 3}, 100.0f), 3u);
    EXPECT_EQ(search({0, 1, 3, 3, 3}, 100.0f), 2u); // first of the notes sharing the last start
    EXPECT_EQ(search({4}, 1.0f), 0u);
    EXPECT_EQ(search({4}, 9.0f), 0u);
}

TEST(TrackSearch, WalksBackToFirstOfEqualStarts) {
    EXPECT_EQ(search({0, 1, 1, 1, 2}, 1.5f), 1u);
    EXPECT_EQ(search({1, 1, 1, 1}, 1.0f), 0u);
}

} // namespace
