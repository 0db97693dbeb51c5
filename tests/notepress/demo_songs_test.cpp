// The committed demo songs are exactly what the generator writes, and they are fit to play.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "platform/process.h"
#include "songs/conversion.h"
#include "songs/midi_reader.h"
#include "songs/song_file.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

const fs::path committed = fs::path(CADENZIO_SOURCE_DIR) / "runtime" / "Songs";

std::map<std::string, std::vector<uint8_t>> filesIn(const fs::path& folder) {
    std::map<std::string, std::vector<uint8_t>> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files[entry.path().filename().string()] = readBytes(entry.path());
    return files;
}

double songLength(const Song& song) {
    double length = 0;
    for (const Track& track : song.tracks)
        for (const Note& note : track.notes) length = std::max(length, note.start + note.duration);
    return length;
}

} // namespace

TEST(DemoSongs, CommittedFilesEqualFreshlyGeneratedOnes) {
    TempFolder temp;
    ASSERT_FALSE(temp.path.empty());
    const fs::path out = temp.path / "Songs";
    ProcessRequest request;
    request.program = MAKE_DEMO_SONGS_PATH;
    request.arguments = {out.string(), NOTEPRESS_PATH};
    request.workingFolder = temp.path.string();
    request.output.to = OutputTo::Capture;
    request.errors.to = OutputTo::Capture;
    const ProcessResult outcome = runProcess(request);
    ASSERT_EQ(outcome.exitStatus, 0) << outcome.errorOutput;

    const auto fresh = filesIn(out);
    const auto kept = filesIn(committed);
    ASSERT_FALSE(fresh.empty());
    for (const auto& [name, bytes] : fresh) {
        ASSERT_TRUE(kept.count(name)) << name << " is not committed";
        EXPECT_TRUE(kept.at(name) == bytes)
            << name << " differs from the generator's; rebuild the demo_songs target";
    }
    for (const auto& [name, bytes] : kept) EXPECT_TRUE(fresh.count(name)) << name << " is stale";
}

// Every demo song lasts between half a minute and two minutes and keeps to the piano's middle;
// the two-hand MIDI songs come out as a right and a left hand.
TEST(DemoSongs, AreFitToPlay) {
    const std::map<std::string, size_t> trackCounts{{"Ode to Joy.mid", 1},
                                                    {"Frere Jacques.mid", 2},
                                                    {"Greensleeves.mid", 1},
                                                    {"Twinkle Twinkle Little Star.fff", 2}};
    for (const auto& [name, count] : trackCounts) {
        SCOPED_TRACE(name);
        const std::string path = (committed / name).string();
        Song song;
        if (fs::path(name).extension() == ".mid") {
            ASSERT_TRUE(readMidiFile(song, path));
            convertTracks(song);
        } else {
            ASSERT_TRUE(readSongFile(song, path));
        }
        ASSERT_EQ(song.tracks.size(), count);
        if (count == 2 && fs::path(name).extension() == ".mid") {
            EXPECT_EQ(song.tracks[0].playType, PlayType::RightHand);
            EXPECT_EQ(song.tracks[1].playType, PlayType::LeftHand);
        }
        EXPECT_GT(songLength(song), 30.0);
        EXPECT_LT(songLength(song), 120.0);
        for (const Track& track : song.tracks) {
            EXPECT_GE(track.lowestKey, 36);  // C2
            EXPECT_LE(track.highestKey, 84); // C6
        }
    }
}
