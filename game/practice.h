#pragma once
// The practice aids as the play uses them: Wait for Me, the passage loop with its speed trainer,
// and the figures of each pass, fed with the play's clock and the player's presses.
#include <cstdint>
#include <string>
#include <vector>

#include "app/practice_history.h"
#include "game/pass_stats.h"
#include "game/practice_loop.h"
#include "game/wait_for_me.h"
#include "songs/song.h"

struct InputDevices;

// The two switches the player keeps between plays.
struct PracticeSwitches {
    bool& waitForMe;
    bool& speedTrainer;
};

struct Practice {
    std::vector<uint32_t> playerTracks; // indices into the song's tracks
    WaitForMe wait;
    PracticeLoop loop;
    SpeedTrainer trainer;
    PassStats pass;
    bool loopChanged = false;         // since the pass began: the trainer does not judge it
    std::vector<HandBest> bestPasses; // each hand's best finished pass of this play
};

// For a play of these player's tracks starting with the clock at t.
void preparePractice(Practice& practice, const std::vector<Track>& tracks,
                     std::vector<uint32_t> playerTracks, double t);
// Whether the player plays at all ("Watch and Listen" has nothing to wait for or count).
bool practiceShown(const Practice& practice);

// A press of key (after the octave shift) at song time t.
void practicePress(Practice& practice, const std::vector<Track>& tracks, uint8_t key, double t,
                   float speed, bool waitForMe);
// The clock's step from now towards proposed, held at a group while Wait for Me waits.
double practiceClock(Practice& practice, bool waitForMe, double now, double proposed);
// After the clock jumped to t (seek, restart, a loop's count-in): presses gathered for a group
// are forgotten and a new pass begins there.
void practiceJumped(Practice& practice, double t);
// After the note lists moved: the notes that ended unhit are missed.
void practiceListsMoved(Practice& practice, const std::vector<Track>& tracks);
// The pass ends with the clock at t (the song's end or the loop's): its figures stay on show,
// and the speed trainer, when on, judges a whole pass through the loop. Returns the speed.
float practicePassEnds(Practice& practice, const std::vector<Track>& tracks, double t, float speed,
                       bool speedTrainer);
// The notes the running pass counts.
NoteSpan practiceSpan(const Practice& practice);
// Tab, [, ], Backspace and \ of this frame, with the clock at t.
void practiceKeys(Practice& practice, const InputDevices& input, PracticeSwitches switches,
                  double t);
// The lines under the play's status lines.
std::vector<std::string> practiceStatusLines(const Practice& practice, bool waitForMe,
                                             bool speedTrainer);
