#pragma once
// The state machine of the main loop: the current state, the pending transition, and the step
// that applies a transition and advances the state by one frame.
#include <cstdint>
#include <functional>
#include <memory>

#include "app/state.h"

struct StateMachine {
    std::unique_ptr<State> current;
    int32_t pending = StayInState; // the code the last update returned
};

// Makes the state a code asks for (GoToMenu or GoToGame); nullptr when it cannot.
using StateFactory = std::function<std::unique_ptr<State>(int32_t code)>;

// Makes the first state current and enters it. False when the factory gave none.
bool startStates(StateMachine& machine, const StateFactory& factory, int32_t firstCode);

// Applies the pending transition, then updates and renders the current state. Returns true
// when the program is to quit: on QuitProgram the state has been left and destroyed and nothing
// else ran. A code other than 1 to 3 keeps the current state.
bool stepState(StateMachine& machine, float dt, const StateFactory& factory);

// Leaves and destroys the current state, if any (the loop ended by closing the window).
void endStates(StateMachine& machine);
