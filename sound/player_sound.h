#pragma once
// The sound of what the player plays: the MIDI input's notes are sounded on the input's own
// thread as each message arrives (moved by the transposition, their velocity set, counted,
// played), and only then go on to the frame, which matches them and colours their keys, so a
// note never waits for a frame to be heard. The computer keyboard's notes are sounded by the
// frame through the same bookkeeping (PlayedNotes).
#include <cstdint>
#include <vector>

struct SoundState;
struct SoundedWith;

// The key a transposition moves key to, or -1 when either is no key (outside 0 to 127).
int shiftedKey(int key, int8_t transposition);

// One message from the instrument, changed in place to what the frame is to handle: a note-on or
// note-off, its key transposed, a note-on's velocity set; with tells what it sounded with. False
// when the frame has nothing to do with it: no note, a key moved outside 0 to 127, or a note-on
// while silent or never to be released. A note-off of a note not sounded here stops nothing. Takes
// sendLock; any thread.
bool soundPlayedNote(SoundState& sound, std::vector<uint8_t>& message, SoundedWith& with);

// The computer keyboard's note-on and note-off (key 0 to 127, already transposed): the press
// counted and played, the release stopped only while the player holds a note of that key and
// channel. False when nothing sounded. Take sendLock.
bool soundKeyPress(SoundState& sound, const std::vector<uint8_t>& message);
bool soundKeyRelease(SoundState& sound, const std::vector<uint8_t>& message);

// Stops every note the player holds on its channel and forgets them, so that their note-offs
// stop nothing more; later notes sound with the transposition given. Takes sendLock.
void forgetPlayedNotes(SoundState& sound, int8_t transposition);
