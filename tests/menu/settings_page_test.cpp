// The settings page without MIDI: its sections, the pseudo-devices' rows, the song folder fields
// typed into through the UI, and the way back.
#include <gtest/gtest.h>
#include <imgui.h>

#include "page_fixture.h"

namespace {

using menutest::PageFixture;

class Settings : public PageFixture {
  protected:
    void SetUp() override {
        PageFixture::SetUp();
        openPage(SettingsPage);
        frame();
    }
    void type(char c) {
        ImGui::GetIO().AddInputCharacter(static_cast<unsigned>(c));
        frame();
    }
};

TEST_F(Settings, SectionButtonsChooseTheSectionAndBackOrEscapeReturn) {
    const struct {
        const MenuButton& button;
        uint32_t section;
    } cases[] = {{menu->outputButton, OutputSection},
                 {menu->latencyButton, LatencySection},
                 {menu->songDirectoriesButton, SongDirectoriesSection},
                 {menu->inputButton, InputSection}};
    for (const auto& c : cases) {
        click(int32_t(c.button.x) + 5, int32_t(c.button.y) + 5);
        EXPECT_EQ(menu->settingsSection, c.section);
        EXPECT_EQ(menu->page, SettingsPage);
    }
    click(int32_t(menu->backButton.x) + 5, int32_t(menu->backButton.y) + 5);
    EXPECT_EQ(menu->page, MainMenuPage);

    openPage(SettingsPage, OutputSection);
    frame();
    frame({ScanEscape});
    EXPECT_EQ(menu->page, MainMenuPage);
    EXPECT_EQ(menu->settingsSection, OutputSection) << "the section is kept for the next visit";
}

TEST_F(Settings, WithoutPortsOnlyThePseudoDevicesAreListedAndCurrent) {
    frame();
    auto texts = queuedTexts();
    const auto* keyboard = findText(texts, "Virtual Keyboard");
    ASSERT_NE(keyboard, nullptr);
    EXPECT_EQ(keyboard->y, 72);
    EXPECT_EQ(keyboard->colour, packColour({0.8f, 0.8f, 0, 1})) << "current: yellow";
    ASSERT_NE(findText(texts, "Min Note: 48"), nullptr);
    ASSERT_NE(findText(texts, "Num Notes: 18"), nullptr);

    openPage(SettingsPage, OutputSection);
    input.cursorX = 500;
    input.cursorY = 104; // the synth row's bottom edge
    frame();
    texts = queuedTexts();
    const auto* synth = findText(texts, "Simple Synth");
    ASSERT_NE(synth, nullptr);
    EXPECT_EQ(synth->y, 72);
    EXPECT_EQ(synth->colour, packColour({0, 0.8f, 0, 1})) << "hovered: green";
    EXPECT_EQ(menu->hoveredRow, 0);
}

TEST_F(Settings, TypingIntoAFolderFieldChangesItsPathAndClearsTheScanFlagEachTime) {
    openPage(SettingsPage, SongDirectoriesSection);
    frame();
    click(450, 137); // the first field: "./Songs"
    app.folderScan = true;
    type('X');
    EXPECT_EQ(app.songFolders->children[0]->path, "./SongsX");
    EXPECT_FALSE(app.folderScan);
    app.folderScan = true;
    type('Y');
    EXPECT_EQ(app.songFolders->children[0]->path, "./SongsXY");
    EXPECT_FALSE(app.folderScan) << "every change clears it";
    EXPECT_EQ(app.songFolders->children[1]->path, "./Imported Songs");

    app.folderScan = true;
    frame();
    EXPECT_TRUE(app.folderScan) << "a frame without a change leaves it";
}

TEST_F(Settings, AFolderFieldHoldsAtMost255Bytes) {
    openPage(SettingsPage, SongDirectoriesSection);
    frame();
    click(450, 160); // the second field: "./Imported Songs"
    for (int i = 0; i < 300; ++i) type('a');
    EXPECT_EQ(app.songFolders->children[1]->path.size(), 255u);
}

} // namespace
