// The import runs the notepress beside the running program (here a fake one beside this test,
// which records its arguments) with the file's path as its one argument, whatever the path holds,
// while the menu keeps its frames; then it empties the library for a rescan and returns to the
// main menu, or shows why notepress failed.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "menu/menu_state.h"
#include "page_fixture.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

class Import : public menutest::PageFixture {
  protected:
    void SetUp() override {
        PageFixture::SetUp();
        previous = fs::current_path();
        fs::current_path(folder.path);
        setenv("CADENZIO_FAKE_NOTEPRESS_RECORD", (folder.path / "argv").c_str(), 1);
        menu->importMode = true;
        openPage(SongBrowserPage);
    }
    void TearDown() override {
        unsetenv("CADENZIO_FAKE_NOTEPRESS_RECORD");
        unsetenv("CADENZIO_FAKE_NOTEPRESS_HOLD");
        fs::current_path(previous);
        PageFixture::TearDown();
    }
    // A MIDI file node as a scan attaches it below the first top folder.
    FolderNode& addFile(const std::string& path) {
        FolderNode& top = *app.songFolders->children[0];
        auto file = std::make_unique<FolderNode>();
        file->path = path;
        file->kind = FolderNode::MidiFile;
        file->parent = &top;
        top.children.push_back(std::move(file));
        top.songCount = int32_t(top.children.size());
        return *top.children.back();
    }
    // Frames until notepress has ended.
    void awaitImport() {
        for (int i = 0; i < 60000 && menu->importRunning; ++i) frame();
        ASSERT_FALSE(menu->importRunning);
    }
    void import(const FolderNode& file) {
        importSong(*menu, file);
        awaitImport();
    }
    // The arguments the fake converter was given.
    std::vector<std::string> recordedArguments() {
        std::vector<std::string> arguments;
        const std::string text = readText(folder.path / "argv");
        size_t start = 0;
        for (size_t end; (end = text.find('\0', start)) != std::string::npos; start = end + 1)
            arguments.push_back(text.substr(start, end - start));
        return arguments;
    }

    TempFolder folder;
    fs::path previous;
};

TEST_F(Import, APathWithQuotesAndCommandsReachesNotepressWholeAndRunsNothing) {
    const std::string path = "./Songs/it's a \"song\" $(touch injected) `touch ticked`; "
                             "touch semi | touch piped & touch bg.mid";
    FolderNode& file = addFile(path);
    addFile("./Songs/other.mid");
    menu->currentNode = &file;
    app.folderScan = true;

    import(file);

    EXPECT_EQ(recordedArguments(), std::vector<std::string>{path});
    for (const char* made : {"injected", "ticked", "semi", "piped", "bg.mid"})
        EXPECT_FALSE(fs::exists(folder.path / made)) << made;
    // Only the record the fake wrote is new in the working folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path), fs::directory_iterator{}), 1);

    EXPECT_TRUE(app.songFolders->children[0]->children.empty());
    EXPECT_EQ(app.songFolders->children[0]->songCount, 0);
    EXPECT_FALSE(app.folderScan);
    EXPECT_EQ(menu->page, MainMenuPage);
    EXPECT_EQ(menu->currentNode, app.songFolders.get());
    frame(); // the main menu runs on an emptied library
}

TEST_F(Import, APathLongerThanAnyCommandBufferArrivesWhole) {
    const std::string path = "./Songs/" + std::string(3000, 'x') + ".mid";
    import(addFile(path));
    EXPECT_EQ(recordedArguments(), std::vector<std::string>{path});
}

TEST_F(Import, ChoosingAMidiFileInTheBrowserInImportModeImportsIt) {
    app.folderScan = true;
    frame(); // the browser entered on the library as scanned
    // Chosen by a click on its row, as the browser keeps it.
    menu->currentNode = &addFile("./Songs/tune.mid");
    writeBytes(folder.path / "hold", {});
    setenv("CADENZIO_FAKE_NOTEPRESS_HOLD", (folder.path / "hold").c_str(), 1);
    frame();
    // Notepress runs; the menu keeps drawing, and counts the seconds.
    EXPECT_TRUE(menu->importRunning);
    for (int i = 0; i < 70; ++i) frame();
    EXPECT_EQ(menu->page, ImportPage);
    EXPECT_NE(findText(queuedTexts(), "Importing tune.mid..."), nullptr);
    EXPECT_NE(findText(queuedTexts(), "1 s"), nullptr);
    fs::remove(folder.path / "hold");
    awaitImport();
    EXPECT_EQ(recordedArguments(), std::vector<std::string>{"./Songs/tune.mid"});
    EXPECT_EQ(menu->page, MainMenuPage);
}

TEST_F(Import, AFileNotepressCannotConvertIsNamedWithItsFirstLineUntilAClickOrEscape) {
    app.folderScan = true;
    import(addFile("./Songs/broken.mid"));
    EXPECT_FALSE(app.folderScan); // read again all the same
    for (int i = 0; i < 3; ++i) frame();
    EXPECT_EQ(menu->page, ImportPage);
    EXPECT_NE(findText(queuedTexts(), "Could not import broken.mid"), nullptr);
    EXPECT_NE(findText(queuedTexts(), "Could not open file: ./Songs/broken.mid"), nullptr);
    frame({ScanEscape});
    EXPECT_EQ(menu->page, MainMenuPage);

    import(addFile("./Songs/broken again.mid"));
    EXPECT_EQ(menu->page, ImportPage);
    click(10, 10);
    EXPECT_EQ(menu->page, MainMenuPage);
}

} // namespace
