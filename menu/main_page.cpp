// The main menu: the four UI buttons, the current MIDI devices, and the keyboard the player can
// already play and shift by octaves.
#include <imgui.h>

#include <string>
#include <vector>

#include "app/app_context.h"
#include "app/state.h"
#include "menu/menu_colours.h"
#include "menu/menu_pages.h"
#include "piano/keyboard_view.h"
#include "piano/note_readers.h"
#include "platform/input.h"
#include "render/text.h"
#include "sound/midi_devices.h"

namespace {

std::string inputName(AppContext& app) {
    if (midiInputOpen(app.sound)) {
        const std::vector<std::string> devices = inputPortDevices(app.sound);
        const auto port = static_cast<size_t>(app.sound.inputPort);
        if (app.sound.inputPort >= 0 && port < devices.size()) return devices[port];
    }
    return "Virtual Keyboard";
}

std::string outputName(AppContext& app) {
    if (app.sound.outputPort >= 0) {
        const std::vector<std::string> devices = outputPortDevices(app.sound);
        const auto port = static_cast<size_t>(app.sound.outputPort);
        if (port < devices.size()) return devices[port];
    }
    return "Simple Synth";
}

ImVec4 hsvColour(float h, float s, float v) {
    ImVec4 colour(0, 0, 0, 1);
    ImGui::ColorConvertHSVtoRGB(h, s, v, colour.x, colour.y, colour.z);
    return colour;
}

} // namespace

int32_t updateMainPage(MenuPages& menu) {
    AppContext& app = *menu.app;
    if (menu.pageEntered) {
        menu.pageEntered = false;
        menu.currentNode = app.songFolders.get();
        app.transposition = 0;
    }
    readMenuKeyboard(app, input);
    readMenuMidiInput(app);
    shiftOctave(app, input);
    if (keyPressed(input, ScanEscape) || menu.quitRequested) {
        std::lock_guard lock(app.songLock);
        clear(app.song);
        return QuitProgram;
    }
    return StayInState;
}

void renderMainPage(MenuPages& menu) {
    ImGui::SetNextWindowPos(ImVec2(40, 120), ImGuiCond_Always);
    ImGui::SetNextWindowSize(ImVec2(200, 220), ImGuiCond_Always);
    ImGui::Begin("Main Menu", &menu.menuWindowOpen, menu.menuWindowFlags);
    ImGui::PushStyleColor(ImGuiCol_Button, hsvColour(0.7f, 0.5f, 0.5f));
    ImGui::PushStyleColor(ImGuiCol_ButtonHovered, hsvColour(0.7f, 0.7f, 0.7f));
    ImGui::PushStyleColor(ImGuiCol_ButtonActive, hsvColour(0.7f, 0.9f, 0.9f));
    const ImVec2 buttonSize(menu.buttonSize[0], menu.buttonSize[1]);
    const ImVec2 gapSize(menu.gapSize[0], menu.gapSize[1]);
    if (ImGui::Button("Play", buttonSize)) {
        menu.importMode = false;
        menu.goToPage(SongBrowserPage);
    }
    ImGui::Dummy(gapSize);
    if (ImGui::Button("Import", buttonSize)) {
        menu.importMode = true;
        menu.goToPage(SongBrowserPage);
    }
    ImGui::Dummy(gapSize);
    if (ImGui::Button("Settings", buttonSize)) menu.goToPage(SettingsPage);
    ImGui::Dummy(gapSize);
    if (ImGui::Button("Quit", buttonSize)) menu.quitRequested = true;
    ImGui::PopStyleColor(3);
    ImGui::End();

    const auto size = static_cast<float>(menu.textSize);
    drawText(("Input: " + inputName(*menu.app)).c_str(), 364, 20, size, plainTextColour);
    drawText(("Output: " + outputName(*menu.app)).c_str(), 364, 52, size, plainTextColour);
    drawKeys(*menu.keyboardView, *menu.app);
}
