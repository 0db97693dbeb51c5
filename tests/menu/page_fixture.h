#pragma once
// A menu without a window: the play fixture's keyboard view over textures decoded but never
// uploaded and its recorded MIDI output, a UI context of its own fed with the scripted mouse, and
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
#include "game/play_fixture.h"
#include "menu/menu_state.h"
#include "piano/keyboard_view.h"
#include "piano/note_readers.h"
#include "platform/input.h"
#include "render/sprite_pass.h"
#include "render/text.h"
#include "render/text_queue.h"
#include "render/texture_registry.h"
#include "sound/sound_output.h"
#include "support/ui_context.h"

namespace menutest {

// The play fixture's application without a play, and a menu on it.
class PageFixture : public playtest::PlayFixture {
  protected:
    void SetUp() override {
        PlayFixture::SetUp();
        createTestUiContext();
        app.songFolders = makeSongFolderTree();
        menu = std::make_unique<MenuState>(app, 1920, 1080);
        menu->enter();
    }

    void TearDown() override {
        if (menu) menu->leave();
        menu.reset();
        ImGui::DestroyContext();
        PlayFixture::TearDown();
        app.transposition = 0;
    }

    // Opens a page as a click on the main menu would.
    void openPage(uint32_t page, uint32_t section = InputSection) {
        menu->goToPage(page);
        menu->settingsSection = section;
    }

    // One frame as the main loop runs it, with the play fixture's snapshots and the UI fed the
    // mouse at the cursor. What the frame queued stays readable until the next frame.
    int32_t frame(std::initializer_list<uint8_t> keys = {}, float dt = playtest::frameStep) {
        emptyQueues();
        nextSnapshots(keys);
        ImGuiIO& io = ImGui::GetIO();
        io.DeltaTime = playtest::frameStep;
        io.MousePos = ImVec2(float(input.cursorX), float(input.cursorY));
        io.MouseDown[0] = leftButton;
        ImGui::NewFrame();
        const int32_t code = menu->update(dt);
        menu->render();
        ImGui::Render();
        return code;
    }
    // A press of the first mouse button at (x, y), then its release; the code of the press's
    // frame.
    int32_t click(int32_t x, int32_t y) {
        input.cursorX = x;
        input.cursorY = y;
        leftButton = true;
        const int32_t code = frame();
        leftButton = false;
        frame();
        return code;
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

    std::unique_ptr<MenuState> menu;
};

} // namespace menutest
