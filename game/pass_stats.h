#pragma once
// What a pass says: per player's track the notes hit, the notes missed, the presses that matched
// nothing, and how early or late the hits came.
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "songs/song.h"

enum class NoteMark : uint8_t { Open, Hit, Missed };

struct TrackPass {
    uint32_t track = 0; // index in the song's tracks
    std::string name;   // "Right Hand", "Left Hand", or "Track N" where two share a hand
    uint32_t hits = 0, misses = 0, wrong = 0;
    double timingSum = 0; // milliseconds of the timed hits; negative is early
    uint32_t timed = 0;
};

// The notes a pass counts: those starting from `from` up to before `to`.
struct NoteSpan {
    double from = -std::numeric_limits<double>::infinity();
    double to = std::numeric_limits<double>::infinity();
};

struct PassStats {
    std::vector<TrackPass> tracks;            // the player's tracks in song order
    std::vector<std::vector<NoteMark>> marks; // per song track and note; empty for the others
    double beganAt = 0;                       // song time the running pass began at
    std::string lastLine;                     // the last pass's figures, kept on screen a while
    float lastShownFor = 0;                   // real seconds left
};

struct PassTotals {
    uint32_t hits = 0, misses = 0;
};

// Sets up the counts for the player's tracks (indices into tracks) and begins a pass at t.
void preparePass(PassStats& pass, const std::vector<Track>& tracks,
                 const std::vector<uint32_t>& playerTracks, double t);
// A new pass from t: every count and mark back to nothing.
void beginPass(PassStats& pass, double t);
// A press of key at song time t, matched as the keys are coloured: a note of that key sounding in
// a player's track, or due within the matching window. The first open note so found is a hit,
// timed in real milliseconds (the song time's difference over the speed) unless timed is false;
// a press that fits no note at all is a wrong press of the track whose listed notes lie nearest.
void passPress(PassStats& pass, const std::vector<Track>& tracks, uint8_t key, double t,
               float speed, bool timed, const NoteSpan& span);
// Notes of the span that ended without a hit are missed.
void passEndedNotes(PassStats& pass, const std::vector<Track>& tracks, const NoteSpan& span);
// The pass ends with the clock at t: the span's notes begun by then and still open are missed.
// Its figures stay on show for showSeconds; returns the totals over its tracks.
PassTotals endPass(PassStats& pass, const std::vector<Track>& tracks, double t,
                   const NoteSpan& span, float showSeconds);
PassTotals passTotals(const PassStats& pass);

// "Right Hand 42/45  Left Hand 30/38  early 23 ms": hits over the notes due so far, the wrong
// presses where there were any, and the mean timing of the hits.
std::string passLine(const PassStats& pass);
// What the screen shows: the last pass's figures while they last, else the running pass.
std::string shownPassLine(const PassStats& pass);
void tickPassDisplay(PassStats& pass, float dt);

// A note of the player's drawn darker: missed, or begun more than the matching window ago and
// not hit while it still sounds.
bool noteDrawnDarker(const PassStats& pass, uint32_t track, uint32_t noteIndex, const Note& note,
                     double songTime);
