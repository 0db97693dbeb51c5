#pragma once
// The menu without a window: the program's textures decoded but never uploaded, a library whose
// top folders lie in a private folder, and input snapshots scripted frame by frame.
#include <gtest/gtest.h>
#include <imgui.h>

#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "game/keyboard_view.h"
#include "game/note_input.h"
#include "game/play_fixture.h"
#include "menu/menu_state.h"
#include "platform/input.h"
#include "render/sprite_pass.h"
#include "render/text.h"
#include "render/text_queue.h"
#include "render/texture_registry.h"
#include "render/texture_source.h"
#include "support/temp_folder.h"
#include "support/ui_context.h"

namespace menutest {

namespace fs = std::filesystem;

inline void makeFile(const fs::path& path, const std::vector<uint8_t>& bytes = {}) {
    fs::create_directories(path.parent_path());
    writeBytes(path, bytes);
}

class MenuFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        playtest::useTexturesWithoutGpu();
        app.palette = defaultPalette();
        setUpNoteInput();
        initialiseKeyboardView(view, app, 1920, 1080);
        app.keyboardView = &view;
        app.songFolders = makeSongFolderTree();
        app.songFolders->children[0]->path = songs().string();
        app.songFolders->children[1]->path = (library.path / "Imported Songs").string();
        input = InputDevices{};
        createTestUiContext();
    }

    void TearDown() override {
        if (menu) menu->leave();
        menu.reset();
        ImGui::DestroyContext();
        emptyQueues();
        releaseTextureRegistry();
        setTextureSource(pngTextureSource());
        input = InputDevices{};
    }

    static void emptyQueues() {
        spritePass(1920, 1080); // without a sprite pass these only empty the queues
        textPass(1920, 1080);
    }

    fs::path songs() const { return library.path / "Songs"; }

    void open(int32_t width = 1920, int32_t height = 1080) {
        menu = std::make_unique<MenuState>(app, width, height);
        menu->enter();
    }

    // One frame as the main loop runs it, the UI's included: keys is what is held now; the cursor,
    // the first mouse button and the wheel are the fixture's fields, and the wheel turns for this
    // frame only. The queues then hold what the frame drew.
    int32_t frame(std::initializer_list<uint8_t> keys = {}) {
        std::memcpy(input.previousKeys, input.keys, sizeof input.keys);
        std::memset(input.keys, 0, sizeof input.keys);
        for (uint8_t key : keys) input.keys[key] = 0x80;
        input.previousMouse = input.mouse;
        input.mouse.buttons[0] = leftButton ? 0x80 : 0;
        input.mouse.wheel = wheel;
        input.cursorX = cursorX;
        input.cursorY = cursorY;
        wheel = 0;
        ImGuiIO& io = ImGui::GetIO();
        io.DeltaTime = 1.0f / 60;
        io.MousePos = ImVec2(float(cursorX), float(cursorY));
        io.MouseDown[0] = leftButton;
        emptyQueues();
        ImGui::NewFrame();
        const int32_t code = menu->update(1.0f / 60);
        menu->render();
        ImGui::Render();
        return code;
    }
    int32_t press(uint8_t key) {
        const int32_t code = frame({key});
        frame();
        return code;
    }
    // The first mouse button goes down at (x, y) in one frame; the code that frame returned.
    // A frame with the button up comes first, so the press always counts.
    int32_t click(int32_t x, int32_t y) {
        cursorX = x;
        cursorY = y;
        if (leftButton) {
            leftButton = false;
            frame();
        }
        leftButton = true;
        return frame();
    }
    // A click released in the next frame, as the UI's buttons want it; the code of that frame.
    int32_t uiClick(int32_t x, int32_t y) {
        click(x, y);
        leftButton = false;
        return frame();
    }
    int32_t scrollBy(int32_t notches) {
        wheel = notches * 120;
        return frame();
    }

    // The menu's drawing once more, without an update.
    void render() {
        emptyQueues();
        ImGui::NewFrame();
        menu->render();
        ImGui::Render();
    }
    const TextCommand* findText(const std::u16string& text) const {
        for (const TextCommand& command : textQueue())
            if (command.text == text) return &command;
        return nullptr;
    }

    // Waits until the scan this menu started has ended.
    void finishScan() {
        if (menu->scanThread.joinable()) menu->scanThread.join();
    }

    TempFolder library;
    AppContext app;
    KeyboardView view;
    std::unique_ptr<MenuState> menu;
    int32_t cursorX = 0, cursorY = 0, wheel = 0;
    bool leftButton = false;
};

} // namespace menutest
