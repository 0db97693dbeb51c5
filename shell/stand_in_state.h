#pragma once
// The first state until the menu exists: a little of every renderer on screen, digits 1 to 5 to
// watch a demo song, and Escape to quit.
#include "app/state.h"
#include "render/sprite_pass.h"

class StandInState : public State {
  public:
    void enter() override;
    void leave() override {}
    int32_t update(float dt) override;
    void render() override;

  private:
    Sprite sprites[4];
    float seconds = 0;
};
