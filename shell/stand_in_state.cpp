#include "shell/stand_in_state.h"

#include <imgui.h>

#include <algorithm>

#include "app/app_context.h"
#include "platform/input.h"
#include "render/shapes.h"
#include "render/text.h"

void StandInState::enter() {
    const char* names[4] = {"NoteWhite.png", "NoteBlack.png", "FolderIcon.png", "TrackBox.png"};
    float x = 100;
    for (int i = 0; i < 4; ++i) {
        loadSprite(sprites[i], names[i]);
        sprites[i].x = x;
        sprites[i].y = 200;
        x += sprites[i].width + 40;
    }
}

int32_t StandInState::update(float dt) {
    seconds += dt;
    return keyPressed(input, ScanEscape) ? QuitProgram : StayInState;
}

void StandInState::render() {
    float right = 100, bottom = 200;
    for (Sprite& sprite : sprites) {
        drawSprite(sprite);
        right = std::max(right, sprite.x + sprite.width * sprite.scaleX);
        bottom = std::max(bottom, sprite.y + sprite.height * sprite.scaleY);
    }
    const Colour& frame = application ? application->palette[1] : Colour{0, 1, 0, 1};
    addRectangleOutline(80, 180, right + 20, bottom + 20, frame);
    drawText("Cadenzio", 100, 100, 48, Colour{1, 1, 1, 1});
    drawText("Press Escape to quit.", 100, bottom + 40, 24, Colour{0.8f, 0.8f, 0.8f, 1});

    ImGui::SetNextWindowPos(ImVec2(1500, 100), ImGuiCond_FirstUseEver);
    ImGui::SetNextWindowSize(ImVec2(300, 100), ImGuiCond_FirstUseEver);
    ImGui::Begin("Cadenzio");
    ImGui::Text("Running for %.1f s", static_cast<double>(seconds));
    ImGui::End();
}
