#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/state_step.h"

namespace {

using Log = std::vector<std::string>;

// Records every call; update returns the next scripted code.
class RecordingState : public State {
  public:
    RecordingState(Log& log, int id) : log(log), id(id) {}
    ~RecordingState() override { note("destroy"); }
    void enter() override { note("enter"); }
    void leave() override { note("leave"); }
    int32_t update(float) override {
        note("update");
        int32_t code = codes.empty() ? StayInState : codes.front();
        if (!codes.empty()) codes.erase(codes.begin());
        return code;
    }
    void render() override { note("render"); }

    std::vector<int32_t> codes;

  private:
    void note(const char* what) { log.push_back(std::to_string(id) + ":" + what); }
    Log& log;
    int id;
};

struct Harness {
    Log log;
    int made = 0;
    std::vector<std::vector<int32_t>> scripts; // codes for the states made, in order
    StateMachine machine;
    StateFactory factory = [this](int32_t code) -> std::unique_ptr<State> {
        log.push_back("make for " + std::to_string(code));
        auto state = std::make_unique<RecordingState>(log, ++made);
        if (made <= static_cast<int>(scripts.size())) state->codes = scripts[made - 1];
        return state;
    };
};

} // namespace

TEST(StateStep, StayingUpdatesAndRendersEveryFrame) {
    Harness h;
    ASSERT_TRUE(startStates(h.machine, h.factory, GoToMenu));
    EXPECT_FALSE(stepState(h.machine, 0.016f, h.factory));
    EXPECT_FALSE(stepState(h.machine, 0.016f, h.factory));
    EXPECT_EQ(h.log,
              (Log{"make for 1", "1:enter", "1:update", "1:render", "1:update", "1:render"}));
}

TEST(StateStep, QuitCodeRendersOnceMoreThenLeavesWithoutAnotherUpdate) {
    Harness h;
    h.scripts = {{StayInState, QuitProgram}};
    startStates(h.machine, h.factory, GoToMenu);
    EXPECT_FALSE(stepState(h.machine, 0.016f, h.factory));
    EXPECT_FALSE(stepState(h.machine, 0.016f, h.factory)); // returns 3, still rendered
    h.log.clear();
    EXPECT_TRUE(stepState(h.machine, 0.016f, h.factory));
    EXPECT_EQ(h.log, (Log{"1:leave", "1:destroy"}));
    EXPECT_EQ(h.machine.current, nullptr);
    // A step after the end never touches a state again.
    EXPECT_TRUE(stepState(h.machine, 0.016f, h.factory));
    EXPECT_EQ(h.log.size(), 2u);
}

TEST(StateStep, TransitionsReplaceTheStateWithAFreshOneThatRunsTheSameFrame) {
    for (int32_t code : {GoToMenu, GoToGame}) {
        Harness h;
        h.scripts = {{code}, {code}};
        startStates(h.machine, h.factory, GoToMenu);
        stepState(h.machine, 0.016f, h.factory);
        h.log.clear();
        EXPECT_FALSE(stepState(h.machine, 0.016f, h.factory));
        EXPECT_EQ(h.log, (Log{"1:leave", "1:destroy", "make for " + std::to_string(code), "2:enter",
                              "2:update", "2:render"}));
        // The same code again still builds a new instance.
        h.log.clear();
        stepState(h.machine, 0.016f, h.factory);
        EXPECT_EQ(h.log.front(), "2:leave");
        EXPECT_EQ(h.made, 3);
    }
}

TEST(StateStep, UnknownCodesKeepTheCurrentState) {
    Harness h;
    h.scripts = {{-1, 4, 1000}};
    startStates(h.machine, h.factory, GoToMenu);
    testing::internal::CaptureStderr();
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(stepState(h.machine, 0.016f, h.factory));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(h.made, 1);
    EXPECT_EQ(std::count(h.log.begin(), h.log.end(), "1:update"), 4);
    EXPECT_EQ(std::count(h.log.begin(), h.log.end(), "1:leave"), 0);
}

TEST(StateStep, AStateThatCannotBeMadeEndsTheProgramCleanly) {
    Harness h;
    h.scripts = {{GoToGame}};
    StateFactory onlyMenus = [&](int32_t code) -> std::unique_ptr<State> {
        return code == GoToMenu ? h.factory(code) : nullptr;
    };
    ASSERT_TRUE(startStates(h.machine, onlyMenus, GoToMenu));
    stepState(h.machine, 0.016f, onlyMenus);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(stepState(h.machine, 0.016f, onlyMenus));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(h.log.back(), "1:destroy");
    EXPECT_FALSE(startStates(h.machine, onlyMenus, GoToGame));
}

TEST(StateStep, EndingTheLoopLeavesTheCurrentStateOnce) {
    Harness h;
    startStates(h.machine, h.factory, GoToMenu);
    endStates(h.machine);
    endStates(h.machine);
    EXPECT_EQ(h.log, (Log{"make for 1", "1:enter", "1:leave", "1:destroy"}));
}
