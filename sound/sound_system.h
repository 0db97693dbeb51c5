#pragma once
// The sound system's operations on its state: start-up and shutdown of the sound outputs, the
// choice of the current one, and the notes sounded and silenced through it.
#include <cstdint>

struct SoundState;

// A note-on (velocity as given) or note-off (velocity 0) of key on channel (its low four bits)
// through the current output, by way of the state's scratch message; nothing when there is no
// output. Every play and stop on the output is made under the state's sendLock, since the MIDI
// input's thread sounds the player's notes too; this takes it.
void soundNote(SoundState& sound, uint8_t channel, uint8_t key, uint8_t velocity, bool on);
// The same with sendLock already held.
void soundNoteLocked(SoundState& sound, uint8_t channel, uint8_t key, uint8_t velocity, bool on);

// Stops every sounding key on its channel through the current output, once, whatever its count
// (a note-off each on the MIDI output), then clears the counts; what the player held is silent,
// and its releases stop nothing more.
void silenceSound(SoundState& sound);

// Replaces the current output by a new one of kind 1 (MIDI, through the state's output client)
// or 2 (Simple Synth, whose wave bank is built the first time and whose audio device opens now,
// so that the first struck key does not wait for it). The old output is silenced first. Other
// kinds change nothing.
void selectSoundOutput(SoundState& sound, uint32_t kind);

// After the MIDI clients are up: the MIDI output, or the Simple Synth when no output port is
// open.
void soundStartup(SoundState& sound);
// Silences the output, frees it and the synth's sample buffers, closes the audio device and
// clears every count, so that a later soundStartup begins afresh.
void soundShutdown(SoundState& sound);
