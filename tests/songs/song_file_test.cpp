#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "song_test_support.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

const Bytes workedExample{
    0x01, 0x00, 0x00, 0x00,                                     // one track
    0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,             // number 0, colour 1
    0x00, 0x00, 0x20, 0x40, 0x3C, 0x3C, 0x01, 0x00, 0x00, 0x00, // 2.5 s, keys 60-60, 1 note
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE0, 0x3F,             // start 0.5
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F,             // duration 1.0
    0x00, 0x3C, 0x64, 0x00, 0x00, 0x00, 0x00, 0x00,             // channel, key, velocity, pad
};

void fillWorkedExample(Song& song) {
    song.tracks.resize(1);
    Track& t = song.tracks[0];
    t.colour = 1;
    t.length = 2.5f;
    t.lowestKey = t.highestKey = 60;
    t.notes.push_back({0.5, 1.0, 0, 60, 100});
}

bool readBack(Song& song, const Bytes& bytes) {
    return readSongBytes(song, bytes);
}

TEST(SongFile, WorkedExampleByteForByte) {
    Song song;
    fillWorkedExample(song);
    EXPECT_EQ(songtest::songFileBytes(song), workedExample);

    Song read;
    ASSERT_TRUE(readBack(read, workedExample));
    ASSERT_EQ(read.tracks.size(), 1u);
    const Track& t = read.tracks[0];
    EXPECT_EQ(t.number, 0u);
    EXPECT_EQ(t.colour, 1u);
    EXPECT_EQ(t.length, 2.5f);
    EXPECT_EQ(t.lowestKey, 60);
    EXPECT_EQ(t.highestKey, 60);
    ASSERT_EQ(t.notes.size(), 1u);
    EXPECT_EQ(t.notes[0].start, 0.5);
    EXPECT_EQ(t.notes[0].duration, 1.0);
    EXPECT_EQ(t.notes[0].channel, 0);
    EXPECT_EQ(t.notes[0].key, 60);
    EXPECT_EQ(t.notes[0].velocity, 100);
}

TEST(SongFile, EmptySongAndTrackWithoutNotes) {
    Song empty;
    EXPECT_EQ(songtest::songFileBytes(empty), (Bytes{0, 0, 0, 0}));
    Song read;
    EXPECT_TRUE(readBack(read, {0, 0, 0, 0}));
    EXPECT_TRUE(read.tracks.empty());

    Song one;
    one.tracks.resize(1);
    one.tracks[0].number = 7;
    const Bytes bytes = songtest::songFileBytes(one);
    ASSERT_EQ(bytes.size(), 4u + 18u);
    ASSERT_TRUE(readBack(read, bytes));
    ASSERT_EQ(read.tracks.size(), 1u);
    EXPECT_EQ(read.tracks[0].number, 7u); // stored values are kept, not renumbered
    EXPECT_EQ(read.tracks[0].lowestKey, 128);
    EXPECT_EQ(read.tracks[0].highestKey, 0);
    EXPECT_TRUE(read.tracks[0].notes.empty());
}

TEST(SongFile, PlayTypesAreNotStored) {
    smf::Track a, b;
    a.noteOn(0, 0, 72, 100);
    a.noteOff(96, 0, 72);
    b.noteOn(0, 0, 48, 100);
    b.noteOff(96, 0, 48);
    auto song = songtest::convertBytes(smf::file(1, 96, {a, b}));
    ASSERT_EQ(song->tracks[0].playType, PlayType::RightHand);
    Song read;
    ASSERT_TRUE(readBack(read, songtest::songFileBytes(*song)));
    ASSERT_EQ(read.tracks.size(), 2u);
    EXPECT_EQ(read.tracks[0].playType, PlayType::Displayed);
    EXPECT_EQ(read.tracks[1].playType, PlayType::Displayed);
    EXPECT_EQ(read.tracks[1].colour, 2u);
}

TEST(SongFile, PaddingAndTrailingBytesAreIgnored) {
    Bytes bytes = workedExample;
    for (size_t i = 41; i < 46; ++i) bytes[i] = 0xA5;
    bytes.push_back(0x42);
    Song read;
    ASSERT_TRUE(readBack(read, bytes));
    EXPECT_EQ(songtest::songFileBytes(read), workedExample);
}

TEST(SongFile, ShortOrAbsurdFilesAreRefusedAndLeaveTheSongEmpty) {
    Song song;
    for (size_t size = 0; size < workedExample.size(); ++size) {
        song.tracks.resize(3); // left from before: must be gone after a refusal
        EXPECT_FALSE(
            readBack(song, Bytes(workedExample.begin(), workedExample.begin() + long(size))))
            << size;
        EXPECT_TRUE(song.tracks.empty());
    }
    Bytes huge = workedExample;
    huge[0] = huge[1] = huge[2] = huge[3] = 0xFF; // four billion tracks in 46 bytes
    EXPECT_FALSE(readBack(song, huge));
    huge = workedExample;
    huge[18] = huge[19] = huge[20] = huge[21] = 0xFF; // as many notes
    EXPECT_FALSE(readBack(song, huge));
    EXPECT_TRUE(song.tracks.empty());
}

TEST(SongFile, ValuesTheProgramCannotUseAreRefused) {
    struct Damage {
        size_t offset;
        Bytes value;
    };
    const std::vector<Damage> damages{
        {38, {16}},                     // channel 16
        {16, {0x81}},                   // lowest key above 128
        {17, {0x80}},                   // highest key 128
        {16, {61}},                     // key range that does not hold the note
        {37, {0xBF}},                   // duration -1
        {12, {0x00, 0x00, 0x80, 0x7F}}, // length infinite
        {8, {6}},                       // colour past the palette's five track colours
    };
    for (const Damage& d : damages) {
        Bytes bytes = workedExample;
        std::copy(d.value.begin(), d.value.end(), bytes.begin() + long(d.offset));
        Song song;
        EXPECT_FALSE(readBack(song, bytes)) << "offset " << d.offset;
    }
    Bytes nan = workedExample;
    const double notANumber = std::nan("");
    std::memcpy(&nan[22], &notANumber, 8);
    Song song;
    EXPECT_FALSE(readBack(song, nan));

    // Notes out of start order would break the track search.
    Song twoNotes;
    fillWorkedExample(twoNotes);
    twoNotes.tracks[0].notes.push_back({0.25, 1.0, 0, 60, 100});
    EXPECT_FALSE(readBack(song, songtest::songFileBytes(twoNotes)));
}

class SongFileOnDisk : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::path(CADENZIO_BINARY_DIR) / "song_file_test_dir";
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    size_t entries() const {
        return size_t(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
    }
    fs::path dir;
};

TEST_F(SongFileOnDisk, WriteReplacesAndReadsBack) {
    const std::string path = (dir / "song.fff").string();
    std::ofstream(path) << "an older, longer file that must be replaced whole";
    Song song;
    fillWorkedExample(song);
    ASSERT_TRUE(writeSongFile(song, path));
    EXPECT_EQ(fs::file_size(path), workedExample.size());
    EXPECT_EQ(entries(), 1u); // no temporary file left beside it

    Song read;
    ASSERT_TRUE(readSongFile(read, path));
    EXPECT_EQ(songtest::songFileBytes(read), workedExample);
    EXPECT_FALSE(readSongFile(read, (dir / "missing.fff").string()));
    EXPECT_TRUE(read.tracks.empty());

    // A name as long as the file system allows still gets its file.
    const std::string longPath = (dir / (std::string(251, 'n') + ".fff")).string();
    ASSERT_TRUE(writeSongFile(song, longPath));
    EXPECT_EQ(fs::file_size(longPath), workedExample.size());
    EXPECT_EQ(entries(), 2u);
}

TEST_F(SongFileOnDisk, FailedWriteLeavesNothingBehind) {
    Song song;
    fillWorkedExample(song);
    EXPECT_FALSE(writeSongFile(song, (dir / "no such dir" / "song.fff").string()));
    // A directory in the way: the rename fails, the temporary file goes, the directory stays.
    fs::create_directory(dir / "taken.fff");
    EXPECT_FALSE(writeSongFile(song, (dir / "taken.fff").string()));
    EXPECT_TRUE(fs::is_directory(dir / "taken.fff"));
    EXPECT_EQ(entries(), 1u);
}

} // namespace
