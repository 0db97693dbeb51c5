#include "shell/state_step.h"

#include <cstdio>

namespace {

void destroyCurrent(StateMachine& machine) {
    if (!machine.current) return;
    machine.current->leave();
    machine.current.reset();
}

} // namespace

bool startStates(StateMachine& machine, const StateFactory& factory, int32_t firstCode) {
    machine.current = factory(firstCode);
    machine.pending = StayInState;
    if (!machine.current) return false;
    machine.current->enter();
    return true;
}

bool stepState(StateMachine& machine, float dt, const StateFactory& factory) {
    int32_t code = machine.pending;
    if (code == GoToMenu || code == GoToGame || code == QuitProgram) {
        destroyCurrent(machine);
        if (code == QuitProgram) return true;
        machine.current = factory(code);
        if (!machine.current) {
            std::fprintf(stderr, "No state for transition %d; quitting\n", code);
            return true;
        }
        machine.current->enter();
    } else if (code != StayInState) {
        // No state asks for other codes; staying put is the harmless reading of one.
        std::fprintf(stderr, "Ignoring unknown state transition %d\n", code);
    }
    if (!machine.current) return true;
    machine.pending = machine.current->update(dt);
    machine.current->render();
    return false;
}

void endStates(StateMachine& machine) {
    destroyCurrent(machine);
}
