#include "shell/main_loop.h"

#include "platform/clock.h"
#include "platform/events.h"
#include "platform/input.h"
#include "platform/window.h"
#include "render/frame.h"
#include "render/sprite_pass.h"
#include "render/text.h"
#include "render/ui_binding.h"

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
};

void runFrame(StateMachine& machine, const StateFactory& factory, Overlay& overlay,
              FrameClock& clock) {
    if (input.initialised) {
        pollKeyboard();
        pollMouse();
    }
    uint64_t now = clockCounter();
    float dt = static_cast<float>(now - clock.previous) / clock.frequency;
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

} // namespace

void runMainLoop(StateMachine& machine, const StateFactory& factory, Overlay& overlay) {
    FrameClock clock;
    clock.frequency = static_cast<float>(clockFrequency());
    clock.previous = clockCounter();
    for (;;) {
        WindowEvent event;
        if (pollWindowEvent(event)) {
            if (event.kind == WindowEvent::Quit) return;
            if (event.kind == WindowEvent::Key && event.virtualKey > 0 && event.virtualKey < 256)
                uiKeyEvent(event.virtualKey, event.down);
            else if (event.kind == WindowEvent::Text)
                uiTextInput(event.text);
            continue;
        }
        runFrame(machine, factory, overlay, clock);
    }
}
