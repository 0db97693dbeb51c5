// The program's start-up and main loop around a state made for the scaling tests: it marks the
// frame's four corners and has a button at a known place that toggles full screen.
#include <imgui.h>

#include <memory>

#include "app/state.h"
#include "platform/input.h"
#include "platform/window.h"
#include "render/sprite_pass.h"
#include "scaling_probe_layout.h"
#include "shell/main_loop.h"
#include "shell/startup.h"

namespace {

class ProbeState : public State {
  public:
    void enter() override { loadSprite(pixel, "Pixel.png"); }
    void leave() override {}
    int32_t update(float) override {
        return keyPressed(input, ScanEscape) ? QuitProgram : StayInState;
    }
    void render() override {
        for (const probe::Marker& marker : probe::markers) {
            Rect rect{marker.x, marker.y, marker.x + probe::markerSide,
                      marker.y + probe::markerSide};
            queueSprite(pixel.textureIndex, rect,
                        Colour{marker.r / 255.0f, marker.g / 255.0f, marker.b / 255.0f, 1});
        }
        const probe::Box& box = probe::button;
        ImGui::SetNextWindowPos(ImVec2(float(box.left), float(box.top)));
        ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(0, 0));
        ImGui::PushStyleVar(ImGuiStyleVar_WindowBorderSize, 0);
        ImGui::PushStyleVar(ImGuiStyleVar_FrameRounding, 0);
        ImGui::PushStyleColor(ImGuiCol_Button, ImVec4(0, 0, 1, 1));
        ImGui::PushStyleColor(ImGuiCol_ButtonHovered, ImVec4(0, 1, 0, 1));
        ImGui::PushStyleColor(ImGuiCol_ButtonActive, ImVec4(1, 1, 0, 1));
        ImGui::Begin("Probe", nullptr,
                     ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoBackground |
                         ImGuiWindowFlags_NoMove | ImGuiWindowFlags_AlwaysAutoResize |
                         ImGuiWindowFlags_NoSavedSettings);
        if (ImGui::Button("##fullscreen",
                          ImVec2(float(box.right - box.left), float(box.bottom - box.top))))
            toggleFullscreen();
        ImGui::End();
        ImGui::PopStyleColor(3);
        ImGui::PopStyleVar(3);
    }

  private:
    Sprite pixel;
};

std::unique_ptr<State> makeState(int32_t code) {
    if (code == GoToMenu || code == GoToGame) return std::make_unique<ProbeState>();
    return nullptr;
}

} // namespace

int main() {
    Overlay overlay;
    if (!startWindowAndDevices(overlay.cursor)) return 1;
    StateMachine machine;
    if (startStates(machine, makeState, GoToMenu)) runMainLoop(machine, makeState, overlay);
    endStates(machine);
    stopWindowAndDevices();
    return 0;
}
