#pragma once
// The play's way of moving notes through each track's lists: a note comes on screen (upcoming),
// starts when its lower end reaches the hit line (sounding), ends when its upper end does
// (ended), and leaves once its drawn image, late by the latency, has passed the hit line. The
// computer sounds the notes of the tracks it plays as they start and end.
#include <cstdint>
#include <vector>

#include "app/play_mode.h"
#include "songs/song.h"

struct PianoState;
struct SoundState;

// Where notes stand on screen: one song second is noteSpread x verticalScale pixels, and a
// note's lower end is at the hit line when the time reaches its start.
struct NoteScreen {
    float noteSpread = 400;
    float verticalScale = 1;
    int32_t hitLine = 0;
};

// y of the note's lower and upper end at time t, in frame pixels (y grows downwards).
float noteBottom(const NoteScreen& screen, const Note& note, double t);
float noteTop(const NoteScreen& screen, const Note& note, double t);
// y of a mark at time mark (a bookmark): where a note starting then has its lower end.
float timeMarkY(const NoteScreen& screen, double mark, double t);

// Tracks whose notes are drawn and counted on screen: neither Hidden nor Muted.
bool trackDrawn(const Track& track);

// The computer plays every track that takes part (is not Muted) and is not the player's.
bool computerPlaysTrack(PlayMode playMode, PlayType playType);

// One frame of the lists over every track that is not Muted, each step over all tracks before
// the next: expiry at the display time, then note ends, note starts and notes coming on screen
// at the song time. Computer notes go to the sound output and, unless Hidden, to the key owner
// lists.
void advanceNoteLists(std::vector<Track>& tracks, const NoteScreen& screen, double songTime,
                      double displayTime, PlayMode playMode, PianoState& piano, SoundState& sound);

// After a jump to t: every track that takes part has its cursor at the note at or before t and
// empty lists, so notes already begun are not played again.
void placeTracks(std::vector<Track>& tracks, float t);
// Back to the song's start: cursors at 0, lists empty.
void rewindTracks(std::vector<Track>& tracks);

// Stops every note the computer sounds (for a pause): each goes to its track's ended list, still
// drawn but no longer sounding, so the computer's next notes are the first it plays again.
void silenceComputerNotes(std::vector<Track>& tracks, PlayMode playMode, PianoState& piano,
                          SoundState& sound);

// Sends the note's note-on (its channel, key and velocity) or note-off through the current
// sound output, by way of the shared message buffer.
void soundComputerNote(SoundState& sound, const Note& note, bool on);
