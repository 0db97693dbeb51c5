#pragma once
#include <cstdint>

// Codes a state's update returns to ask the main loop for a transition.
enum : int32_t { StayInState = 0, GoToMenu = 1, GoToGame = 2, QuitProgram = 3 };

class State {
  public:
    virtual ~State() = default;
    virtual void enter() = 0;
    virtual void leave() = 0;
    virtual int32_t update(float dt) = 0;
    virtual void render() = 0;
    // Whether the picture changes without input: notes falling, a clock or a worker running.
    // When no state animates and no input comes, the main loop stops drawing until some does.
    virtual bool animating() const { return false; }
};
