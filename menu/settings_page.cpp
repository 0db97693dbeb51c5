// The settings page: the MIDI input with the range learned for it, the MIDI output, the latency
// with its test, and the song folders, each section chosen by a button on the left.
#include <imgui.h>

#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "app/preferences.h"
#include "app/song_folders.h"
#include "app/state.h"
#include "menu/menu_colours.h"
#include "menu/menu_pages.h"
#include "piano/keyboard_view.h"
#include "piano/note_readers.h"
#include "platform/input.h"
#include "render/text.h"
#include "sound/midi_devices.h"

namespace {

const Colour rangeColour{0.75f, 0.75f, 0.75f, 1};
const Colour dimmed{0.5f, 0.5f, 0.5f, 1};
const Colour white{1, 1, 1, 1};

constexpr float rowLeft = 384, rowRight = 640, rowTop = 72, rowHeight = 32;
// Port names end before the key range column at 684 ("Client Name:Port Name 128:0" is long).
constexpr float nameWidth = 684 - rowLeft - 12;

// The row whose span holds y, edges included; a shared edge belongs to the later row. -1 when
// the cursor is outside every row.
int rowAt(float x, float y, int rows) {
    if (x < rowLeft || x > rowRight) return -1;
    int hit = -1;
    for (int row = 0; row < rows; ++row) {
        const float top = rowTop + rowHeight * static_cast<float>(row);
        if (y >= top && y <= top + rowHeight) hit = row;
    }
    return hit;
}

MenuButton* sectionButtons(MenuPages& menu, int section) {
    MenuButton* buttons[4] = {&menu.inputButton, &menu.outputButton, &menu.latencyButton,
                              &menu.songDirectoriesButton};
    return buttons[section];
}

// Rows from the top: "Virtual Keyboard", then input port i.
void updateInputSection(MenuPages& menu, float x, float y, bool click) {
    AppContext& app = *menu.app;
    const auto ports = static_cast<int>(inputPortDevices(app.sound).size());
    const int row = rowAt(x, y, ports + 1);
    if (row >= 0) {
        if (click)
            openInputPort(app.sound, row == 0 ? noPort : static_cast<uint32_t>(row - 1));
        else
            menu.hoveredRow = row;
    }
    // The player can play here to widen the device's learned range and see it.
    readMenuKeyboard(app, input);
    readMenuMidiInput(app);
}

// Rows from the top: output port i, then "Simple Synth".
void updateOutputSection(MenuPages& menu, float x, float y, bool click) {
    AppContext& app = *menu.app;
    const auto ports = static_cast<int>(outputPortDevices(app.sound).size());
    const int row = rowAt(x, y, ports + 1);
    if (row < 0) return;
    const bool simpleSynth = row == ports;
    if (click)
        openOutputPort(app.sound, simpleSynth ? noPort : static_cast<uint32_t>(row));
    else
        menu.hoveredRow = simpleSynth ? 0 : row + 1;
}

const Colour& rowTextColour(bool hovered, bool current) {
    return hovered ? hoveredTextColour : current ? currentTextColour : plainTextColour;
}

void renderInputSection(MenuPages& menu) {
    AppContext& app = *menu.app;
    const auto size = static_cast<float>(menu.textSize);
    drawText("Virtual Keyboard", rowLeft, rowTop, size,
             rowTextColour(menu.hoveredRow == 0, app.sound.inputPort == -1));
    const std::vector<std::string> devices = inputPortDevices(app.sound);
    for (size_t i = 0; i < devices.size(); ++i) {
        const auto row = static_cast<int32_t>(i);
        drawText(fitText(devices[i], size, nameWidth).c_str(), rowLeft,
                 rowTop + rowHeight * static_cast<float>(i + 1), size,
                 rowTextColour(menu.hoveredRow == row + 1, app.sound.inputPort == row));
    }
    if (app.sound.selectedInputDevice < app.sound.inputDevices.size()) {
        const InputDeviceRecord& record = app.sound.inputDevices[app.sound.selectedInputDevice];
        drawText(("Min Note: " + std::to_string(record.minNote)).c_str(), 684, 72, size,
                 rangeColour);
        drawText(("Max Note: " + std::to_string(record.maxNote)).c_str(), 684, 104, size,
                 rangeColour);
        drawText(("Num Notes: " + std::to_string(record.noteSpan)).c_str(), 684, 136, size,
                 rangeColour);
    }
    drawKeys(*menu.keyboardView, *menu.app);
}

void renderOutputSection(MenuPages& menu) {
    AppContext& app = *menu.app;
    const auto size = static_cast<float>(menu.textSize);
    const std::vector<std::string> devices = outputPortDevices(app.sound);
    for (size_t i = 0; i < devices.size(); ++i) {
        const auto row = static_cast<int32_t>(i);
        drawText(fitText(devices[i], size, nameWidth).c_str(), rowLeft,
                 rowTop + rowHeight * static_cast<float>(i), size,
                 rowTextColour(menu.hoveredRow == row + 1, app.sound.outputPort == row));
    }
    drawText("Simple Synth", rowLeft, rowTop + rowHeight * static_cast<float>(devices.size()), size,
             rowTextColour(menu.hoveredRow == 0, app.sound.outputPort == -1));
}

void renderLatencySection(MenuPages& menu) {
    menu.testButton.normal.colour = white;
    menu.testButton.pressedSprite.colour = white;
    drawButton(menu.testButton, input);
    char line[64];
    std::snprintf(line, sizeof line, "Latency: %f seconds", static_cast<double>(menu.app->latency));
    drawText(line, rowLeft, rowTop, static_cast<float>(menu.textSize), plainTextColour);
}

// Top folder paths come from the defaults or from this field, so 255 bytes always hold them; a
// longer one would be cut, never overrun.
void renderSongDirectoriesSection(MenuPages& menu) {
    AppContext& app = *menu.app;
    ImGui::SetNextWindowPos(ImVec2(384, 120), ImGuiCond_Always);
    ImGui::SetNextWindowSize(ImVec2(500, 500), ImGuiCond_Always);
    ImGui::Begin("Main Menu", &menu.menuWindowOpen, menu.menuWindowFlags);
    if (app.songFolders) {
        std::vector<std::unique_ptr<FolderNode>>& topFolders = app.songFolders->children;
        for (size_t i = 0; i < topFolders.size(); ++i) {
            FolderNode& folder = *topFolders[i];
            ImGui::PushID(static_cast<int>(i));
            char buffer[256];
            std::snprintf(buffer, sizeof buffer, "%s", folder.path.c_str());
            if (ImGui::InputText("Text", buffer, sizeof buffer, 0)) {
                // A scan still running reads the top folders' paths under the folder lock.
                std::lock_guard lock(app.folderLock);
                folder.path = buffer;
                app.folderScan = false; // the browser scans the library again on its next visit
            }
            ImGui::PopID();
        }
    }
    ImGui::End();
}

} // namespace

int32_t updateSettingsPage(MenuPages& menu, float dt) {
    if (menu.pageEntered) {
        menu.pageEntered = false;
        menu.hoveredRow = -1;
    }
    for (int section = 0; section < 4; ++section)
        updateButton(*sectionButtons(menu, section), input);
    updateButton(menu.backButton, input);
    for (int section = 0; section < 4; ++section)
        if (buttonClicked(*sectionButtons(menu, section), input)) {
            menu.settingsSection = static_cast<uint32_t>(section);
            break;
        }

    const auto x = static_cast<float>(input.cursorX), y = static_cast<float>(input.cursorY);
    const bool click = mouseButtonPressed(input, 0);
    menu.hoveredRow = -1;
    switch (menu.settingsSection) {
    case InputSection:
        updateInputSection(menu, x, y, click);
        break;
    case OutputSection:
        updateOutputSection(menu, x, y, click);
        break;
    case LatencySection:
        updateLatencyTest(menu, dt);
        break;
    default:
        break; // the song folder fields are handled in the render
    }

    if (keyPressed(input, ScanEscape) || buttonClicked(menu.backButton, input)) {
        menu.goToPage(MainMenuPage);
        savePreferences(*menu.app); // the song folders as edited
    }
    // The test pauses away from its section; its click must not sound on meanwhile.
    if (menu.settingsSection != LatencySection || menu.page != SettingsPage) stopLatencyClick(menu);
    return StayInState;
}

void renderSettingsPage(MenuPages& menu) {
    drawText("Settings", 1000, 20, static_cast<float>(menu.titleSize), plainTextColour);
    for (int section = 0; section < 4; ++section) {
        MenuButton& button = *sectionButtons(menu, section);
        const bool selected = static_cast<uint32_t>(section) == menu.settingsSection;
        button.normal.colour = selected ? white : dimmed;
        button.pressedSprite.colour = selected ? white : dimmed;
    }
    switch (menu.settingsSection) {
    case InputSection:
        renderInputSection(menu);
        break;
    case OutputSection:
        renderOutputSection(menu);
        break;
    case LatencySection:
        renderLatencySection(menu);
        break;
    case SongDirectoriesSection:
        renderSongDirectoriesSection(menu);
        break;
    default:
        break;
    }
    for (int section = 0; section < 4; ++section) drawButton(*sectionButtons(menu, section), input);
    drawButton(menu.backButton, input);
}
