#pragma once
// Whether a press fits the play: the player's tracks of the play mode, and a falling note of
// theirs that sounds or is about to start on the pressed key.
#include <cstdint>
#include <vector>

#include "app/play_mode.h"
#include "songs/song.h"

// A press matches a note that starts less than this many song seconds from it.
constexpr double pressWindow = 0.25;

// What matching reads of the play in progress.
struct PlayContext {
    const std::vector<Track>* tracks = nullptr;
    PlayMode playMode = PlayMode::PlayLeftHand;
    double songTime = 0; // seconds
};

// Whether the player plays a track of this play type in this play mode: one hand's tracks, both
// hands' tracks, or none (watch and listen, or a mode that is none of the four).
bool isPlayersTrack(PlayMode playMode, PlayType playType);

struct MatchResult {
    bool matched = false;
    uint8_t colour = 0; // the matched track's colour
};
// Whether a press of key fits a sounding note of the player's tracks, or one of their upcoming
// notes due to start less than 0.25 song seconds away.
MatchResult matchKey(const PlayContext& play, uint8_t key);
// What the press keeps for the keyboard view: the matched colour, or 0.
uint8_t pressResult(const PlayContext& play, uint8_t key);
