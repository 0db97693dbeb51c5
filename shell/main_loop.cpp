#include "shell/main_loop.h"

#include "app/app_context.h"
#include "platform/clock.h"
#include "platform/events.h"
#include "platform/frame_wake.h"
#include "platform/input.h"
#include "platform/window.h"
#include "render/frame.h"
#include "render/sprite_pass.h"
#include "render/text.h"
#include "render/ui_binding.h"
#include "sound/midi_devices.h"

namespace {

void feedUi(float dt) {
    UiFrameInput ui;
    for (int i = 0; i < 3; ++i) ui.mouseDown[i] = input.mouse.buttons[i] & 0x80;
    ui.wheel = static_cast<float>(input.mouse.wheel) / 48.0f;
    ui.mouseX = static_cast<float>(input.cursorX);
    ui.mouseY = static_cast<float>(input.cursorY);
    ui.dt = dt;
    modifierState(ui.ctrl, ui.shift, ui.alt);
    uiNewFrame(ui);
}

bool runStateStep(StateMachine& machine, const StateFactory& factory, Overlay& overlay, float dt) {
    if (stepState(machine, dt, factory)) return true;
    drawDebugMenuBar(overlay.debug, overlay.app);
    drawDebugWindows(overlay.debug);
    std::string rate = advanceFrameRate(overlay.frameRate, dt);
    drawText(rate.c_str(), 0, 20, 20, Colour{1, 1, 0, 1});
    return false;
}

struct FrameClock {
    float frequency = 1;
    uint64_t previous = 0;
    bool rested = false; // the loop slept since the last frame
};

// Drawing stops only after this many frames without any cause to draw: the UI settles a frame
// or two after its input (a window appears a frame after it is asked for), and a worker that
// ends just after a frame has its last word shown.
constexpr int settlingFrames = 3;

// The loop at rest: no frame is drawn until input comes or something animates again.
struct Rest {
    int framesLeft = settlingFrames; // frames still to draw before resting
    uint64_t wakesSeen = 0;          // MIDI input woken frames up to the last frame's start
    uint64_t lastFrame = 0;          // counter reading of the last frame
    uint32_t portChanges = 0;
};

// Whether anything may change the picture from one frame to the next by itself.
bool picturesMove(const StateMachine& machine, const Rest& rest) {
    if (frameWakeCount() != rest.wakesSeen) return true; // MIDI input came during the frame
    if (machine.pending != StayInState) return true;
    if (machine.current && machine.current->animating()) return true;
    return anyInputHeld(input) || uiAnimating();
}

void runFrame(StateMachine& machine, const StateFactory& factory, Overlay& overlay,
              FrameClock& clock) {
    // A window grown past what can be drawn into is brought back first; the frame waits.
    if (!drawableWithinBounds()) return;
    if (input.initialised) {
        pollKeyboard();
        pollMouse();
    }
    uint64_t now = clockCounter();
    float dt = static_cast<float>(now - clock.previous) / clock.frequency;
    // After a rest the step is one frame: the picture and the frame-rate text go on from where
    // they stood, as if no time had passed.
    if (clock.rested) dt = framePeriodSeconds();
    clock.rested = false;
    clock.previous = now;
    feedUi(dt);
    if (runStateStep(machine, factory, overlay, dt)) postQuit();

    int width = 0, height = 0;
    renderSize(width, height);
    drawQueuedFrame(width, height, [&overlay] {
        Sprite& cursor = overlay.cursor;
        cursor.x = static_cast<float>(input.cursorX);
        cursor.y = static_cast<float>(input.cursorY);
        drawSprite(cursor);
    });
    presentWindow();
}

// Sleeps until input comes (a window event or a MIDI message), at most a quarter of a second
// so that a termination signal taken by another thread is still seen; once a second it looks
// whether MIDI ports came or went, which the next frame must show or open.
void rest(Rest& state, FrameClock& clock, AppContext* app) {
    clock.rested = true;
    const uint64_t wakes = frameWakeCount();
    waitForEventOrWake(std::chrono::milliseconds(250));
    if (frameWakeCount() != wakes) {
        state.framesLeft = settlingFrames;
        return;
    }
    const uint64_t now = clockCounter();
    if (static_cast<float>(now - state.lastFrame) < clock.frequency) return;
    state.lastFrame = now;
    if (!app) return;
    const uint32_t changes = midiPortChanges(app->sound);
    if (changes != state.portChanges) state.framesLeft = settlingFrames;
    state.portChanges = changes;
}

} // namespace

void runMainLoop(StateMachine& machine, const StateFactory& factory, Overlay& overlay) {
    FrameClock clock;
    clock.frequency = static_cast<float>(clockFrequency());
    clock.previous = clockCounter();
    Rest resting;
    if (overlay.app) resting.portChanges = midiPortChanges(overlay.app->sound);
    for (;;) {
        WindowEvent event;
        if (pollWindowEvent(event)) {
            if (event.kind == WindowEvent::Quit) return;
            if (event.kind == WindowEvent::Key && event.virtualKey > 0 && event.virtualKey < 256)
                uiKeyEvent(event.virtualKey, event.down);
            else if (event.kind == WindowEvent::Text)
                uiTextInput(event.text);
            resting.framesLeft = settlingFrames;
            continue;
        }
        if (resting.framesLeft <= 0) {
            rest(resting, clock, overlay.app);
            continue;
        }
        resting.wakesSeen = frameWakeCount();
        runFrame(machine, factory, overlay, clock);
        resting.lastFrame = clockCounter();
        if (picturesMove(machine, resting))
            resting.framesLeft = settlingFrames;
        else
            --resting.framesLeft;
    }
}
