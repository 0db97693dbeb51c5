#pragma once
#include "shell/state_step.h"

// Takes one window event per iteration and runs a frame only when none is waiting, until a
// quit request (window closed, or a state's quit code) is taken off the queue.
void runMainLoop(StateMachine& machine, const StateFactory& factory);
