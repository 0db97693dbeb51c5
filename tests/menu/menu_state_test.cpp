// The menu state itself: what enter lays out, the page machine, and leaving with its threads.
#include "menu_fixture.h"

namespace {

using namespace menutest;

// The main menu's UI buttons, 128 x 32 from (48, 128), 20 pixels apart.
constexpr int32_t uiButtonX = 100;
constexpr int32_t playY = 140, importY = 200, settingsY = 250, quitY = 310;

class Menu : public MenuFixture {
  protected:
    // Through "Play" into the first top folder, then its first row.
    void browseToFirstRow() {
        click(uiButtonX, playY);
        ASSERT_EQ(menu->page, SongBrowserPage);
        frame(); // the browser's first frame starts the scan
        finishScan();
        click(10, 120);
        click(10, 170);
    }
};

TEST_F(Menu, EnterScalesTheButtonsToTheFrame) {
    open(1280, 720);
    EXPECT_EQ(menu->width, 1280);
    EXPECT_EQ(menu->height, 720);
    EXPECT_FLOAT_EQ(menu->scaleY, 720.0f / 1080);
    EXPECT_NEAR(menu->backButton.x, 26.67, 0.01);
    EXPECT_NEAR(menu->backButton.y, 666.67, 0.01);
    EXPECT_EQ(menu->backButton.label, "Back");
    EXPECT_EQ(menu->backButton.normal.width, 288); // the buttons themselves keep their size
    EXPECT_EQ(menu->watchAndListenButton.label, "Watch and Listen");
    EXPECT_NEAR(menu->watchAndListenButton.x, 600, 0.01);
    EXPECT_NEAR(menu->watchAndListenButton.y, 333.33, 0.01);
    EXPECT_EQ(menu->rowBackground.scaleX, 2560);
    EXPECT_EQ(menu->currentNode, app.songFolders.get());
    EXPECT_EQ(menu->page, MainMenuPage);
    EXPECT_TRUE(menu->pageEntered);
    // The whole keyboard, whatever a song laid out before.
    EXPECT_EQ(view.startNote, 0u);
    EXPECT_EQ(view.endNote, 127u);

    // The hit rectangle reaches from (26.67, 666.67) to (314.67, 697.67).
    InputDevices at;
    for (const auto& [x, y, inside] :
         {std::tuple{27, 667, true}, std::tuple{314, 697, true}, std::tuple{26, 680, false},
          std::tuple{315, 680, false}, std::tuple{100, 666, false}, std::tuple{100, 698, false}}) {
        at.cursorX = x;
        at.cursorY = y;
        updateButton(menu->backButton, at);
        EXPECT_EQ(menu->backButton.hovered, inside) << x << ", " << y;
    }
}

TEST_F(Menu, EscapeGoesBackOnePage) {
    makeFile(songs() / "a.mid");
    open();
    frame();
    browseToFirstRow();
    ASSERT_EQ(menu->page, TrackSetupPage);
    EXPECT_EQ(press(ScanEscape), StayInState);
    EXPECT_EQ(menu->page, SongBrowserPage);
    EXPECT_EQ(press(ScanEscape), StayInState);
    EXPECT_EQ(menu->page, MainMenuPage);
    menu->goToPage(SettingsPage);
    EXPECT_EQ(press(ScanEscape), StayInState);
    EXPECT_EQ(menu->page, MainMenuPage);
    EXPECT_EQ(press(ScanEscape), QuitProgram);
}

TEST_F(Menu, QuitQuitsOnTheFrameAfterTheClickAndClearsTheSong) {
    open();
    app.song.tracks.resize(2);
    frame();
    EXPECT_EQ(click(uiButtonX, quitY), StayInState);
    EXPECT_TRUE(menu->quitRequested);
    EXPECT_FALSE(app.song.tracks.empty());
    EXPECT_EQ(frame(), QuitProgram);
    EXPECT_TRUE(app.song.tracks.empty());
}

TEST_F(Menu, TheMainMenuButtonsOpenTheirPages) {
    open();
    frame();
    click(uiButtonX, settingsY);
    EXPECT_EQ(menu->page, SettingsPage);
    press(ScanEscape);
    click(uiButtonX, importY);
    EXPECT_EQ(menu->page, SongBrowserPage);
    EXPECT_TRUE(menu->importMode);
    press(ScanEscape);
    click(uiButtonX, playY);
    EXPECT_EQ(menu->page, SongBrowserPage);
    EXPECT_FALSE(menu->importMode);
}

TEST_F(Menu, AnUnknownPageStays) {
    open();
    menu->page = 7;
    EXPECT_EQ(press(ScanEscape), StayInState);
    render();
    EXPECT_EQ(menu->page, 7u);
}

TEST_F(Menu, TheMainMenuAndANewMenuOpenTheBrowserAtTheRoot) {
    makeFile(songs() / "Bach" / "a.mid");
    open();
    frame();
    browseToFirstRow();
    ASSERT_EQ(menu->currentNode, app.songFolders->children[0]->children[0].get());
    press(ScanEscape);
    click(uiButtonX, playY);
    EXPECT_EQ(menu->currentNode, app.songFolders.get());

    // Into the track setup, and on to play.
    click(10, 120);
    click(10, 170);
    click(10, 170);
    ASSERT_EQ(menu->page, TrackSetupPage);
    frame();
    if (menu->loadThread.joinable()) menu->loadThread.join(); // the game waits for the song
    EXPECT_EQ(click(1000, 510), GoToGame);
    EXPECT_EQ(app.playMode, PlayMode::WatchAndListen);
    menu->leave();
    EXPECT_FALSE(menu->loadThread.joinable());
    EXPECT_FALSE(menu->scanThread.joinable());

    // Back from the game: a fresh menu on the main page, and the library as it was left.
    open();
    EXPECT_EQ(menu->page, MainMenuPage);
    frame();
    click(uiButtonX, playY);
    EXPECT_EQ(menu->page, SongBrowserPage);
    EXPECT_FALSE(menu->scanThread.joinable()); // no second scan
    EXPECT_EQ(menu->currentNode, app.songFolders.get());
    EXPECT_EQ(app.songFolders->children[0]->songCount, 1);
}

TEST_F(Menu, LeavingStopsAScanThatIsStillRunning) {
    for (int f = 0; f < 50; ++f)
        for (int i = 0; i < 20; ++i)
            makeFile(songs() / std::to_string(f) / (std::to_string(i) + ".mid"));
    open();
    menu->goToPage(SongBrowserPage);
    frame();
    menu->leave();
    EXPECT_FALSE(menu->scanThread.joinable());
    // What was read stays; a scan cut short is done again on the next visit to the browser.
    EXPECT_EQ(app.folderScan, menu->scanFinished.load());
}

} // namespace
