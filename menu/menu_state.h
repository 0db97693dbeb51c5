#pragma once
// The menu state: the pages of menu_pages.h behind the State interface, with the threads they run.
#include <cstdint>

#include "app/state.h"
#include "menu/menu_pages.h"

struct AppContext;

class MenuState : public State, public MenuPages {
  public:
    // frameWidth and frameHeight: the frame enter lays the pages out against.
    MenuState(AppContext& app, int32_t frameWidth, int32_t frameHeight);
    // Joins what leave did not.
    ~MenuState() override;
    void enter() override;
    void leave() override;
    int32_t update(float dt) override;
    void render() override;
    // While the latency test clicks, or a scan or a load runs.
    bool animating() const override;

  private:
    void joinThreads();

    AppContext* context;
    int32_t frameWidth, frameHeight;
};
