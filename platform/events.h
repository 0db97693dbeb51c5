#pragma once
// The window's event queue, taken one event at a time. Key and text events are handed up for
// the UI only; the game reads keys from the input snapshots.
#include <chrono>

struct WindowEvent {
    enum Kind { Other, Quit, Key, Text };
    Kind kind = Other;
    int virtualKey = 0; // Key: Windows virtual-key code, 0 when the key has none
    bool down = false;  // Key: pressed or released
    char text[32] = {}; // Text: UTF-8, NUL-terminated
};

// Takes at most one event off the queue; false when the queue was empty. Window close, the loss
// of the window and termination signals (see platform/signals.h) arrive as Quit; wheel movement
// goes to the input layer.
bool pollWindowEvent(WindowEvent& event);
// Sleeps until the window system sends something, a frame wake comes (see frame_wake.h) or the
// time runs out, whichever is first; at once when an event is waiting. Without a display it only
// waits for the wake or the time.
void waitForEventOrWake(std::chrono::milliseconds longest);

// Puts a quit request behind everything already queued.
void postQuit();
