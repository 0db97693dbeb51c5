// The preferences and the practice history: text files people may edit, rewritten whole and
// atomically, keeping what this version does not know.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>
#include <string>

#include "app/app_context.h"
#include "app/practice_history.h"
#include "app/preferences.h"
#include "support/temp_folder.h"

namespace {

struct Preferences : ::testing::Test {
    TempFolder folder;
    std::string path = (folder.path / "Preferences.txt").string();
    std::unique_ptr<AppContext> app = freshApp();

    static std::unique_ptr<AppContext> freshApp() {
        auto app = std::make_unique<AppContext>();
        app->songFolders = makeSongFolderTree();
        return app;
    }
};

TEST_F(Preferences, EveryValueComesBackAndWhatItDoesNotKnowIsKept) {
    {
        std::string text = "# my notes\n\nfuture key = kept as it is\nnot a setting\n= no key\n"
                           "latency = 0.5\r\n";
        writeBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
    }
    loadPreferences(*app, path);
    EXPECT_FLOAT_EQ(app->latency, 0.5f); // read past the damaged lines, a CRLF line included
    app->latency = 0.0731f;
    app->songFolders->children[0]->path = " /music/My=Songs 100% ";
    app->songFolders->children[1]->path = "#imports";
    app->play = {0.35f, 777.5f, 3.25f, false, true, true, false};
    ASSERT_TRUE(savePreferences(*app));

    auto again = freshApp();
    loadPreferences(*again, path);
    EXPECT_EQ(again->latency, 0.0731f);
    EXPECT_EQ(again->songFolders->children[0]->path, " /music/My=Songs 100% ");
    EXPECT_EQ(again->songFolders->children[1]->path, "#imports");
    EXPECT_EQ(again->play.songSpeed, 0.35f);
    EXPECT_EQ(again->play.noteSpread, 777.5f);
    EXPECT_EQ(again->play.inputVolume, 3.25f);
    EXPECT_FALSE(again->play.fancyGraphics);
    EXPECT_TRUE(again->play.fullscreen);
    EXPECT_TRUE(again->play.waitForMe);
    EXPECT_FALSE(again->play.speedTrainer);

    const std::string text = readText(path);
    EXPECT_EQ(text.rfind("# my notes\n\nfuture key = kept as it is\nlatency = 0.0731\n", 0), 0u)
        << text;
    EXPECT_EQ(text.find("not a setting"), std::string::npos);

    // Values out of range are left out; the rest still apply.
    const std::string odd = "song speed = 9\nnote spread = fast\ninput volume = 1.5\n";
    writeBytes(path, std::vector<uint8_t>(odd.begin(), odd.end()));
    auto third = freshApp();
    loadPreferences(*third, path);
    EXPECT_EQ(third->play.songSpeed, 1.0f);
    EXPECT_EQ(third->play.noteSpread, 400.0f);
    EXPECT_EQ(third->play.inputVolume, 1.5f);
}

TEST_F(Preferences, AFileThatCannotBeReadIsNeverSavedOver) {
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    loadPreferences(*app, path);
    app->latency = 0.2f;
    EXPECT_FALSE(savePreferences(*app));
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST_F(Preferences, PlayTypesComeBackForTheSameSongWithTheSameTrackCount) {
    std::vector<Track> tracks(3);
    tracks[0].playType = PlayType::RightHand;
    tracks[1].playType = PlayType::LeftHand;
    tracks[2].playType = PlayType::Muted;
    KeyValueFile file;
    rememberPlayTypes(file, "a.mid (10 bytes)", tracks);
    std::vector<Track> reopened(3), other(2);
    EXPECT_TRUE(restorePlayTypes(file, "a.mid (10 bytes)", reopened));
    EXPECT_EQ(reopened[0].playType, PlayType::RightHand);
    EXPECT_EQ(reopened[1].playType, PlayType::LeftHand);
    EXPECT_EQ(reopened[2].playType, PlayType::Muted);
    EXPECT_FALSE(restorePlayTypes(file, "a.mid (10 bytes)", other));
    EXPECT_FALSE(restorePlayTypes(file, "a.mid (11 bytes)", reopened));

    // The key is the path inside the song folder and the size, wherever the folder lies.
    const std::string inside = (folder.path / "Songs" / "sub").string();
    std::filesystem::create_directories(inside);
    writeBytes(inside + "/x.mid", std::vector<uint8_t>(42, 1));
    FolderNode& top = *app->songFolders->children[0];
    top.path = (folder.path / "Songs").string();
    FolderNode sub{0, inside, FolderNode::Folder, &top, {}};
    FolderNode song{0, inside + "/x.mid", FolderNode::MidiFile, &sub, {}};
    EXPECT_EQ(songKey(song), "sub/x.mid (42 bytes)");

    for (int i = 0; i < 2005; ++i) rememberPlayTypes(file, "song " + std::to_string(i), tracks);
    EXPECT_EQ(file.lines.size(), 2000u);
    EXPECT_EQ(findValue(file, "play types song 4"), nullptr);
    EXPECT_NE(findValue(file, "play types song 5"), nullptr);
}

TEST_F(Preferences, HistoryCountsPlaysAndKeepsTheMostRecentSongs) {
    const std::string historyPath = (folder.path / "History.txt").string();
    KeyValueFile file;
    loadKeyValueFile(file, historyPath);
    EXPECT_EQ(historyLine(findHistory(file, "a.mid (1 bytes)")), "Not played yet");
    recordPlay(file, "a.mid (1 bytes)", 1500, "2026-12-01");
    recordPlay(file, "b.mid (1 bytes)", 10, "2026-12-02");
    // A hand's better pass replaces its stored one: 44/45 beats 9/10, and 40/40 beats both.
    recordPlay(file, "a.mid (1 bytes)", 1380, "2026-12-03",
               {{"Right Hand", 9, 10}, {"Left Hand", 40, 40}});
    recordPlay(file, "a.mid (1 bytes)", 0, "2026-12-03", {{"Right Hand", 44, 45}});
    recordPlay(file, "a.mid (1 bytes)", 0, "2026-12-03",
               {{"Right Hand", 8, 10}, {"Left Hand", 2, 3}});
    ASSERT_TRUE(saveKeyValueFile(file));

    KeyValueFile read;
    loadKeyValueFile(read, historyPath);
    EXPECT_EQ(historyLine(findHistory(read, "a.mid (1 bytes)")),
              "Played 4 times, 48 min, last 2026-12-03; best Right Hand 44/45, Left Hand 40/40");
    EXPECT_EQ(historyLine(findHistory(read, "b.mid (1 bytes)")),
              "Played 1 time, 0 min, last 2026-12-02");
    EXPECT_EQ(read.lines.back().key, "a.mid (1 bytes)"); // the most recent last

    for (int i = 0; i < int(historySongLimit); ++i)
        recordPlay(read, std::to_string(i), 60, "2026-12-04");
    EXPECT_EQ(read.lines.size(), historySongLimit);
    EXPECT_EQ(findValue(read, "a.mid (1 bytes)"), nullptr);
}

} // namespace
