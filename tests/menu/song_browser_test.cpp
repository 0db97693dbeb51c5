// The song browser driven by scripted input: rows, clicks, hover, scroll and what it draws.
#include <algorithm>

#include "menu_fixture.h"

namespace {

using namespace menutest;

class SongBrowser : public MenuFixture {
  protected:
    // Opens the browser on a scanned library and waits for the scan.
    void browse(int32_t width = 1920, int32_t height = 1080) {
        open(width, height);
        menu->goToPage(SongBrowserPage);
        frame();
        finishScan();
    }
    const FolderNode& top() { return *app.songFolders->children[0]; }
};

TEST_F(SongBrowser, OpensAtTheRootWithTheTopFoldersAndTheirCounts) {
    makeFile(songs() / "Bach" / "a.mid");
    makeFile(songs() / "Bach" / "b.MIDI");
    std::filesystem::create_directories(songs() / "Empty");
    browse();
    EXPECT_TRUE(app.folderScan);
    EXPECT_EQ(menu->currentNode, app.songFolders.get());

    render();
    const TextCommand* title = findText(u"Current Directory: ../");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->x, 40);
    EXPECT_EQ(title->y, 64);
    EXPECT_EQ(findText(u"../"), nullptr);
    const TextCommand* songsRow = findText(u"Songs");
    const TextCommand* importedRow = findText(u"Imported Songs");
    ASSERT_NE(songsRow, nullptr);
    ASSERT_NE(importedRow, nullptr);
    EXPECT_EQ(songsRow->y, 112);
    EXPECT_EQ(importedRow->y, 160);
    const TextCommand* count = findText(u"2");
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->x, 1750);
    EXPECT_EQ(count->y, 120);
    EXPECT_NE(findText(u"0"), nullptr);
}

TEST_F(SongBrowser, ClicksOpenFoldersGoUpAndTheLaterRowWinsOnASharedEdge) {
    makeFile(songs() / "Bach" / "a.mid");
    makeFile(songs() / "Bach" / "b.mid");
    browse();
    click(300, 120); // "Songs": 104 to 152
    EXPECT_EQ(menu->currentNode, &top());

    // Below the "../" row (104 to 152) comes Bach (152 to 200); both hold y 152.
    moveTo(10, 152);
    frame();
    EXPECT_EQ(menu->hoveredNode, top().children[0].get());
    moveTo(10, 130);
    frame();
    EXPECT_EQ(menu->hoveredNode, app.songFolders.get());
    render();
    EXPECT_EQ(findText(u"../")->colour, packColour(Colour{0, 0.8f, 0, 1}));
    EXPECT_EQ(findText(u"Bach")->colour, packColour(Colour{0.8f, 0.8f, 0.8f, 1}));

    click(1900, 152);
    EXPECT_EQ(menu->currentNode, top().children[0].get());
    click(10, 104);
    EXPECT_EQ(menu->currentNode, &top());
    click(1921, 160); // beyond the window's width
    EXPECT_EQ(menu->currentNode, &top());
}

TEST_F(SongBrowser, RowsAlternateLightAndDarkFromTheFirst) {
    for (const char* name : {"a.mid", "b.mid", "c.mid"}) makeFile(songs() / name);
    browse();
    click(10, 120);
    render();
    std::vector<float> shades;
    for (const SpriteCommand& sprite : spriteQueue())
        if (sprite.destination.right - sprite.destination.left == 3840)
            shades.push_back(sprite.colour.r);
    EXPECT_EQ(shades, (std::vector<float>{0.75f, 0.5f, 0.75f, 0.5f}));
}

TEST_F(SongBrowser, ThirtyEntriesScrollUntilTheLastRowMeetsTheBottom) {
    for (int i = 0; i < 30; ++i) makeFile(songs() / ("folder" + std::to_string(i)) / "a.mid");
    browse(1280, 720);
    click(10, 120);
    ASSERT_EQ(top().children.size(), 30u);

    scrollBy(-1);
    EXPECT_EQ(menu->scroll, 60); // a notch is 120, half of it in pixels
    for (int i = 0; i < 30; ++i) scrollBy(-1);
    // The rows end at 160 + 30 x 48 = 1600 in content coordinates.
    EXPECT_EQ(menu->scroll, 1600 - 720);
    render();
    float lastBottom = 0;
    for (const SpriteCommand& sprite : spriteQueue())
        lastBottom = std::max(lastBottom, float(sprite.destination.bottom));
    EXPECT_LE(lastBottom, 720);
    EXPECT_GT(lastBottom, 720 - 48);
    for (int i = 0; i < 30; ++i) scrollBy(1);
    EXPECT_EQ(menu->scroll, 0);

    // Opening a folder scrolls to its top, and its short list does not scroll at all.
    for (int i = 0; i < 30; ++i) scrollBy(-1);
    click(10, 700);
    EXPECT_EQ(menu->currentNode, top().children[29].get());
    EXPECT_EQ(menu->scroll, 0);
    scrollBy(-3);
    EXPECT_EQ(menu->scroll, 0);
}

TEST_F(SongBrowser, NamesThatAreNoUtf8ShowReplacementCharacters) {
    makeFile(songs() / "\xff\xfe piece.mid");
    browse();
    click(10, 120);
    render();
    EXPECT_NE(findText(u"\uFFFD\uFFFD piece.mid"), nullptr);
}

TEST_F(SongBrowser, AFileOpensTheTrackSetupAndEscapeComesBackToItsFolder) {
    makeFile(songs() / "Bach" / "a.fff");
    browse();
    click(10, 120);
    click(10, 170);
    const FolderNode* bach = top().children[0].get();
    ASSERT_EQ(menu->currentNode, bach);
    menu->importMode = true; // song files open the track setup in import mode too
    click(10, 170);
    EXPECT_EQ(menu->page, TrackSetupPage);
    EXPECT_EQ(menu->currentNode, bach->children[0].get());

    press(ScanEscape);
    EXPECT_EQ(menu->page, SongBrowserPage);
    frame();
    EXPECT_EQ(menu->currentNode, bach);
    render();
    EXPECT_NE(findText(u"a.fff"), nullptr);

    press(ScanEscape);
    EXPECT_EQ(menu->page, MainMenuPage);
}

TEST_F(SongBrowser, AClearedScanFlagReadsTheLibraryAnewOnTheNextVisit) {
    makeFile(songs() / "a.mid");
    browse();
    EXPECT_EQ(top().songCount, 1);
    makeFile(songs() / "b.mid");
    press(ScanEscape);
    menu->goToPage(SongBrowserPage);
    frame();
    finishScan();
    EXPECT_EQ(top().songCount, 1); // the library is read once

    app.folderScan = false;
    press(ScanEscape);
    menu->goToPage(SongBrowserPage);
    frame();
    finishScan();
    EXPECT_EQ(top().songCount, 2);
    EXPECT_EQ(top().children.size(), 2u);

    // A scan cut short (by the game starting) reads the library again on the next visit.
    app.folderScan = true;
    menu->scanFinished = false;
    menu->scanThread = std::thread([] {});
    menu->leave();
    EXPECT_FALSE(app.folderScan);
}

} // namespace
