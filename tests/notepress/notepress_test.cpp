// The notepress program, run as a process in a temporary working folder, and its name rule.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "notepress/notepress.h"
#include "platform/process.h"
#include "songs/song_file.h"
#include "support/temp_folder.h"
#include "tools/smf_writer.h"

namespace fs = std::filesystem;

namespace {

const std::vector<uint8_t> emptySong{0, 0, 0, 0};

// Division 96 at the default 120 beats per minute: the note lasts half a second; at 60, a second.
std::vector<uint8_t> oneTrackMidi(bool slow = false) {
    smf::Track t;
    if (slow) t.tempoBpm(0, 60);
    t.noteOn(0, 0, 60, 90);
    t.noteOff(96, 0, 60);
    t.endOfTrack();
    return smf::file(0, 96, {t});
}

// Right hand C5 then E5, half a second each; left hand C3 for a second on channel 1.
std::vector<uint8_t> twoTrackMidi() {
    smf::Track right, left;
    right.noteOn(0, 0, 72, 100);
    right.noteOff(96, 0, 72);
    right.noteOn(0, 0, 76, 100);
    right.noteOff(96, 0, 76);
    right.endOfTrack();
    left.noteOn(0, 1, 48, 80);
    left.noteOff(192, 1, 48);
    left.endOfTrack();
    return smf::file(1, 96, {right, left});
}

std::set<std::string> filesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

class NotepressRun : public testing::Test {
  protected:
    TempFolder temp;
    fs::path work = temp.path / "work";
    fs::path imported = work / "Imported Songs";

    void SetUp() override {
        ASSERT_FALSE(temp.path.empty());
        fs::create_directory(work);
    }
    ProcessResult notepress(const std::vector<std::string>& inputs, const fs::path& folder) {
        ProcessRequest request;
        request.program = NOTEPRESS_PATH;
        request.arguments = inputs;
        request.workingFolder = folder.string();
        request.errors.to = OutputTo::Capture;
        return runProcess(request);
    }
    ProcessResult notepress(const std::vector<std::string>& inputs) {
        return notepress(inputs, work);
    }
};

} // namespace

TEST(SongFileName, TakesTheLastPathComponentCutAtItsLastFullStop) {
    EXPECT_EQ(songFileName("D:\\Music\\Evening Song.mid"), "Evening Song.fff");
    EXPECT_EQ(songFileName("songs/etude.final.midi"), "etude.final.fff");
    EXPECT_EQ(songFileName("tune"), "tune.fff");
    EXPECT_EQ(songFileName("my.songs/tune"), "tune.fff");
    EXPECT_EQ(songFileName("/home/me/a\\b.mid"), "b.fff");
    EXPECT_EQ(songFileName("D:\\Music\\"), ".fff");
    EXPECT_EQ(songFileName(""), ".fff");
    EXPECT_EQ(songFilePath("songs/etude.final.midi"), "Imported Songs/etude.final.fff");
}

TEST(SongFileName, NeverLeadsOutOfTheImportFolder) {
    for (const std::string input : {"x\\../../escape.mid", "a\\b/c.mid", "a\\..", "..", "\\/",
                                    "dir/..\\..", "a\\b/../../c"}) {
        const fs::path path = songFilePath(input);
        EXPECT_EQ(path.parent_path(), "Imported Songs") << input;
        const std::string name = path.filename().string();
        EXPECT_TRUE(name != "." && name != ".." && name.find('\\') == std::string::npos) << input;
    }
}

TEST_F(NotepressRun, WithoutArgumentsPrintsUsageAndWritesNothing) {
    const ProcessResult outcome = notepress({});
    EXPECT_EQ(outcome.exitStatus, 0);
    EXPECT_TRUE(filesIn(work).empty());
    EXPECT_EQ(outcome.errorOutput.rfind("Usage: notepress", 0), 0u) << outcome.errorOutput;
    EXPECT_EQ(std::count(outcome.errorOutput.begin(), outcome.errorOutput.end(), '\n'), 1);
}

TEST_F(NotepressRun, UnreadableInputsGiveEmptySongsAndLaterInputsConvertAsIfFirst) {
    writeBytes(work / "a.mid", twoTrackMidi());
    writeBytes(work / "zero tracks.mid", smf::file(1, 96, std::vector<smf::Track>{}));
    fs::create_directory(work / "a folder");

    const ProcessResult outcome =
        notepress({"missing.mid", "zero tracks.mid", "a folder", "a.mid"});
    EXPECT_EQ(outcome.exitStatus, 1);
    EXPECT_EQ(outcome.errorOutput, "Could not open file: missing.mid\n"
                                   "Could not open file: zero tracks.mid\n"
                                   "Could not open file: a folder\n");
    EXPECT_EQ(filesIn(imported),
              (std::set<std::string>{"missing.fff", "zero tracks.fff", "a folder.fff", "a.fff"}));
    EXPECT_EQ(readBytes(imported / "missing.fff"), emptySong);
    EXPECT_EQ(readBytes(imported / "zero tracks.fff"), emptySong);
    EXPECT_EQ(readBytes(imported / "a folder.fff"), emptySong);

    // The same file converted alone, in a fresh folder, gives the same bytes.
    const fs::path alone = temp.path / "alone";
    fs::create_directory(alone);
    fs::copy_file(work / "a.mid", alone / "a.mid");
    const ProcessResult aloneOutcome = notepress({"a.mid"}, alone);
    EXPECT_EQ(aloneOutcome.exitStatus, 0);
    EXPECT_EQ(aloneOutcome.errorOutput, "");
    EXPECT_EQ(readBytes(imported / "a.fff"), readBytes(alone / "Imported Songs" / "a.fff"));

    Song song;
    ASSERT_TRUE(readSongFile(song, (imported / "a.fff").string()));
    ASSERT_EQ(song.tracks.size(), 2u);
    const Track& right = song.tracks[0];
    const Track& left = song.tracks[1];
    EXPECT_EQ(right.number, 0u);
    EXPECT_EQ(right.colour, 1u);
    EXPECT_EQ(left.number, 1u);
    EXPECT_EQ(left.colour, 2u);
    EXPECT_EQ(right.notes.size(), 2u);
    ASSERT_EQ(left.notes.size(), 1u);
    EXPECT_EQ(left.notes[0].channel, 1);
    EXPECT_NEAR(left.notes[0].duration, 1.0, 1e-9);
}

TEST_F(NotepressRun, NamesOutputsByTheInputsFileNameAndReplacesOlderOnes) {
    // Backslashes are ordinary characters in Linux file names, so these inputs exist as typed.
    writeBytes(work / "D:\\Music\\Evening Song.mid", oneTrackMidi(true));
    fs::create_directory(work / "songs");
    writeBytes(work / "songs" / "etude.final.midi", oneTrackMidi());
    writeBytes(work / "tune", oneTrackMidi());
    writeBytes(work / "songs" / "tune.mid", twoTrackMidi());
    writeBytes(work / "folder\\", oneTrackMidi());
    fs::create_directory(imported);
    writeBytes(imported / "etude.final.fff", {1, 2, 3});

    const ProcessResult outcome =
        notepress({"D:\\Music\\Evening Song.mid", "songs/etude.final.midi", "tune",
                   "songs/tune.mid", "folder\\"});
    EXPECT_EQ(outcome.exitStatus, 0);
    EXPECT_EQ(outcome.errorOutput, "");
    // Exactly these: no temporary file is left beside them.
    EXPECT_EQ(filesIn(imported),
              (std::set<std::string>{"Evening Song.fff", "etude.final.fff", "tune.fff", ".fff"}));
    Song song;
    ASSERT_TRUE(readSongFile(song, (imported / "Evening Song.fff").string()));
    ASSERT_EQ(song.tracks.size(), 1u);
    EXPECT_NEAR(song.tracks[0].notes.at(0).duration, 1.0, 1e-9);
    clear(song);
    // Nothing of the slow song's tempo carries over to the next input.
    ASSERT_TRUE(readSongFile(song, (imported / "etude.final.fff").string()));
    ASSERT_EQ(song.tracks.size(), 1u);
    EXPECT_NEAR(song.tracks[0].notes.at(0).duration, 0.5, 1e-9);
    clear(song);
    // Two inputs of one name: the later one wins.
    ASSERT_TRUE(readSongFile(song, (imported / "tune.fff").string()));
    EXPECT_EQ(song.tracks.size(), 2u);
}

TEST_F(NotepressRun, AnInputThatIsItsOwnSongFileIsRefusedHoweverItIsSpelled) {
    writeBytes(work / "song.mid", twoTrackMidi());
    ASSERT_EQ(notepress({"song.mid"}).exitStatus, 0);
    const std::vector<uint8_t> converted = readBytes(imported / "song.fff");
    ASSERT_GT(converted.size(), emptySong.size());
    // Other names of the same file: a link and a hard link, both named like their song file.
    fs::create_directory(work / "links");
    fs::create_symlink("../Imported Songs/song.fff", work / "links" / "song.fff");
    fs::create_directory(work / "copies");
    fs::create_hard_link(imported / "song.fff", work / "copies" / "song.fff");
    fs::create_directory(work / "sub");

    for (const std::string& input : std::vector<std::string>{
             "Imported Songs/song.fff", "./Imported Songs/../Imported Songs/song.fff",
             (imported / "song.fff").string(), "links/song.fff", "copies/song.fff"}) {
        SCOPED_TRACE(input);
        const ProcessResult outcome = notepress({input});
        EXPECT_EQ(outcome.exitStatus, 1);
        EXPECT_EQ(outcome.errorOutput,
                  "Not converted, the input is its own song file: " + input + "\n");
        EXPECT_EQ(readBytes(imported / "song.fff"), converted);
    }
    // Run from elsewhere with "Imported Songs" a link to the same folder.
    fs::create_directory_symlink("../Imported Songs", work / "sub" / "Imported Songs");
    const ProcessResult outcome = notepress({"../Imported Songs/song.fff"}, work / "sub");
    EXPECT_EQ(outcome.exitStatus, 1);
    EXPECT_EQ(readBytes(imported / "song.fff"), converted);
    EXPECT_EQ(filesIn(imported), (std::set<std::string>{"song.fff"}));
}

TEST_F(NotepressRun, AnUnreadableInputLeavesAnExistingSongFileOfItsNameAlone) {
    writeBytes(work / "tune.mid", twoTrackMidi());
    ASSERT_EQ(notepress({"tune.mid"}).exitStatus, 0);
    const std::vector<uint8_t> converted = readBytes(imported / "tune.fff");
    writeBytes(work / "tune.txt", {'n', 'o', 't', ' ', 'M', 'I', 'D', 'I'});
    fs::create_directory(work / "elsewhere");
    fs::create_symlink("nowhere", imported / "dangling.fff");

    const ProcessResult outcome = notepress({"tune.txt", "elsewhere/tune.mid", "dangling.mid"});
    EXPECT_EQ(outcome.exitStatus, 1);
    EXPECT_EQ(outcome.errorOutput, "Could not open file: tune.txt\n"
                                   "Could not open file: elsewhere/tune.mid\n"
                                   "Could not open file: dangling.mid\n");
    EXPECT_EQ(readBytes(imported / "tune.fff"), converted);
    EXPECT_TRUE(fs::is_symlink(imported / "dangling.fff"));
    EXPECT_EQ(filesIn(imported), (std::set<std::string>{"tune.fff", "dangling.fff"}));
}

TEST_F(NotepressRun, AnOutputThatCannotBeWrittenFailsWithStatusOne) {
    writeBytes(work / "a.mid", oneTrackMidi());
    writeBytes(work / "b.mid", oneTrackMidi());
    writeBytes(imported, {'k', 'e', 'e', 'p'}); // a plain file where the folder should be

    const ProcessResult outcome = notepress({"a.mid", "b.mid"});
    EXPECT_EQ(outcome.exitStatus, 1);
    EXPECT_EQ(outcome.errorOutput, "Could not write file: Imported Songs/a.fff\n"
                                   "Could not write file: Imported Songs/b.fff\n");
    EXPECT_EQ(readText(imported), "keep");
    EXPECT_EQ(filesIn(work), (std::set<std::string>{"a.mid", "b.mid", "Imported Songs"}));
}
