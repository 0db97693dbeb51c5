#pragma once
// What the player plays: the MIDI input and the computer keyboard's 18 piano keys become notes on
// the current sound output, and during a play each press is matched against the falling notes of
// the player's tracks, so that the keyboard view can colour its key. Also the bookkeeping of
// which keys sound for whom (the held map and the key owner lists) with its bulk operations.
#include <array>
#include <cstdint>
#include <vector>

#include "songs/song.h"

struct AppContext;
struct InputDevices;
struct SoundState;

struct NoteInput {
    // -1: the player does not hold the key; else the match made when it was pressed: the matched
    // track's colour (1 to 5), or 0 for a press that matched nothing.
    std::array<int8_t, 128> held;
    // How many of the player's note-ons of each key and channel are not yet released, so that
    // releasing held notes stops each on the channel it was played on.
    uint8_t playerHolds[128][16];
    // One list per key: a base entry 0, then one entry per sounding use (a computer track's colour
    // while its note sounds, the match result while the player holds the key). The keyboard view
    // colours a key by its last entry.
    std::array<std::vector<uint8_t>, 128> keyOwners;
    std::vector<uint8_t> gameMidiBuffer, menuMidiBuffer;         // one MIDI message at a time
    std::vector<uint8_t> gameKeyboardBuffer, menuKeyboardBuffer; // 3 bytes once sized
    uint32_t inputPortChanges = 0; // the sound state's count when the MIDI input was last read
};

// The one instance; main thread only.
extern NoteInput noteInput;

// The sound start-up's hook: 8 entries reserved per owner list, each holding its base entry 0;
// nothing held.
void setUpNoteInput();

// What the game's readers and matching read of the play in progress.
struct PlayContext {
    const std::vector<Track>* tracks = nullptr;
    int32_t playMode = 0; // 0 left hand, 1 right hand, 2 both hands, 3 watch and listen
    double songTime = 0;  // seconds
    float inputVolume = 2.0f;
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

// The game's readers, MIDI input first, at the start of every play update. Notes sound through
// app.sound's output; the MIDI velocity is scaled by the input volume. A key moved outside 0 to
// 127 by the transposition is dropped: neither played nor matched.
void readGameMidiInput(AppContext& app, const PlayContext& play);
void readGameKeyboard(AppContext& app, const InputDevices& input, const PlayContext& play);
// The menu's readers: no matching, fixed or capped velocities, and the MIDI reader teaches the
// selected input device its key range.
void readMenuMidiInput(AppContext& app);
void readMenuKeyboard(AppContext& app, const InputDevices& input);
// On a frame where no reader runs: empties the MIDI input's queue without sounding anything new,
// honouring the releases of held notes so that nothing sticks.
void drainMidiInput(AppContext& app);

// Z and X shift the transposition an octave down or up while the selected device's learned range
// stays within keys 0 to 127; a shift releases the held notes.
void shiftOctave(AppContext& app, const InputDevices& input);

// What the readers do with one message taken from the MIDI input (its key byte not yet
// transposed; the message is changed in place).
void handleGameMidiMessage(AppContext& app, const PlayContext& play, std::vector<uint8_t>& message);
void handleMenuMidiMessage(AppContext& app, std::vector<uint8_t>& message);

// Ends the player's hold of a key: its latest owner entry equal to the hold's result goes.
void releaseKey(uint8_t key);
// Stops every note the player holds, on the channel it came on, removes the player's owner
// entries and leaves nothing held.
void releaseHeldNotes(SoundState& sound);
// Cuts every key owner list back to its base entry.
void trimKeyOwnerLists();
// Stops every sounding key once on its channel, the player's notes with the rest, then clears the
// counts and the player's holds.
void silenceAll(SoundState& sound);

// The computer keyboard's piano keys: scan code of semitone i (0 to 17) above key 48.
extern const uint8_t pianoKeyScanCodes[18];
