#pragma once
// A menu without a window: the real keyboard view over textures decoded but never uploaded, a UI
// context of its own fed with the scripted mouse, a MIDI output whose messages are recorded, and
// the input snapshots and frame steps chosen by the test.
#include <gtest/gtest.h>
#include <imgui.h>

#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "app/song_folders.h"
#include "game/keyboard_view.h"
#include "game/note_input.h"
#include "game/play_fixture.h"
#include "menu/menu_state.h"
#include "platform/input.h"
#include "render/sprite_pass.h"
#include "render/text.h"
#include "render/text_queue.h"
#include "render/texture_registry.h"
#include "sound/sound_output.h"

namespace menutest {

class PageFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        playtest::useTexturesWithoutGpu();
        ImGui::CreateContext();
        ImGuiIO& io = ImGui::GetIO();
        io.IniFilename = nullptr;
        io.DisplaySize = ImVec2(1920, 1080);
        unsigned char* pixels = nullptr;
        int width = 0, height = 0;
        io.Fonts->GetTexDataAsRGBA32(&pixels, &width, &height);

        app.palette = defaultPalette();
        setUpNoteInput();
        initialiseKeyboardView(view, app, 1920, 1080);
        app.keyboardView = &view;
        app.songFolders = makeSongFolderTree();
        app.sound.inputDevices.assign(1, InputDeviceRecord{});
        app.sound.output = std::make_unique<SoundOutputMidi>(
            [this](const std::vector<uint8_t>& message) { sent.push_back(message); });
        soundMessage.assign(3, 0);
        input = InputDevices{};
        menu = std::make_unique<MenuState>(app, 1920, 1080);
        menu->enter();
    }

    void TearDown() override {
        if (menu) menu->leave();
        menu.reset();
        ImGui::DestroyContext();
        app.sound.output.reset();
        std::memset(activeCounts, 0, sizeof activeCounts);
        soundingTotal = 0;
        emptyQueues();
        releaseTextureRegistry();
        setTextureSource(pngTextureSource());
        input = InputDevices{};
        app.transposition = 0;
    }

    static void emptyQueues() {
        spritePass(1920, 1080); // without a sprite pass these only empty the queues
        textPass(1920, 1080);
    }

    // Opens a page as a click on the main menu would.
    void openPage(uint32_t page, uint32_t section = InputSection) {
        menu->goToPage(page);
        menu->settingsSection = section;
    }

    // One frame as the main loop runs it: keys held now, the mouse at the cursor with its first
    // button down when leftButton is set; the previous frame's snapshot becomes the old one.
    // What the frame queued stays readable until the next frame.
    int32_t frame(std::initializer_list<uint8_t> keys = {}, float dt = 1.0f / 60) {
        emptyQueues();
        std::memcpy(input.previousKeys, input.keys, sizeof input.keys);
        std::memset(input.keys, 0, sizeof input.keys);
        for (uint8_t key : keys) input.keys[key] = 0x80;
        input.previousMouse = input.mouse;
        input.mouse.buttons[0] = leftButton ? 0x80 : 0;
        ImGuiIO& io = ImGui::GetIO();
        io.DeltaTime = 1.0f / 60;
        io.MousePos = ImVec2(float(input.cursorX), float(input.cursorY));
        io.MouseDown[0] = leftButton;
        ImGui::NewFrame();
        const int32_t code = menu->update(dt);
        menu->render();
        ImGui::Render();
        return code;
    }
    // A press of the first mouse button at (x, y), then its release.
    void click(int32_t x, int32_t y) {
        input.cursorX = x;
        input.cursorY = y;
        leftButton = true;
        frame();
        leftButton = false;
        frame();
    }

    // The texts the last frame queued, as UTF-8 (they are ASCII here) with their place and
    // colour.
    struct QueuedText {
        std::string text;
        float x, y;
        uint32_t colour;
    };
    static std::vector<QueuedText> queuedTexts() {
        std::vector<QueuedText> texts;
        for (const TextCommand& command : textQueue())
            texts.push_back({std::string(command.text.begin(), command.text.end()), command.x,
                             command.y, command.colour});
        return texts;
    }
    static const QueuedText* findText(const std::vector<QueuedText>& texts,
                                      const std::string& text) {
        for (const QueuedText& t : texts)
            if (t.text == text) return &t;
        return nullptr;
    }

    AppContext app;
    KeyboardView view;
    std::unique_ptr<MenuState> menu;
    std::vector<std::vector<uint8_t>> sent;
    bool leftButton = false;
};

} // namespace menutest
