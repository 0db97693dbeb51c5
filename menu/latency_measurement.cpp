// The latency test: a click once a second through the current sound output; the player taps along
// and the mean distance of the last ten taps from the nearest clicks becomes the game's latency.
#include <cmath>

#include "app/app_context.h"
#include "app/preferences.h"
#include "menu/menu_pages.h"
#include "platform/input.h"
#include "sound/sound_system.h"

namespace {

constexpr float clickPeriod = 1.0f;  // seconds; the beat phase runs from 0 to 1
constexpr float clickLength = 0.05f; // seconds
constexpr uint8_t clickKey = 48;
constexpr uint32_t ignoredTaps = 3; // while the player finds the beat
constexpr size_t averagedTaps = 10;
constexpr float testEnd = 2.5f; // seconds without a tap

void sendClick(AppContext& app, bool on) {
    soundNote(app.sound, 0, clickKey, 127, on);
}

void startTest(MenuPages& menu) {
    menu.testRunning = true;
    menu.clickSounding = false;
    menu.tapCount = 0;
    menu.windowCount = 0;
    menu.errorSum = 0;
    menu.beatPhase = 0;
    menu.timeSinceTap = 0;
    menu.tapErrors.clear();
    menu.testButton.label = "Testing...";
}

// A tap measured against the nearest click; the first taps only find the beat.
void countTap(MenuPages& menu) {
    ++menu.tapCount;
    menu.timeSinceTap = 0;
    if (menu.tapCount <= ignoredTaps) return;
    float error = menu.beatPhase;
    if (error >= 0.5f * clickPeriod) error -= clickPeriod;
    error = std::fabs(error);
    menu.errorSum += error;
    menu.tapErrors.push_back(error);
    if (menu.tapErrors.size() > averagedTaps) {
        menu.errorSum -= menu.tapErrors.front();
        menu.tapErrors.pop_front();
    } else {
        ++menu.windowCount;
    }
    menu.app->latency = menu.errorSum / static_cast<float>(menu.windowCount);
}

} // namespace

void updateLatencyTest(MenuPages& menu, float dt) {
    AppContext& app = *menu.app;
    updateButton(menu.testButton, input);
    // The click that starts the test is also its first tap.
    if (!menu.testRunning && buttonClicked(menu.testButton, input)) startTest(menu);
    if (!menu.testRunning) return;

    menu.timeSinceTap += dt;
    menu.beatPhase += dt;
    if (keyPressed(input, ScanSpace) || mouseButtonPressed(input, 0)) countTap(menu);

    if (menu.clickSounding && menu.beatPhase >= clickLength) {
        sendClick(app, false);
        menu.clickSounding = false;
    } else if (menu.beatPhase >= clickPeriod) {
        menu.beatPhase -= clickPeriod;
        sendClick(app, true);
        menu.clickSounding = true;
    }

    if (menu.timeSinceTap > testEnd) {
        menu.testRunning = false;
        menu.testButton.label = "Test";
        stopLatencyClick(menu);
        savePreferences(app);
    }
}

void stopLatencyClick(MenuPages& menu) {
    if (!menu.clickSounding) return;
    sendClick(*menu.app, false);
    menu.clickSounding = false;
}
