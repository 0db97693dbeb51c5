#pragma once
// Which keys sound for whom: the player's holds and the key owner lists, fed by the note readers
// for the player and by the play for the computer's notes, with their bulk operations.
#include <cstdint>
#include <vector>

struct PianoState;
struct SoundState;

// A press of the player's on key (0 to 127): its match result (a track colour, or 0) is kept for
// the keyboard view.
void markPress(PianoState& piano, uint8_t key, uint8_t result);
// A press on the computer keyboard (a note-on, key 0 to 127): the note sounds and is marked.
void pressKey(PianoState& piano, SoundState& sound, const std::vector<uint8_t>& message,
              uint8_t result);
// A release of the player's (a note-off): ends the key's hold; the note stops only while the
// player holds one on that key and channel.
void releasePlayerNote(PianoState& piano, SoundState& sound, const std::vector<uint8_t>& message);

// A computer note of a shown track starts or ends on key (0 to 127): its colour joins the key's
// owners, or its latest entry of that colour goes.
void addKeyOwner(PianoState& piano, uint8_t key, uint8_t colour);
void removeKeyOwner(PianoState& piano, uint8_t key, uint8_t colour);
// The entry the keyboard view colours key by.
uint8_t lastKeyOwner(const PianoState& piano, uint32_t key);

// Ends the player's hold of a key: its latest owner entry equal to the hold's result goes.
void releaseKey(PianoState& piano, uint8_t key);
// Stops every note the player holds, on the channel it came on, removes the player's owner
// entries and leaves nothing held; later notes sound with the transposition given (else with
// the one they sounded with before).
void releaseHeldNotes(PianoState& piano, SoundState& sound, int8_t transposition);
void releaseHeldNotes(PianoState& piano, SoundState& sound);
// Cuts every key owner list back to its base entry.
void trimKeyOwnerLists(PianoState& piano);
