#pragma once
// Wait for Me: the clock stops at each group of the player's notes until every key of the group
// has been pressed, and goes on from the same time once it has.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "game/matching.h"
#include "songs/song.h"

// The player's notes that start within this many song seconds of the earliest form one group.
constexpr double groupTolerance = 0.05;
// A press counts for a group starting less than pressWindow song seconds after it (the
// matching window), or while the clock waits for it.

struct WaitNote {
    double start = 0;
    uint8_t key = 0;
    uint32_t track = 0; // index in the song's tracks
    bool pressed = false;
};

struct WaitForMe {
    std::vector<WaitNote> notes; // the player's notes in start order
    size_t group = 0;            // first note of the first group the clock has not passed
    bool holding = false;        // the clock stood at the group in the last step
};

// Takes the notes of the player's tracks (indices into tracks) and places the groups at t.
void prepareWaitForMe(WaitForMe& wait, const std::vector<Track>& tracks,
                      const std::vector<uint32_t>& playerTracks, double t);
// After a jump of the clock to t: the first group is the first starting after t, and the
// presses gathered so far are forgotten.
void placeWaitForMe(WaitForMe& wait, double t);
// A press of key (after the octave shift) at song time t. It counts for the earliest group that
// still wants that key within the window; false when no group wanted it.
bool pressForWait(WaitForMe& wait, uint8_t key, double t);
// Where the clock may move from now towards proposed: at most to just before the start of the
// first group that is not complete, so that none of the notes from there on starts.
double waitClock(WaitForMe& wait, double now, double proposed);
// The notes of the group waited for whose keys are still wanted; empty unless the clock waits.
std::vector<WaitNote> wantedNotes(const WaitForMe& wait);
