#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <map>

#include "platform/events.h"
#include "platform/input.h"
#include "platform/sdl_keys.h"
#include "platform/window.h"

TEST(ScanCodes, KeysTheGameReadsHaveTheirCodes) {
    const char* letters = "QWERTYUIOPASDFGHJKLZXCVBNM";
    const uint8_t letterCodes[] = {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18,
                                   0x19, 0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25,
                                   0x26, 0x2C, 0x2D, 0x2E, 0x2F, 0x30, 0x31, 0x32};
    for (int i = 0; i < 26; ++i) {
        int sdl = SDL_SCANCODE_A + (letters[i] - 'A');
        EXPECT_EQ(scanCodeFromSdl(sdl), letterCodes[i]) << letters[i];
    }
    for (int digit = 1; digit <= 9; ++digit)
        EXPECT_EQ(scanCodeFromSdl(SDL_SCANCODE_1 + digit - 1), 0x01 + digit) << digit;
    EXPECT_EQ(scanCodeFromSdl(SDL_SCANCODE_0), 0x0B);

    const std::map<int, uint8_t> others = {
        {SDL_SCANCODE_ESCAPE, 0x01},     {SDL_SCANCODE_SPACE, 0x39}, {SDL_SCANCODE_SEMICOLON, 0x27},
        {SDL_SCANCODE_APOSTROPHE, 0x28}, {SDL_SCANCODE_COMMA, 0x33}, {SDL_SCANCODE_F2, 0x3C},
        {SDL_SCANCODE_LCTRL, 0x1D},      {SDL_SCANCODE_RCTRL, 0x9D}, {SDL_SCANCODE_LSHIFT, 0x2A},
        {SDL_SCANCODE_RSHIFT, 0x36},     {SDL_SCANCODE_LALT, 0x38},  {SDL_SCANCODE_RALT, 0xB8},
    };
    for (auto [sdl, code] : others) EXPECT_EQ(scanCodeFromSdl(sdl), code) << "SDL scancode " << sdl;
}

TEST(ScanCodes, DistinctKeysNeverShareACodeAndStrangeInputIsIgnored) {
    std::map<uint8_t, int> seen;
    for (int sdl = 0; sdl < SDL_NUM_SCANCODES; ++sdl) {
        uint8_t code = scanCodeFromSdl(sdl);
        if (!code) continue;
        // The two backslash positions of ANSI and ISO keyboards are one key.
        bool backslash = sdl == SDL_SCANCODE_BACKSLASH || sdl == SDL_SCANCODE_NONUSHASH;
        auto [it, fresh] = seen.emplace(code, sdl);
        EXPECT_TRUE(fresh || backslash) << "SDL " << sdl << " and " << it->second;
    }
    EXPECT_EQ(scanCodeFromSdl(-1), 0);
    EXPECT_EQ(scanCodeFromSdl(SDL_NUM_SCANCODES), 0);
    EXPECT_EQ(scanCodeFromSdl(1 << 30), 0);
}

TEST(ScanCodes, KeyboardStateBecomesTheSnapshot) {
    uint8_t sdl[SDL_NUM_SCANCODES] = {};
    sdl[SDL_SCANCODE_Z] = 1;
    sdl[SDL_SCANCODE_RCTRL] = 1;
    sdl[SDL_SCANCODE_KP_EQUALSAS400] = 1; // a key without a code
    uint8_t keys[256];
    std::fill(std::begin(keys), std::end(keys), 0x55);
    translateKeyboard(sdl, SDL_NUM_SCANCODES, keys);
    for (int i = 0; i < 256; ++i) {
        uint8_t expected = (i == 0x2C || i == 0x9D) ? 0x80 : 0;
        EXPECT_EQ(keys[i], expected) << i;
    }
    // A short state array is read only as far as it goes.
    uint8_t shortState[SDL_SCANCODE_Z] = {};
    shortState[SDL_SCANCODE_A] = 1;
    translateKeyboard(shortState, SDL_SCANCODE_Z, keys);
    EXPECT_EQ(keys[0x1E], 0x80);
    EXPECT_EQ(keys[0x2C], 0);
}

TEST(Input, PressedMeansDownNowAndUpBefore) {
    InputDevices in;
    in.keys[ScanSpace] = 0x80;
    EXPECT_TRUE(keyHeld(in, ScanSpace));
    EXPECT_TRUE(keyPressed(in, ScanSpace));
    in.previousKeys[ScanSpace] = 0x80;
    EXPECT_TRUE(keyHeld(in, ScanSpace));
    EXPECT_FALSE(keyPressed(in, ScanSpace));
    in.keys[ScanSpace] = 0;
    EXPECT_FALSE(keyHeld(in, ScanSpace));
    EXPECT_FALSE(keyPressed(in, ScanSpace));
    in.keys[ScanEscape] = 0xFF; // any byte from 0x80 up is down
    EXPECT_TRUE(keyPressed(in, ScanEscape));

    in.mouse.buttons[0] = 0x80;
    EXPECT_TRUE(mouseButtonPressed(in, 0));
    in.previousMouse.buttons[0] = 0x80;
    EXPECT_TRUE(mouseButtonHeld(in, 0));
    EXPECT_FALSE(mouseButtonPressed(in, 0));
    EXPECT_FALSE(mouseButtonHeld(in, 1));
}

TEST(Input, VirtualCursorStartsCentredAndStaysInsideTheOuterWindow) {
    InputDevices in;
    setCursorBounds(in, 1921, 1111);
    EXPECT_EQ(in.cursorX, 960);
    EXPECT_EQ(in.cursorY, 555);

    moveCursor(in, -1000, -600);
    EXPECT_EQ(in.cursorX, 0);
    EXPECT_EQ(in.cursorY, 0);
    moveCursor(in, 1920, 1110); // the last pixel of the outer size is still reachable
    EXPECT_EQ(in.cursorX, 1920);
    EXPECT_EQ(in.cursorY, 1110);
    moveCursor(in, 1, 1);
    EXPECT_EQ(in.cursorX, 1920);
    EXPECT_EQ(in.cursorY, 1110);
    moveCursor(in, -5, -7);
    EXPECT_EQ(in.cursorX, 1915);
    EXPECT_EQ(in.cursorY, 1103);

    // Extreme counts must not wrap around.
    moveCursor(in, INT32_MAX, INT32_MIN);
    EXPECT_EQ(in.cursorX, 1920);
    EXPECT_EQ(in.cursorY, 0);
    moveCursor(in, INT32_MIN, INT32_MAX);
    EXPECT_EQ(in.cursorX, 0);
    EXPECT_EQ(in.cursorY, 1110);

    InputDevices empty; // no window: bounds of 0 keep the cursor at 0
    setCursorBounds(empty, 0, 0);
    moveCursor(empty, 10, 10);
    EXPECT_EQ(empty.cursorX, 0);
    EXPECT_EQ(empty.cursorY, 0);
}

TEST(Input, WheelNotchesCountOneHundredTwentyAndAreTakenByOnePoll) {
    addWheelNotches(1);
    addWheelNotches(-3);
    pollMouse();
    EXPECT_EQ(input.mouse.wheel, -240);
    pollMouse();
    EXPECT_EQ(input.mouse.wheel, 0);
    EXPECT_EQ(input.previousMouse.wheel, -240);
}

// A slow frame: a key and a mouse button pressed and let go again while the frame ran. The next
// poll shows both pressed, the one after released.
TEST(Input, ATapBetweenTwoPollsIsPressedInTheNextFrame) {
    ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS), 0) << SDL_GetError();
    auto push = [](SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError(); };
    for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
        SDL_Event e{};
        e.type = type;
        e.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
        e.key.keysym.sym = SDLK_ESCAPE;
        push(e);
    }
    for (Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
        SDL_Event e{};
        e.type = type;
        e.button.button = SDL_BUTTON_LEFT;
        push(e);
    }
    WindowEvent event;
    while (pollWindowEvent(event)) {
    }
    pollKeyboard();
    pollMouse();
    EXPECT_TRUE(keyPressed(input, ScanEscape));
    EXPECT_TRUE(mouseButtonPressed(input, 0));
    EXPECT_FALSE(keyHeld(input, ScanSpace));
    pollKeyboard();
    pollMouse();
    EXPECT_FALSE(keyHeld(input, ScanEscape));
    EXPECT_FALSE(mouseButtonHeld(input, 0));
    SDL_Quit();
}

TEST(Window, CentringByArithmeticShiftGoesNegativeOnSmallScreens) {
    EXPECT_EQ(centredPosition(2560, 1936), 312);
    EXPECT_EQ(centredPosition(1366, 1936), -285);
    EXPECT_EQ(centredPosition(1935, 1936), -1); // a division would give 0
}

TEST(Events, KeysReachTheUiAsVirtualKeyCodes) {
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_A, SDLK_a), 'A');
    // Letters follow the layout: the key in Q's place on an AZERTY keyboard types A.
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_Q, SDLK_a), 'A');
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_7, SDLK_7), '7');
    const std::map<int, int> keys = {
        {SDL_SCANCODE_TAB, 9},       {SDL_SCANCODE_LEFT, 37},        {SDL_SCANCODE_RIGHT, 39},
        {SDL_SCANCODE_UP, 38},       {SDL_SCANCODE_DOWN, 40},        {SDL_SCANCODE_PAGEUP, 33},
        {SDL_SCANCODE_PAGEDOWN, 34}, {SDL_SCANCODE_HOME, 36},        {SDL_SCANCODE_END, 35},
        {SDL_SCANCODE_DELETE, 46},   {SDL_SCANCODE_BACKSPACE, 8},    {SDL_SCANCODE_RETURN, 13},
        {SDL_SCANCODE_KP_ENTER, 13}, {SDL_SCANCODE_ESCAPE, 27},      {SDL_SCANCODE_LCTRL, 17},
        {SDL_SCANCODE_RSHIFT, 16},   {SDL_SCANCODE_RALT, 18},        {SDL_SCANCODE_F2, 0x71},
        {SDL_SCANCODE_KP_5, 0x65},   {SDL_SCANCODE_SEMICOLON, 0xBA},
    };
    for (auto [scancode, vk] : keys)
        EXPECT_EQ(virtualKeyFromSdl(scancode, SDLK_UNKNOWN), vk) << "SDL scancode " << scancode;
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_AUDIOPLAY, SDLK_AUDIOPLAY), 0);
}
