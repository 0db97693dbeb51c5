#include "platform/input.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "platform/sdl_keys.h"
#include "platform/window.h"

InputDevices input;

namespace {

int pendingWheel = 0;
// Presses since the last poll, as scan codes and as the snapshot's button bytes.
uint8_t latchedKeys[256] = {};
uint8_t latchedButtons[4] = {};

int32_t clampToBound(int64_t value, int32_t bound) {
    if (value < 0) return 0;
    if (value >= bound) return std::max(bound - 1, 0);
    return static_cast<int32_t>(value);
}

} // namespace

void translateKeyboard(const uint8_t* sdlState, int count, uint8_t keys[256]) {
    std::memset(keys, 0, 256);
    if (!sdlState) return;
    int limit = std::min(count, static_cast<int>(SDL_NUM_SCANCODES));
    for (int i = 0; i < limit; ++i) {
        uint8_t scan = scanCodeFromSdl(i);
        if (scan && sdlState[i]) keys[scan] = 0x80;
    }
}

void setCursorBounds(InputDevices& in, int32_t width, int32_t height) {
    in.cursorWidth = width;
    in.cursorHeight = height;
    in.cursorX = width >> 1;
    in.cursorY = height >> 1;
}

void moveCursor(InputDevices& in, int32_t dx, int32_t dy) {
    in.cursorX = clampToBound(int64_t{in.cursorX} + dx, in.cursorWidth);
    in.cursorY = clampToBound(int64_t{in.cursorY} + dy, in.cursorHeight);
}

int32_t motionToFrame(int32_t delta, int32_t frameSize, int32_t shownSize, int64_t& carry) {
    if (frameSize <= 0 || shownSize <= 0) {
        carry = 0;
        return delta;
    }
    const int64_t total = int64_t{delta} * frameSize + carry;
    // Rounded towards minus infinity, so the carry is never negative and motion back and forth
    // returns the cursor to the same unit.
    int64_t units = total / shownSize;
    if (total % shownSize < 0) --units;
    carry = total - units * shownSize;
    return static_cast<int32_t>(std::clamp<int64_t>(units, INT32_MIN, INT32_MAX));
}

void followPicture(InputDevices& in, int32_t shownWidth, int32_t shownHeight, int32_t boundsWidth,
                   int32_t boundsHeight) {
    if (shownWidth != in.shownWidth || shownHeight != in.shownHeight) {
        in.shownWidth = shownWidth;
        in.shownHeight = shownHeight;
        in.carryX = in.carryY = 0;
    }
    if (boundsWidth != in.cursorWidth || boundsHeight != in.cursorHeight) {
        in.cursorWidth = boundsWidth;
        in.cursorHeight = boundsHeight;
        moveCursor(in, 0, 0);
    }
}

void moveCursorByMotion(InputDevices& in, int32_t dx, int32_t dy, int32_t frameWidth,
                        int32_t frameHeight) {
    moveCursor(in, motionToFrame(dx, frameWidth, in.shownWidth, in.carryX),
               motionToFrame(dy, frameHeight, in.shownHeight, in.carryY));
}

void addWheelNotches(int notches) {
    // Saturate rather than overflow when nobody polls for a long time.
    int64_t sum = int64_t{pendingWheel} + int64_t{notches} * 120;
    pendingWheel = static_cast<int>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
}

void latchKeyPress(int sdlScancode) {
    const uint8_t scan = scanCodeFromSdl(sdlScancode);
    if (scan != 0) latchedKeys[scan] = 0x80;
}

void latchMouseButton(int sdlButton) {
    const int index = sdlButton == SDL_BUTTON_LEFT     ? 0
                      : sdlButton == SDL_BUTTON_RIGHT  ? 1
                      : sdlButton == SDL_BUTTON_MIDDLE ? 2
                      : sdlButton == SDL_BUTTON_X1     ? 3
                                                       : -1;
    if (index >= 0) latchedButtons[index] = 0x80;
}

bool anyInputHeld(const InputDevices& in) {
    for (uint8_t key : in.keys)
        if (key >= 0x80) return true;
    for (uint8_t button : in.mouse.buttons)
        if (button >= 0x80) return true;
    return false;
}

void createInput() {
    if (input.initialised) return;
    int width = 0, height = 0;
    cursorBounds(width, height);
    setCursorBounds(input, width, height);
    const ScreenRect picture = pictureInWindow();
    followPicture(input, picture.width, picture.height, width, height);
    SDL_SetRelativeMouseMode(SDL_TRUE);
    // Motion from before the cursor existed is not the player's.
    SDL_GetRelativeMouseState(nullptr, nullptr);
    pendingWheel = 0;
    std::memset(latchedKeys, 0, sizeof latchedKeys);
    std::memset(latchedButtons, 0, sizeof latchedButtons);
    input.initialised = true;
}

void releaseInput() {
    if (!input.initialised) return;
    SDL_SetRelativeMouseMode(SDL_FALSE);
    input.initialised = false;
}

void pollKeyboard() {
    std::memcpy(input.previousKeys, input.keys, sizeof input.keys);
    int count = 0;
    const uint8_t* state = SDL_GetKeyboardState(&count);
    translateKeyboard(state, count, input.keys);
    for (int i = 0; i < 256; ++i) input.keys[i] |= latchedKeys[i];
    std::memset(latchedKeys, 0, sizeof latchedKeys);
}

void pollMouse() {
    input.previousMouse = input.mouse;
    int dx = 0, dy = 0;
    uint32_t buttons = SDL_GetRelativeMouseState(&dx, &dy);
    MouseState& mouse = input.mouse;
    mouse.x = dx;
    mouse.y = dy;
    mouse.wheel = pendingWheel;
    pendingWheel = 0;
    mouse.buttons[0] = (buttons & SDL_BUTTON_LMASK) ? 0x80 : 0;
    mouse.buttons[1] = (buttons & SDL_BUTTON_RMASK) ? 0x80 : 0;
    mouse.buttons[2] = (buttons & SDL_BUTTON_MMASK) ? 0x80 : 0;
    mouse.buttons[3] = (buttons & SDL_BUTTON_X1MASK) ? 0x80 : 0;
    for (int i = 0; i < 4; ++i) mouse.buttons[i] |= latchedButtons[i];
    std::memset(latchedButtons, 0, sizeof latchedButtons);
    // Full screen, or the window manager, may have changed the window since the last poll.
    const ScreenRect picture = pictureInWindow();
    int boundsWidth = 0, boundsHeight = 0, frameWidth = 0, frameHeight = 0;
    cursorBounds(boundsWidth, boundsHeight);
    renderSize(frameWidth, frameHeight);
    followPicture(input, picture.width, picture.height, boundsWidth, boundsHeight);
    moveCursorByMotion(input, dx, dy, frameWidth, frameHeight);
}

void modifierState(bool& ctrl, bool& shift, bool& alt) {
    SDL_Keymod mod = SDL_GetModState();
    ctrl = mod & KMOD_CTRL;
    shift = mod & KMOD_SHIFT;
    alt = mod & KMOD_ALT;
}
