#pragma once
// Keyboard and mouse as per-frame snapshots, this frame and the previous one, and the program's
// own mouse cursor integrated from relative motion. Window events never reach these snapshots;
// they feed only the UI.
#include <cstdint>

#include "platform/scan_codes.h"

struct MouseState {
    int32_t x = 0, y = 0, wheel = 0; // movement since the previous poll; wheel 120 per notch
    uint8_t buttons[4] = {};         // left, right, middle, fourth; 0x80 when down
};

struct InputDevices {
    uint8_t keys[256] = {}; // indexed by scan code; 0x80 when down
    uint8_t previousKeys[256] = {};
    MouseState mouse;
    MouseState previousMouse;
    int32_t cursorX = 0, cursorY = 0;          // the virtual cursor in frame units
    int32_t cursorWidth = 0, cursorHeight = 0; // its bounds: the window's outer size, likewise
    int32_t shownWidth = 0, shownHeight = 0;   // the picture's size in window units
    int64_t carryX = 0, carryY = 0; // motion short of a whole frame unit, in 1/shown units
    bool initialised = false;
};

// The one instance, read by the states.
extern InputDevices input;

// Sets up keyboard and mouse for the window: relative mouse mode (the system cursor is hidden;
// the program draws its own), cursor bounds and the cursor at their centre. Runs once.
// The cursor lives in the frame's units, which the states and the UI lay out in; mouse motion
// is scaled by frame size over the size the picture is shown at, so the drawn cursor follows
// the hand.
void createInput();
void releaseInput();
// Once per frame each, keyboard first.
void pollKeyboard();
void pollMouse();

// Ctrl, Shift and Alt as the window system sees them, for the UI.
void modifierState(bool& ctrl, bool& shift, bool& alt);

inline bool keyHeld(const InputDevices& in, int scanCode) {
    return in.keys[scanCode & 0xFF] >= 0x80;
}
inline bool keyPressed(const InputDevices& in, int scanCode) {
    return keyHeld(in, scanCode) && in.previousKeys[scanCode & 0xFF] < 0x80;
}
inline bool mouseButtonHeld(const InputDevices& in, int button) {
    return in.mouse.buttons[button & 3] >= 0x80;
}
inline bool mouseButtonPressed(const InputDevices& in, int button) {
    return mouseButtonHeld(in, button) && in.previousMouse.buttons[button & 3] < 0x80;
}

// The parts of the polls that need no device, kept apart so they can be checked on their own.

// Fills keys from SDL's keyboard state array (count entries indexed by SDL scancode).
void translateKeyboard(const uint8_t* sdlState, int count, uint8_t keys[256]);
// Bounds of the virtual cursor; the cursor starts at their centre.
void setCursorBounds(InputDevices& in, int32_t width, int32_t height);
// Adds a movement to the virtual cursor and clamps it to 0 .. bound - 1.
void moveCursor(InputDevices& in, int32_t dx, int32_t dy);
// A movement in window units as frame units, for a frame shown at shownSize. What falls short of
// a whole unit is carried to the next call, so slow motion is neither lost nor gained.
int32_t motionToFrame(int32_t delta, int32_t frameSize, int32_t shownSize, int64_t& carry);
// Takes the picture's shown size and the cursor's bounds as they are now: the cursor keeps its
// place in the frame, clamped to the bounds; a new picture size drops the carried motion.
void followPicture(InputDevices& in, int32_t shownWidth, int32_t shownHeight, int32_t boundsWidth,
                   int32_t boundsHeight);
// Moves the cursor by mouse motion in window units.
void moveCursorByMotion(InputDevices& in, int32_t dx, int32_t dy, int32_t frameWidth,
                        int32_t frameHeight);
// Wheel notches reported by the event pump, collected until the next mouse poll.
void addWheelNotches(int notches);
// Presses reported by the event pump (an SDL scancode; an SDL mouse button, 1 the left). The next
// poll shows the key or button down even when it was let go before it, so a tap shorter than a
// frame is still seen pressed; the poll after shows it up.
void latchKeyPress(int sdlScancode);
void latchMouseButton(int sdlButton);

// Any key or mouse button down in this frame's snapshot.
bool anyInputHeld(const InputDevices& in);
