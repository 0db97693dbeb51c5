// The track setup page driven by scripted input, with real files loaded on its load thread.
#include <chrono>

#include "app/practice_history.h"
#include "menu_fixture.h"
#include "tools/smf_writer.h"

namespace {

using namespace menutest;

// A MIDI file of `tracks` tracks, each with `notes` notes.
std::vector<uint8_t> midiFile(int tracks, int notes) {
    std::vector<smf::Track> chunks;
    for (int t = 0; t < tracks; ++t) {
        smf::Track track;
        for (int i = 0; i < notes; ++i) {
            track.noteOn(0, 0, uint8_t(40 + t), 100);
            track.noteOff(24, 0, uint8_t(40 + t));
        }
        track.endOfTrack();
        chunks.push_back(track);
    }
    return smf::file(1, 96, chunks);
}

class TrackSetup : public MenuFixture {
  protected:
    // Chooses the file as the browser would: a node below the first top folder.
    void choose(const std::string& name, int32_t kind) {
        FolderNode& songsFolder = *app.songFolders->children[0];
        auto node = std::make_unique<FolderNode>();
        node->path = (songs() / name).string();
        node->kind = kind;
        node->parent = &songsFolder;
        chosen = node.get();
        songsFolder.children.push_back(std::move(node));
        app.folderScan = true; // the browser shows this tree as it is
        if (!menu) open();
        menu->currentNode = chosen;
        menu->goToPage(TrackSetupPage);
    }
    // Enters the page on the file and waits for its loader.
    void load(const std::string& name, int32_t kind = FolderNode::MidiFile) {
        choose(name, kind);
        frame();
        finishLoading();
    }
    void finishLoading() {
        if (menu->loadThread.joinable()) menu->loadThread.join();
    }
    PlayType playType(size_t track) {
        std::lock_guard<std::mutex> lock(app.songLock);
        return app.song.tracks.at(track).playType;
    }

    FolderNode* chosen = nullptr;
};

TEST_F(TrackSetup, ClicksOpenAListPickAPlayTypeAndCloseIt) {
    makeFile(songs() / "four.mid", midiFile(4, 3));
    load("four.mid");
    ASSERT_EQ(app.song.tracks.size(), 4u);
    EXPECT_EQ(menu->scroll, 0);

    // The first row spans 96 to 248.
    click(100, 100);
    EXPECT_EQ(menu->openTrack, 0);
    click(100, 260); // another track's row
    EXPECT_EQ(menu->openTrack, -1);
    click(288, 247);
    EXPECT_EQ(menu->openTrack, 0);
    click(289, 100); // outside the track column
    EXPECT_EQ(menu->openTrack, -1);

    click(100, 100);
    moveTo(100, 130); // option 1 spans 127 to 158
    frame();
    EXPECT_EQ(menu->hoveredOption, 1);
    render();
    EXPECT_EQ(findText(u"Right Hand")->colour, packColour(Colour{0.8f, 0.8f, 0, 1}));
    EXPECT_EQ(findText(u"Hidden")->colour, packColour(Colour{0.25f, 0.25f, 0.25f, 1}));
    click(100, 140);
    EXPECT_EQ(playType(0), PlayType::RightHand);
    EXPECT_EQ(menu->openTrack, -1);

    // Option 4 reaches 3 pixels into the next row; its click picks "Muted" and opens nothing.
    click(100, 100);
    click(100, 250);
    EXPECT_EQ(playType(0), PlayType::Muted);
    EXPECT_EQ(menu->openTrack, -1);
}

TEST_F(TrackSetup, ChosenPlayTypesAndTheHistoryLineComeBackWhenTheSongIsOpenedAgain) {
    makeFile(songs() / "four.mid", midiFile(4, 3));
    load("four.mid");
    EXPECT_EQ(app.songKey,
              "four.mid (" + std::to_string(fs::file_size(songs() / "four.mid")) + " bytes)");
    click(100, 100);
    click(100, 140);
    ASSERT_EQ(playType(0), PlayType::RightHand);
    recordPlay(app.history, app.songKey, 125, "2026-12-03");
    frame({ScanEscape});
    {
        std::lock_guard<std::mutex> lock(app.songLock);
        clear(app.song);
    }

    load("four.mid");
    frame();
    EXPECT_EQ(playType(0), PlayType::RightHand);
    EXPECT_EQ(playType(1), PlayType::Displayed);
    render();
    EXPECT_NE(findText(u"Played 1 time, 2 min, last 2026-12-03"), nullptr);
}

TEST_F(TrackSetup, RowsStartOneBeforeTheScrolledToRow) {
    makeFile(songs() / "twelve.mid", midiFile(12, 1));
    load("twelve.mid");

    // At scroll 200 track 0 (96 to 248) still shows its lower part.
    menu->scroll = 200;
    click(100, 10);
    EXPECT_EQ(menu->openTrack, 0);
    click(500, 10);
    render();
    const TextCommand* first = findText(u"Index: 0");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->y, 96 + 4 - 200);

    // At scroll 320 drawing and hit tests start at track 1.
    menu->scroll = 320;
    click(100, 10);
    EXPECT_EQ(menu->openTrack, 1);
    click(500, 10);
    render();
    EXPECT_EQ(findText(u"Index: 0"), nullptr);
    EXPECT_EQ(findText(u"Index: 1")->y, 96 + 152 + 4 - 320);
    EXPECT_NE(findText(u"Notes: 1"), nullptr);
    EXPECT_NE(findText(u"Play Type: Displayed"), nullptr);
    // Rows stop below the window: track 7's top lies at 96 + 7 x 152 - 320 = 840, track 8's at 992.
    EXPECT_NE(findText(u"Index: 7"), nullptr);
    EXPECT_EQ(findText(u"Index: 9"), nullptr);
}

TEST_F(TrackSetup, TheWheelScrollsOverTheTrackColumnUntilTheLastRowShows) {
    makeFile(songs() / "twelve.mid", midiFile(12, 1));
    load("twelve.mid");
    moveTo(400, 0);
    scrollBy(-2);
    EXPECT_EQ(menu->scroll, 0);
    moveTo(100, 0);
    scrollBy(-2);
    EXPECT_EQ(menu->scroll, 120);
    for (int i = 0; i < 30; ++i) scrollBy(-1);
    EXPECT_EQ(menu->scroll, 96 + 12 * 152 - 1080);
    for (int i = 0; i < 30; ++i) scrollBy(1);
    EXPECT_EQ(menu->scroll, 0);
}

TEST_F(TrackSetup, RowsShowTheTrackInItsColourAndTheLoadingWhileItRuns) {
    // Large enough that its conversion outlasts the first frame.
    makeFile(songs() / "large.mid", midiFile(2, 100000));
    choose("large.mid", FolderNode::MidiFile);
    frame();
    render();
    if (menu->loading) {
        EXPECT_NE(findText(u"Loading..."), nullptr);
        EXPECT_EQ(findText(u"Index: 0"), nullptr);
    }
    finishLoading();
    render();
    EXPECT_EQ(findText(u"Loading..."), nullptr);
    EXPECT_EQ(findText(u"Tracks")->colour, packColour(Colour{0.8f, 0.8f, 0.8f, 1}));
    // Two tracks: the first is the right hand, the second the left.
    EXPECT_NE(findText(u"Play Type: Right Hand"), nullptr);
    EXPECT_NE(findText(u"Play Type: Left Hand"), nullptr);
    EXPECT_NE(findText(u"Notes: 100000"), nullptr);
    int boxes = 0;
    for (const SpriteCommand& sprite : spriteQueue()) {
        if (sprite.destination.bottom - sprite.destination.top != 144) continue;
        const uint32_t colour = app.song.tracks[size_t(boxes)].colour;
        EXPECT_EQ(packColour(sprite.colour), packColour(app.palette[colour]));
        ++boxes;
    }
    EXPECT_EQ(boxes, 2);
}

TEST_F(TrackSetup, APlayModeButtonStartsTheGameOnceTheSongIsLoadedWithFramesGoingOnMeanwhile) {
    makeFile(songs() / "large.mid", midiFile(2, 100000));
    choose("large.mid", FolderNode::MidiFile);
    frame();
    // "Play Right Hand" at (900, 300), clicked at once; the frames go on until the song is in.
    moveTo(901, 301);
    leftButton = true;
    int32_t code = frame();
    leftButton = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (code != GoToGame && std::chrono::steady_clock::now() < deadline) code = frame();
    EXPECT_EQ(code, GoToGame);
    EXPECT_FALSE(menu->loadThread.joinable());
    EXPECT_FALSE(menu->loading);
    EXPECT_EQ(app.playMode, PlayMode::PlayRightHand);
    EXPECT_EQ(app.song.tracks.size(), 2u);
    EXPECT_EQ(app.song.tracks[1].notes.size(), 100000u);

    const struct {
        int32_t x, y, mode;
    } buttons[] = {{600, 300, 0}, {1187, 331, 1}, {600, 500, 2}, {900, 500, 3}};
    for (const auto& b : buttons) {
        EXPECT_EQ(click(b.x, b.y), GoToGame);
        EXPECT_EQ(int32_t(app.playMode), b.mode);
    }
    EXPECT_EQ(click(1189, 331), StayInState);

    // A play button while a loader is still at work: the page stays, drawing, until it is done.
    menu->loading = true;
    EXPECT_EQ(click(901, 301), StayInState);
    EXPECT_NE(findText(u"Loading..."), nullptr);
    menu->loading = false;
    EXPECT_EQ(frame(), GoToGame);

    // Escape stops a load where it is and goes back at once.
    choose("large.mid", FolderNode::MidiFile);
    frame();
    press(ScanEscape);
    EXPECT_EQ(menu->page, SongBrowserPage);
    EXPECT_FALSE(menu->loadThread.joinable());
}

TEST_F(TrackSetup, ASongFileThatCannotBeOpenedGoesBackToTheBrowser) {
    load("missing.fff", FolderNode::SongFile);
    frame();
    EXPECT_EQ(menu->page, SongBrowserPage);
    frame();
    EXPECT_EQ(menu->currentNode, app.songFolders->children[0].get());
    EXPECT_TRUE(app.song.tracks.empty());

    // A MIDI file that cannot be read leaves an empty list and the page open.
    load("missing.mid");
    frame();
    EXPECT_EQ(menu->page, TrackSetupPage);
    EXPECT_TRUE(app.song.tracks.empty());
}

TEST_F(TrackSetup, LoadingAnotherSongReplacesEveryTrack) {
    makeFile(songs() / "four.mid", midiFile(4, 2));
    makeFile(songs() / "one.mid", midiFile(1, 5));
    load("four.mid");
    press(ScanEscape);
    EXPECT_EQ(menu->page, SongBrowserPage);
    frame();
    EXPECT_EQ(menu->currentNode, app.songFolders->children[0].get());
    load("one.mid");
    ASSERT_EQ(app.song.tracks.size(), 1u);
    EXPECT_EQ(app.song.tracks[0].notes.size(), 5u);
}

} // namespace
