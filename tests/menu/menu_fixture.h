#pragma once
// The menu on a library whose top folders lie in a private folder, for the browser and the track
// setup page.
#include <filesystem>
#include <string>
#include <vector>

#include "page_fixture.h"
#include "support/temp_folder.h"

namespace menutest {

namespace fs = std::filesystem;

inline void makeFile(const fs::path& path, const std::vector<uint8_t>& bytes = {}) {
    fs::create_directories(path.parent_path());
    writeBytes(path, bytes);
}

class MenuFixture : public PageFixture {
  protected:
    void SetUp() override {
        PageFixture::SetUp();
        app.songFolders->children[0]->path = songs().string();
        app.songFolders->children[1]->path = (library.path / "Imported Songs").string();
    }

    fs::path songs() const { return library.path / "Songs"; }

    // A fresh menu laid out for a frame of this size.
    void open(int32_t width = 1920, int32_t height = 1080) {
        if (menu) menu->leave();
        menu = std::make_unique<MenuState>(app, width, height);
        menu->enter();
    }

    // The cursor to (x, y) for the next frames.
    void moveTo(int32_t x, int32_t y) {
        input.cursorX = x;
        input.cursorY = y;
    }
    int32_t press(uint8_t key) {
        const int32_t code = frame({key});
        frame();
        return code;
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
    static const TextCommand* findText(const std::u16string& text) {
        for (const TextCommand& command : textQueue())
            if (command.text == text) return &command;
        return nullptr;
    }

    // Waits until the scan this menu started has ended.
    void finishScan() {
        if (menu->scanThread.joinable()) menu->scanThread.join();
    }

    TempFolder library;
};

} // namespace menutest
