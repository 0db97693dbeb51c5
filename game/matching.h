#pragma once
// Whether a press fits the play: the player's tracks of the play mode, and a falling note of
// theirs that sounds or is about to start on the pressed key.
#include <cstdint>
#include <vector>

#include "songs/song.h"

// What matching reads of the play in progress.
struct PlayContext {
    const std::vector<Track>* tracks = nullptr;
    int32_t playMode = 0; // 0 left hand, 1 right hand, 2 both hands, 3 watch and listen
    double songTime = 0;  // seconds
};

// Whether the player plays a track of this play type in this play mode: mode 0 or 1 the tracks
// of that hand, mode 2 both hands' tracks, any other mode none.
bool isPlayersTrack(int32_t playMode, PlayType playType);

struct MatchResult {
    bool matched = false;
    uint8_t colour = 0; // the matched track's colour
};
// Whether a press of key fits a sounding note of the player's tracks, or one of their upcoming
// notes due to start less than 0.25 song seconds away.
MatchResult matchKey(const PlayContext& play, uint8_t key);
// What the press keeps for the keyboard view: the matched colour, or 0.
uint8_t pressResult(const PlayContext& play, uint8_t key);
