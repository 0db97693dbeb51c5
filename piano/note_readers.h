#pragma once
// What the player plays: the MIDI input and the computer keyboard's 18 piano keys become notes on
// the current sound output. The game's readers keep each press's match for the keyboard view;
// the menu's readers match nothing.
#include <cstdint>
#include <functional>
#include <vector>

struct AppContext;
struct InputDevices;

// The result a press of key keeps for the keyboard view: the colour of the falling note it fits
// (1 to 5), or 0 for none.
using PressMatch = std::function<uint8_t(uint8_t key)>;

// The game's readers, MIDI input first, at the start of every play update. Notes sound through
// app.sound's output; the MIDI velocity is scaled by the input volume. A key moved outside 0 to
// 127 by the transposition is dropped: neither played nor matched.
void readGameMidiInput(AppContext& app, float inputVolume, const PressMatch& match);
void readGameKeyboard(AppContext& app, const InputDevices& input, float inputVolume,
                      const PressMatch& match);
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
void handleGameMidiMessage(AppContext& app, float inputVolume, const PressMatch& match,
                           std::vector<uint8_t>& message);
void handleMenuMidiMessage(AppContext& app, std::vector<uint8_t>& message);

// The computer keyboard's piano keys: scan code of semitone i (0 to 17) above key 48.
extern const uint8_t pianoKeyScanCodes[18];
