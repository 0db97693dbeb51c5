#include "platform/events.h"

#include <SDL.h>

#include <cstring>

#include "platform/frame_wake.h"
#include "platform/input.h"
#include "platform/sdl_keys.h"
#include "platform/signals.h"
#include "platform/window_internal.h"

bool pollWindowEvent(WindowEvent& event) {
    event = WindowEvent{};
    // A termination signal asks to quit the way closing the window does.
    if (takeTerminationRequest()) {
        event.kind = WindowEvent::Quit;
        return true;
    }
    SDL_Event e;
    bool taken = SDL_PollEvent(&e) != 0;
    // A window lost while this poll or the last frame talked to the display ends the loop now,
    // before another frame tries to draw on it.
    if (windowLost()) {
        event.kind = WindowEvent::Quit;
        return true;
    }
    if (!taken) return false;
    switch (e.type) {
    case SDL_QUIT:
        event.kind = WindowEvent::Quit;
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (e.type == SDL_KEYDOWN) latchKeyPress(e.key.keysym.scancode);
        event.kind = WindowEvent::Key;
        event.down = e.type == SDL_KEYDOWN;
        event.virtualKey = virtualKeyFromSdl(e.key.keysym.scancode, e.key.keysym.sym);
        break;
    case SDL_TEXTINPUT:
        event.kind = WindowEvent::Text;
        static_assert(sizeof event.text == sizeof e.text.text);
        std::memcpy(event.text, e.text.text, sizeof event.text);
        event.text[sizeof event.text - 1] = '\0';
        break;
    case SDL_MOUSEBUTTONDOWN:
        latchMouseButton(e.button.button);
        break;
    case SDL_MOUSEWHEEL: {
        int notches = e.wheel.y;
        if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
        addWheelNotches(notches);
        break;
    }
    default:
        break;
    }
    return true;
}

void waitForEventOrWake(std::chrono::milliseconds longest) {
    const auto deadline = std::chrono::steady_clock::now() + longest;
    SDL_PumpEvents();
    if (SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) return;
    const int descriptor = displayDescriptor();
    if (descriptor == -2) return;
    waitForFrameWake(deadline, descriptor);
}

void postQuit() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
}
