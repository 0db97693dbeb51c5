#pragma once
// The piano keyboard along the bottom of the play screen (and of the menu's main page), with the
// lane lines behind the falling notes. Its layout decides the key range on screen, the key width
// and the vertical scale that the play state and the note drawing use.
#include <cstdint>

#include "render/colour.h"
#include "render/sprite_pass.h"

struct AppContext;

struct KeyboardView {
    Sprite whiteKey;            // "NoteWhite.png"
    Sprite blackKey;            // "NoteBlack.png"
    Sprite line;                // "Pixel.png", scaled to a full-height lane line
    uint32_t semitoneRange = 0; // endNote - startNote
    uint32_t whiteKeyCount = 0; // white keys in the range
    uint32_t startNote = 0;     // first key shown, a multiple of 12
    uint32_t endNote = 0;       // first key not shown, at most 127
    float whiteKeyWidth = 1;    // of the white key texture
    float whiteKeyHeight = 1;
    float keyXScale = 1;     // x scale of both key sprites
    float verticalScale = 1; // y scale of both key sprites and of note distances
    float keyboardTopY = 0;  // top edge of the white keys
    // Where a note's lower end meets the keys: the frame height less the keyboard's height in
    // whole pixels, so up to a pixel below keyboardTopY.
    int32_t hitLine = 0;
    uint32_t frameWidth = 640; // the frame the states lay out against
    uint32_t frameHeight = 480;
};

// Whether key (a MIDI key number) is a black key of the piano.
bool isBlackKey(uint32_t key);
// The white key at or just left of each semitone of an octave, counted from its C.
inline constexpr uint8_t whitePosition[12] = {0, 0, 1, 1, 2, 3, 3, 4, 4, 5, 5, 6};

// Loads the key and line textures for a frame of the given size.
void initialiseKeyboardView(KeyboardView& view, uint32_t frameWidth, uint32_t frameHeight);

// Whole octaves from the octave of lowest up to the end of the octave of highest, stopping
// before key 127. A range with no key (lowest above highest: no visible track) is laid out as
// the one octave from key 60.
void layoutKeyboard(KeyboardView& view, uint32_t lowest, uint32_t highest);

// Full-height lines at the left edge of every F and C of the range.
void drawLanes(const KeyboardView& view);
// Every key, coloured from app's held map and key owner lists; keys the player's instrument
// cannot reach at the current transposition dimmed.
void drawKeys(const KeyboardView& view, const AppContext& app);

// The colour of key k given its hold h (-1 not held, else the match result), its last owner
// entry o and whether the player can reach it; white and black keys differ.
Colour whiteKeyColour(const AppContext& app, int8_t held, uint8_t owner, bool reachable);
Colour blackKeyColour(const AppContext& app, int8_t held, uint8_t owner, bool reachable);
