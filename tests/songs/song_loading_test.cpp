// The loaders as the menu's loader thread runs them, and the track list as the main thread reads
// it meanwhile. Also built with ThreadSanitizer, which checks the lock discipline itself.
#include "songs/song_loading.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "song_test_support.h"
#include "support/temp_folder.h"

namespace {

smf::Track noteTrack(uint8_t key, int notes) {
    smf::Track t;
    for (int i = 0; i < notes; ++i) {
        t.noteOn(0, 0, key, 100);
        t.noteOff(48, 0, key);
    }
    t.endOfTrack();
    return t;
}

smf::Track emptyTrack() {
    smf::Track t;
    t.tempoBpm(0, 120);
    t.endOfTrack();
    return t;
}

class SongLoading : public ::testing::Test {
  protected:
    std::string write(const std::string& name, const std::vector<uint8_t>& bytes) {
        const std::string path = (folder.path / name).string();
        writeBytes(path, bytes);
        return path;
    }
    std::string writeMidi(const std::string& name, const std::vector<smf::Track>& tracks) {
        return write(name, smf::file(1, 96, tracks));
    }
    TempFolder folder;
    Song song;
    std::mutex lock;
};

TEST_F(SongLoading, TwoTrackMidiIsRightAndLeftHandButItsSongFileIsDisplayed) {
    const std::string midi = writeMidi("two.mid", {noteTrack(60, 3), noteTrack(48, 2)});
    loadMidiSong(song, lock, midi);
    ASSERT_EQ(song.tracks.size(), 2u);
    EXPECT_EQ(song.tracks[0].playType, PlayType::RightHand);
    EXPECT_EQ(song.tracks[1].playType, PlayType::LeftHand);
    EXPECT_EQ(song.tracks[0].notes.size(), 3u);

    const std::string fff = write("two.fff", songtest::songFileBytes(song));
    EXPECT_EQ(LoadEnd::Loaded, loadSongFile(song, lock, fff));
    ASSERT_EQ(song.tracks.size(), 2u);
    for (const Track& track : song.tracks) EXPECT_EQ(track.playType, PlayType::Displayed);
    EXPECT_EQ(song.tracks[1].number, 1u);
    EXPECT_EQ(song.tracks[1].notes.size(), 2u);
    EXPECT_TRUE(song.trackChunks.empty());
}

TEST_F(SongLoading, OnlySecondTrackWithNotesBecomesTrackZeroColourOne) {
    loadMidiSong(song, lock, writeMidi("second.mid", {emptyTrack(), noteTrack(64, 4)}));
    ASSERT_EQ(song.tracks.size(), 1u);
    EXPECT_EQ(song.tracks[0].number, 0u);
    EXPECT_EQ(song.tracks[0].colour, 1u);
    EXPECT_EQ(song.tracks[0].playType, PlayType::Displayed);
    EXPECT_EQ(song.tracks[0].lowestKey, 64);
}

TEST_F(SongLoading, LaterLoadReplacesEveryTrack) {
    loadMidiSong(song, lock,
                 writeMidi("three.mid", {noteTrack(60, 1), noteTrack(62, 1), noteTrack(64, 1)}));
    ASSERT_EQ(song.tracks.size(), 3u);
    song.tracks[2].cursor = 1;
    song.tracks[2].sounding.push_back(0);
    loadMidiSong(song, lock, writeMidi("one.mid", {noteTrack(70, 5)}));
    ASSERT_EQ(song.tracks.size(), 1u);
    EXPECT_EQ(song.tracks[0].lowestKey, 70);
    EXPECT_EQ(song.tracks[0].notes.size(), 5u);
    EXPECT_EQ(song.tracks[0].cursor, 0u);
    EXPECT_TRUE(song.tracks[0].sounding.empty());
}

TEST_F(SongLoading, UnreadableFilesLeaveNoTracks) {
    loadMidiSong(song, lock, writeMidi("a.mid", {noteTrack(60, 2)}));
    loadMidiSong(song, lock, (folder.path / "missing.mid").string());
    EXPECT_TRUE(song.tracks.empty());

    loadMidiSong(song, lock, writeMidi("b.mid", {noteTrack(60, 2)}));
    // Only a song file that cannot be opened sends the player back; a folder cannot be read.
    EXPECT_EQ(LoadEnd::Unopened, loadSongFile(song, lock, (folder.path / "missing.fff").string()));
    EXPECT_TRUE(song.tracks.empty());
    EXPECT_EQ(LoadEnd::Unopened, loadSongFile(song, lock, folder.path.string()));

    loadMidiSong(song, lock, writeMidi("c.mid", {noteTrack(60, 2)}));
    // A damaged song file opens: the player stays on the page and sees no tracks.
    EXPECT_EQ(LoadEnd::Loaded, loadSongFile(song, lock, write("bad.fff", {5, 0, 0, 0, 1, 2})));
    EXPECT_TRUE(song.tracks.empty());
}

// The main thread reads the list every frame while the loader runs: every look under the lock
// sees either no tracks or the complete new song, never a list being rebuilt.
TEST_F(SongLoading, ReaderUnderTheLockNeverSeesAHalfBuiltList) {
    std::vector<smf::Track> tracks;
    for (uint8_t i = 0; i < 6; ++i) tracks.push_back(noteTrack(uint8_t(40 + i), 200));
    const std::string midi = writeMidi("six.mid", tracks);
    loadMidiSong(song, lock, midi);
    const std::string fff = write("six.fff", songtest::songFileBytes(song));

    std::atomic<bool> done{false};
    std::atomic<int> looks{0}, full{0}, faults{0};
    std::thread reader([&] {
        while (!done.load()) {
            std::lock_guard<std::mutex> guard(lock);
            ++looks;
            if (song.tracks.empty()) continue;
            ++full;
            bool complete = song.tracks.size() == 6;
            for (size_t i = 0; complete && i < song.tracks.size(); ++i)
                complete = song.tracks[i].number == i && song.tracks[i].notes.size() == 200;
            if (!complete) ++faults;
            // The page may change play types while it holds the lock.
            song.tracks[0].playType = PlayType::Hidden;
        }
    });
    for (int round = 0; round < 20; ++round) {
        std::thread loader([&] {
            if (round % 2) {
                loadMidiSong(song, lock, midi);
            } else {
                EXPECT_EQ(LoadEnd::Loaded, loadSongFile(song, lock, fff));
            }
        });
        loader.join();
    }
    done = true;
    reader.join();
    EXPECT_EQ(faults.load(), 0);
    EXPECT_GT(looks.load(), 0);
    std::lock_guard<std::mutex> guard(lock);
    EXPECT_EQ(song.tracks.size(), 6u);
}

} // namespace
