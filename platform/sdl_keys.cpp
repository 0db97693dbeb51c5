#include "platform/sdl_keys.h"

#include <SDL.h>

#include <array>

#include "platform/scan_codes.h"

namespace {

struct KeyCodes {
    SDL_Scancode sdl;
    uint8_t scan;
    uint8_t virtualKey; // 0 for letters and digits, whose codes follow the layout
};

// Every key of a standard keyboard that has a scan code in the game's numbering.
constexpr KeyCodes keyCodes[] = {
    {SDL_SCANCODE_ESCAPE, ScanEscape, 0x1B},
    {SDL_SCANCODE_1, Scan1, 0},
    {SDL_SCANCODE_2, Scan2, 0},
    {SDL_SCANCODE_3, Scan3, 0},
    {SDL_SCANCODE_4, Scan4, 0},
    {SDL_SCANCODE_5, Scan5, 0},
    {SDL_SCANCODE_6, Scan6, 0},
    {SDL_SCANCODE_7, Scan7, 0},
    {SDL_SCANCODE_8, Scan8, 0},
    {SDL_SCANCODE_9, Scan9, 0},
    {SDL_SCANCODE_0, Scan0, 0},
    {SDL_SCANCODE_MINUS, ScanMinus, 0xBD},
    {SDL_SCANCODE_EQUALS, ScanEquals, 0xBB},
    {SDL_SCANCODE_BACKSPACE, ScanBackspace, 0x08},
    {SDL_SCANCODE_TAB, ScanTab, 0x09},
    {SDL_SCANCODE_Q, ScanQ, 0},
    {SDL_SCANCODE_W, ScanW, 0},
    {SDL_SCANCODE_E, ScanE, 0},
    {SDL_SCANCODE_R, ScanR, 0},
    {SDL_SCANCODE_T, ScanT, 0},
    {SDL_SCANCODE_Y, ScanY, 0},
    {SDL_SCANCODE_U, ScanU, 0},
    {SDL_SCANCODE_I, ScanI, 0},
    {SDL_SCANCODE_O, ScanO, 0},
    {SDL_SCANCODE_P, ScanP, 0},
    {SDL_SCANCODE_LEFTBRACKET, ScanLeftBracket, 0xDB},
    {SDL_SCANCODE_RIGHTBRACKET, ScanRightBracket, 0xDD},
    {SDL_SCANCODE_RETURN, ScanReturn, 0x0D},
    {SDL_SCANCODE_LCTRL, ScanLeftControl, 0x11},
    {SDL_SCANCODE_A, ScanA, 0},
    {SDL_SCANCODE_S, ScanS, 0},
    {SDL_SCANCODE_D, ScanD, 0},
    {SDL_SCANCODE_F, ScanF, 0},
    {SDL_SCANCODE_G, ScanG, 0},
    {SDL_SCANCODE_H, ScanH, 0},
    {SDL_SCANCODE_J, ScanJ, 0},
    {SDL_SCANCODE_K, ScanK, 0},
    {SDL_SCANCODE_L, ScanL, 0},
    {SDL_SCANCODE_SEMICOLON, ScanSemicolon, 0xBA},
    {SDL_SCANCODE_APOSTROPHE, ScanApostrophe, 0xDE},
    {SDL_SCANCODE_GRAVE, ScanGrave, 0xC0},
    {SDL_SCANCODE_LSHIFT, ScanLeftShift, 0x10},
    {SDL_SCANCODE_BACKSLASH, ScanBackslash, 0xDC},
    {SDL_SCANCODE_NONUSHASH, ScanBackslash, 0},
    {SDL_SCANCODE_Z, ScanZ, 0},
    {SDL_SCANCODE_X, ScanX, 0},
    {SDL_SCANCODE_C, ScanC, 0},
    {SDL_SCANCODE_V, ScanV, 0},
    {SDL_SCANCODE_B, ScanB, 0},
    {SDL_SCANCODE_N, ScanN, 0},
    {SDL_SCANCODE_M, ScanM, 0},
    {SDL_SCANCODE_COMMA, ScanComma, 0xBC},
    {SDL_SCANCODE_PERIOD, ScanPeriod, 0xBE},
    {SDL_SCANCODE_SLASH, ScanSlash, 0xBF},
    {SDL_SCANCODE_RSHIFT, ScanRightShift, 0x10},
    {SDL_SCANCODE_KP_MULTIPLY, ScanNumpadMultiply, 0x6A},
    {SDL_SCANCODE_LALT, ScanLeftAlt, 0x12},
    {SDL_SCANCODE_SPACE, ScanSpace, 0x20},
    {SDL_SCANCODE_CAPSLOCK, ScanCapsLock, 0x14},
    {SDL_SCANCODE_F1, ScanF1, 0x70},
    {SDL_SCANCODE_F2, ScanF2, 0x71},
    {SDL_SCANCODE_F3, ScanF3, 0x72},
    {SDL_SCANCODE_F4, ScanF4, 0x73},
    {SDL_SCANCODE_F5, ScanF5, 0x74},
    {SDL_SCANCODE_F6, ScanF6, 0x75},
    {SDL_SCANCODE_F7, ScanF7, 0x76},
    {SDL_SCANCODE_F8, ScanF8, 0x77},
    {SDL_SCANCODE_F9, ScanF9, 0x78},
    {SDL_SCANCODE_F10, ScanF10, 0x79},
    {SDL_SCANCODE_NUMLOCKCLEAR, ScanNumLock, 0x90},
    {SDL_SCANCODE_SCROLLLOCK, ScanScrollLock, 0x91},
    {SDL_SCANCODE_KP_7, ScanNumpad7, 0x67},
    {SDL_SCANCODE_KP_8, ScanNumpad8, 0x68},
    {SDL_SCANCODE_KP_9, ScanNumpad9, 0x69},
    {SDL_SCANCODE_KP_MINUS, ScanNumpadMinus, 0x6D},
    {SDL_SCANCODE_KP_4, ScanNumpad4, 0x64},
    {SDL_SCANCODE_KP_5, ScanNumpad5, 0x65},
    {SDL_SCANCODE_KP_6, ScanNumpad6, 0x66},
    {SDL_SCANCODE_KP_PLUS, ScanNumpadPlus, 0x6B},
    {SDL_SCANCODE_KP_1, ScanNumpad1, 0x61},
    {SDL_SCANCODE_KP_2, ScanNumpad2, 0x62},
    {SDL_SCANCODE_KP_3, ScanNumpad3, 0x63},
    {SDL_SCANCODE_KP_0, ScanNumpad0, 0x60},
    {SDL_SCANCODE_KP_PERIOD, ScanNumpadPeriod, 0x6E},
    {SDL_SCANCODE_NONUSBACKSLASH, ScanExtraBackslash, 0xE2},
    {SDL_SCANCODE_F11, ScanF11, 0x7A},
    {SDL_SCANCODE_F12, ScanF12, 0x7B},
    {SDL_SCANCODE_KP_ENTER, ScanNumpadEnter, 0x0D},
    {SDL_SCANCODE_RCTRL, ScanRightControl, 0x11},
    {SDL_SCANCODE_KP_DIVIDE, ScanNumpadDivide, 0x6F},
    {SDL_SCANCODE_PRINTSCREEN, ScanPrintScreen, 0x2C},
    {SDL_SCANCODE_RALT, ScanRightAlt, 0x12},
    {SDL_SCANCODE_PAUSE, ScanPause, 0x13},
    {SDL_SCANCODE_HOME, ScanHome, 0x24},
    {SDL_SCANCODE_UP, ScanUp, 0x26},
    {SDL_SCANCODE_PAGEUP, ScanPageUp, 0x21},
    {SDL_SCANCODE_LEFT, ScanLeft, 0x25},
    {SDL_SCANCODE_RIGHT, ScanRight, 0x27},
    {SDL_SCANCODE_END, ScanEnd, 0x23},
    {SDL_SCANCODE_DOWN, ScanDown, 0x28},
    {SDL_SCANCODE_PAGEDOWN, ScanPageDown, 0x22},
    {SDL_SCANCODE_INSERT, ScanInsert, 0x2D},
    {SDL_SCANCODE_DELETE, ScanDelete, 0x2E},
    {SDL_SCANCODE_LGUI, ScanLeftWindows, 0x5B},
    {SDL_SCANCODE_RGUI, ScanRightWindows, 0x5C},
    {SDL_SCANCODE_APPLICATION, ScanApplication, 0x5D},
};

struct KeyTables {
    std::array<uint8_t, SDL_NUM_SCANCODES> scan{};
    std::array<uint8_t, SDL_NUM_SCANCODES> virtualKey{};
};

constexpr KeyTables makeKeyTables() {
    KeyTables tables;
    for (const KeyCodes& key : keyCodes) {
        tables.scan[key.sdl] = key.scan;
        tables.virtualKey[key.sdl] = key.virtualKey;
    }
    return tables;
}

constexpr KeyTables keyTables = makeKeyTables();

} // namespace

uint8_t scanCodeFromSdl(int sdlScancode) {
    if (sdlScancode < 0 || sdlScancode >= SDL_NUM_SCANCODES) return 0;
    return keyTables.scan[sdlScancode];
}

int virtualKeyFromSdl(int sdlScancode, int sdlKeycode) {
    // Letters and digits follow the keyboard layout, as their virtual-key codes do.
    if (sdlKeycode >= SDLK_a && sdlKeycode <= SDLK_z) return 'A' + (sdlKeycode - SDLK_a);
    if (sdlKeycode >= SDLK_0 && sdlKeycode <= SDLK_9) return sdlKeycode;
    if (sdlScancode < 0 || sdlScancode >= SDL_NUM_SCANCODES) return 0;
    return keyTables.virtualKey[sdlScancode];
}
