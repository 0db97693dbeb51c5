// The browser walks the library while the scan thread is still filling it: every frame hit-tests
// and draws the rows the scan is adding to. ThreadSanitizer checks the folder lock's discipline.
#include "menu_fixture.h"

namespace {

using namespace menutest;

class BrowseDuringScan : public MenuFixture {};

TEST_F(BrowseDuringScan, ThousandsOfEntriesBrowsedWhileTheyArrive) {
    constexpr int folders = 40, filesEach = 50, nestedEach = 10;
    for (int f = 0; f < folders; ++f) {
        const fs::path folder = songs() / ("Composer " + std::to_string(f));
        for (int i = 0; i < filesEach; ++i) {
            makeFile(folder / ("piece " + std::to_string(i) + (i % 2 ? ".mid" : ".FFF")));
            makeFile(folder / ("notes " + std::to_string(i) + ".txt"));
        }
        for (int i = 0; i < nestedEach; ++i)
            makeFile(folder / "Etudes" / ("etude " + std::to_string(i) + ".midi"));
        std::filesystem::create_directories(folder / "Nothing Here");
        makeFile(songs() / ("loose " + std::to_string(f) + ".mid"));
    }
    constexpr int total = folders * (filesEach + nestedEach) + folders;

    open();
    menu->goToPage(SongBrowserPage);
    const FolderNode& top = *app.songFolders->children[0];
    auto scanned = [&] {
        std::lock_guard<std::mutex> lock(app.folderLock);
        return top.songCount;
    };
    // Into "Songs", into whatever row 3 holds by then, and up again, until the scan is done;
    // the wheel and the hover run on every frame.
    int frames = 0;
    for (; scanned() < total || frames < 60; ++frames) {
        wheel = frames % 2 ? 120 : -120;
        const int step = frames % 3;
        if (step == 0) click(10, 120);
        if (step == 1) click(10, 260);
        if (step == 2) click(10, 110);
        moveTo(10, 100 + frames % 900);
        frame();
        render();
        if (menu->page != SongBrowserPage) menu->goToPage(SongBrowserPage); // a file was hit
    }
    finishScan();
    EXPECT_EQ(top.songCount, total);
    EXPECT_EQ(top.children.size(), size_t(2 * folders));
    for (const auto& node : top.children) {
        if (node->kind != FolderNode::Folder) continue;
        EXPECT_EQ(node->songCount, filesEach + nestedEach);
        EXPECT_EQ(node->children.size(), size_t(filesEach + 1));
    }
}

} // namespace
