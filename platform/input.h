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
    int32_t cursorX = 0, cursorY = 0;          // the virtual cursor in window pixels
    int32_t cursorWidth = 0, cursorHeight = 0; // its bounds: the window's outer size
    bool initialised = false;
};

// The one instance, read by the states.
extern InputDevices input;

// Sets up keyboard and mouse for the window: relative mouse mode (the system cursor is hidden;
// the program draws its own), cursor bounds and the cursor at their centre. Runs once.
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

// The scan code for an SDL scancode, 0 for keys the game has no code for.
uint8_t scanCodeFromSdl(int sdlScancode);
// Fills keys from SDL's keyboard state array (count entries indexed by SDL scancode).
void translateKeyboard(const uint8_t* sdlState, int count, uint8_t keys[256]);
// Bounds of the virtual cursor; the cursor starts at their centre.
void setCursorBounds(InputDevices& in, int32_t width, int32_t height);
// Adds a movement to the virtual cursor and clamps it to 0 .. bound - 1.
void moveCursor(InputDevices& in, int32_t dx, int32_t dy);
// Wheel notches reported by the event pump, collected until the next mouse poll.
void addWheelNotches(int notches);
