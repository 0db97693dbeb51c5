#pragma once
#include "render/sprite_pass.h"
#include "shell/debug_menu.h"
#include "shell/frame_rate.h"
#include "shell/state_step.h"

struct AppContext;

// What the main loop draws over every state, with what it keeps for that: the debug menu and
// its flags, the frame-rate text, and the mouse cursor. app is null when no application runs.
struct Overlay {
    DebugFlags debug;
    FrameRateDisplay frameRate;
    Sprite cursor;
    AppContext* app = nullptr;
};

// Takes one window event per iteration and runs a frame only when none is waiting, until a
// quit request (window closed, or a state's quit code) is taken off the queue.
void runMainLoop(StateMachine& machine, const StateFactory& factory, Overlay& overlay);
