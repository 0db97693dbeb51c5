// Matching a press against the falling notes of the player's tracks.
#include "game/matching.h"

#include <gtest/gtest.h>

namespace {

class Matching : public ::testing::Test {
  protected:
    void SetUp() override {
        play.tracks = &tracks;
        play.playMode = PlayMode::PlayRightHand;
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

    std::vector<Track> tracks;
    PlayContext play;
};

} // namespace

TEST_F(Matching, UpcomingNotesMatchOnlyWithinAQuarterSecond) {
    addTrack(PlayType::RightHand, 3, {{60, 1.0}, {60, 1.3}});
    EXPECT_TRUE(matchesAt(0.8, 60));
    EXPECT_EQ(matchKey(play, 60).colour, 3);
    EXPECT_FALSE(matchesAt(0.75, 60)); // exactly 0.25 away
    EXPECT_FALSE(matchesAt(0.7, 60));
    EXPECT_FALSE(matchesAt(0.8, 61));
    // A note exactly 0.25 behind does not match, but the next one of the key still may.
    EXPECT_TRUE(matchesAt(1.25, 60));
}

TEST_F(Matching, SoundingNotesMatchAndEndedOnesDoNot) {
    Track& track = addTrack(PlayType::RightHand, 2, {{60, 0.0}, {62, 0.0}});
    track.upcoming.clear();
    track.sounding = {0};
    track.ended = {1};
    EXPECT_TRUE(matchesAt(50.0, 60)); // however long ago it started
    EXPECT_FALSE(matchesAt(0.1, 62));
    track.sounding = {7}; // an index past the notes is ignored
    EXPECT_FALSE(matchesAt(0.1, 60));
}

TEST_F(Matching, OnlyThePlayersTracksMatch) {
    addTrack(PlayType::LeftHand, 1, {{40, 1.0}});
    addTrack(PlayType::Displayed, 4, {{41, 1.0}});
    addTrack(PlayType::RightHand, 5, {{40, 1.0}, {42, 1.0}});
    play.playMode = PlayMode::PlayLeftHand;
    play.songTime = 1.0;
    EXPECT_EQ(matchKey(play, 40).colour, 1); // first track in order
    EXPECT_FALSE(matchesAt(1.0, 42));
    play.playMode = PlayMode::PlayBothHands;
    EXPECT_TRUE(matchesAt(1.0, 42));
    EXPECT_FALSE(matchesAt(1.0, 41));
    play.playMode = PlayMode::WatchAndListen;
    EXPECT_FALSE(matchesAt(1.0, 40));
    EXPECT_FALSE(matchesAt(1.0, 42));

    EXPECT_TRUE(isPlayersTrack(PlayMode::PlayRightHand, PlayType::RightHand));
    EXPECT_FALSE(isPlayersTrack(PlayMode::PlayRightHand, PlayType::LeftHand));
    EXPECT_FALSE(isPlayersTrack(PlayMode::PlayBothHands, PlayType::Displayed));
    EXPECT_FALSE(isPlayersTrack(static_cast<PlayMode>(7), PlayType::LeftHand));
}
