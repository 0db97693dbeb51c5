#pragma once
// SDL's keys in the two numberings the program uses: the game's scan codes (platform/scan_codes.h)
// for the keyboard snapshots and Windows virtual-key codes for the UI's key events.
#include <cstdint>

// The scan code for an SDL scancode, 0 for keys the game has no code for.
uint8_t scanCodeFromSdl(int sdlScancode);
// The Windows virtual-key code for an SDL key, 0 for keys without one.
int virtualKeyFromSdl(int sdlScancode, int sdlKeycode);
