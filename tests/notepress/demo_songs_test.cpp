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

// Every file below folder, by its path relative to it ("Beginner/Ode to Joy.mid").
std::map<std::string, std::vector<uint8_t>> filesBelow(const fs::path& folder) {
    std::map<std::string, std::vector<uint8_t>> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), folder).generic_string()] = readBytes(entry.path());
    return files;
}

double songLength(const Song& song) {
    double length = 0;
    for (const Track& track : song.tracks)
        for (const Note& note : track.notes) length = std::max(length, note.start + note.duration);
    return length;
}

uint8_t medianKey(const Track& track) {
    std::vector<uint8_t> keys;
    for (const Note& note : track.notes) keys.push_back(note.key);
    std::nth_element(keys.begin(), keys.begin() + long(keys.size() / 2), keys.end());
    return keys[keys.size() / 2];
}

// Notes of one key, by start, each ends before the next begins.
void expectNoKeyStruckWhileSounding(const Track& track) {
    std::vector<Note> notes = track.notes;
    std::stable_sort(notes.begin(), notes.end(), [](const Note& a, const Note& b) {
        return a.key != b.key ? a.key < b.key : a.start < b.start;
    });
    for (size_t i = 1; i < notes.size(); ++i) {
        if (notes[i].key != notes[i - 1].key) continue;
        EXPECT_LE(notes[i - 1].start + notes[i - 1].duration, notes[i].start + 1e-9)
            << "key " << int(notes[i].key) << " at " << notes[i].start << " s";
    }
}

struct Expected {
    size_t tracks;
    double shortest; // seconds
};

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

    const auto fresh = filesBelow(out);
    const auto kept = filesBelow(committed);
    ASSERT_FALSE(fresh.empty());
    for (const auto& [name, bytes] : fresh) {
        ASSERT_TRUE(kept.count(name)) << name << " is not committed";
        EXPECT_TRUE(kept.at(name) == bytes)
            << name << " differs from the generator's; rebuild the demo_songs target";
    }
    for (const auto& [name, bytes] : kept) EXPECT_TRUE(fresh.count(name)) << name << " is stale";
}

// Each song, read as Cadenzio reads it, is playable: its hands come out as a right and a left
// hand, the left lower, on the piano's keys, no note silent or struck while its key still sounds,
// and long enough to practise without wearing out (the kept nursery tunes may be short).
TEST(DemoSongs, AreFitToPlay) {
    const std::map<std::string, Expected> songs{
        {"Beginner/Frere Jacques.mid", {2, 30}},
        {"Beginner/Greensleeves.mid", {1, 30}},
        {"Beginner/Twinkle Twinkle Little Star.fff", {2, 30}},
        {"Beginner/Ode to Joy.mid", {2, 60}},
        {"Beginner/Silent Night.mid", {2, 60}},
        {"Beginner/Jingle Bells.mid", {2, 60}},
        {"Intermediate/Minuet in G.mid", {2, 60}},
        {"Intermediate/Prelude in C.mid", {2, 60}},
        {"Intermediate/Gymnopedie No. 1.mid", {2, 60}},
        {"Advanced/Fur Elise.mid", {2, 60}},
        {"Advanced/Canon in D.mid", {2, 60}}};
    EXPECT_EQ(filesBelow(committed).size(), songs.size()) << "a demo song without checks";
    for (const auto& [name, expected] : songs) {
        SCOPED_TRACE(name);
        const std::string path = (committed / name).string();
        const bool midi = fs::path(name).extension() == ".mid";
        Song song;
        if (midi) {
            ASSERT_TRUE(readMidiFile(song, path));
            convertTracks(song);
        } else {
            ASSERT_TRUE(readSongFile(song, path));
        }
        ASSERT_EQ(song.tracks.size(), expected.tracks);
        if (expected.tracks == 2) {
            if (midi) { // a song file keeps no play types; the game assigns them on loading
                EXPECT_EQ(song.tracks[0].playType, PlayType::RightHand);
                EXPECT_EQ(song.tracks[1].playType, PlayType::LeftHand);
            }
            EXPECT_LT(medianKey(song.tracks[1]), medianKey(song.tracks[0]));
        }
        EXPECT_GE(songLength(song), expected.shortest);
        EXPECT_LE(songLength(song), 240.0);
        for (const Track& track : song.tracks) {
            EXPECT_GE(track.lowestKey, 21);   // A0
            EXPECT_LE(track.highestKey, 108); // C8
            for (const Note& note : track.notes) EXPECT_GT(note.duration, 0.0);
            expectNoKeyStruckWhileSounding(track);
        }
    }
}
