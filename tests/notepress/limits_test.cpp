// Huge and sparse files under an address-space limit, in Notepress and in Cadenzio's loaders, and
// Notepress under a file-size limit: memory in proportion to what a file holds, running out of
// it taken for a damaged file, and a write past the limit a plain failure.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <mutex>

#include "songs/song_loading.h"
#include "support/temp_folder.h"
#include "tools/smf_writer.h"

namespace fs = std::filesystem;

namespace {

constexpr rlim_t addressSpace = rlim_t(384) << 20;

// Runs body in a child process under the limit; its exit status, or -1 when a signal ended it.
int underLimit(int resource, rlim_t limit, const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid == 0) {
        const rlimit l{limit, limit};
        if (setrlimit(resource, &l) != 0) _exit(99);
        _exit(body());
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid) return -2;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool hasTemporaryFile(const fs::path& folder) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        if (entry.path().filename().string().starts_with(".replacing-")) return true;
    return false;
}

class Limits : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(temp.path.empty());
        fs::create_directories(work);
    }

    // Notepress on the inputs in work under the limit; its standard error in errors.
    int notepress(int resource, rlim_t limit, const std::vector<std::string>& inputs) {
        const std::string errorsPath = (temp.path / "stderr.txt").string();
        const int status = underLimit(resource, limit, [&] {
            const int fd = ::open(errorsPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (fd < 0 || dup2(fd, 2) < 0 || chdir(work.c_str()) != 0) return 98;
            std::vector<char*> argv{const_cast<char*>(NOTEPRESS_PATH)};
            for (const std::string& input : inputs)
                argv.push_back(const_cast<char*>(input.c_str()));
            argv.push_back(nullptr);
            execv(NOTEPRESS_PATH, argv.data());
            return 97;
        });
        errors = readText(errorsPath);
        return status;
    }

    // A gigabyte of file holding two notes, the rest a hole: the last event's running status
    // makes the zeros note-offs, so the whole gigabyte is read as events.
    fs::path sparseMidi() {
        smf::Track t;
        t.noteOn(0, 0, 60, 100);
        t.noteOff(96, 0, 60);
        t.noteOn(0, 0, 62, 100);
        t.noteOff(96, 0, 62);
        const fs::path path = work / "sparse.mid";
        writeBytes(path, smf::file(0, 96, {t}));
        fs::resize_file(path, uint64_t(1) << 30);
        return path;
    }

    // Twelve million note-ons in running status: a 36 MB file whose notes alone need more memory
    // than the limit allows.
    fs::path denseMidi() {
        std::vector<uint8_t> events{0, 0x90, 60, 100};
        events.reserve(36u << 20);
        for (int i = 0; i < 12000000; ++i) events.insert(events.end(), {0, uint8_t(i % 128), 100});
        const fs::path path = work / "dense.mid";
        writeBytes(path, smf::file(0, 96, std::vector<std::vector<uint8_t>>{events}));
        return path;
    }

    // A gigabyte song file claiming 44 million notes, all of them zeros in a hole.
    fs::path sparseSongFile() {
        std::vector<uint8_t> head{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        const uint32_t notes = uint32_t(((uint64_t(1) << 30) - head.size()) / 24);
        for (int i = 0; i < 4; ++i) head[18 + i] = uint8_t(notes >> (8 * i));
        const fs::path path = work / "sparse.fff";
        writeBytes(path, head);
        fs::resize_file(path, head.size() + uint64_t(notes) * 24);
        return path;
    }

    TempFolder temp;
    const fs::path work = temp.path / "work", imported = work / "Imported Songs";
    std::string errors;
};

} // namespace

TEST_F(Limits, NotepressConvertsASparseGigabyteAndRefusesWhatOutgrowsMemory) {
    sparseMidi();
    denseMidi();
    EXPECT_EQ(notepress(RLIMIT_AS, addressSpace, {"sparse.mid"}), 0) << errors;
    const std::vector<uint8_t> song = readBytes(imported / "sparse.fff");
    ASSERT_EQ(song.size(), 4u + 18 + 2 * 24);
    EXPECT_EQ(song[0], 1);
    EXPECT_EQ(song[18], 2); // the two notes of the track

    EXPECT_EQ(notepress(RLIMIT_AS, addressSpace, {"dense.mid"}), 1);
    EXPECT_EQ(errors, "Could not open file: dense.mid (too large)\n");
    EXPECT_FALSE(fs::exists(imported / "dense.fff"));
    EXPECT_FALSE(hasTemporaryFile(imported));
}

TEST_F(Limits, CadenziosLoadersTakeRunningOutOfMemoryForADamagedFile) {
    const std::string sparse = sparseMidi().string(), dense = denseMidi().string();
    const std::string songFile = sparseSongFile().string();
    const int status = underLimit(RLIMIT_AS, addressSpace, [&] {
        Song song;
        std::mutex lock;
        if (loadMidiSong(song, lock, sparse) != LoadEnd::Loaded) return 1;
        if (song.tracks.size() != 1 || song.tracks[0].notes.size() != 2) return 2;
        if (loadMidiSong(song, lock, dense) != LoadEnd::TooLarge) return 3;
        if (!song.tracks.empty()) return 4;
        if (loadSongFile(song, lock, songFile) != LoadEnd::TooLarge) return 5;
        return song.tracks.empty() ? 0 : 6;
    });
    EXPECT_EQ(status, 0);
}

TEST_F(Limits, AWritePastTheFileSizeLimitFailsAndLeavesNoTemporaryFile) {
    smf::Track t;
    for (int i = 0; i < 100000; ++i) {
        t.noteOn(1, 0, uint8_t(40 + i % 40), 90);
        t.noteOff(1, 0, uint8_t(40 + i % 40));
    }
    writeBytes(work / "long.mid", smf::file(0, 96, {t}));
    fs::create_directories(imported);
    // The song file needs 2.4 MB; the input is read, never written, so only the output meets it.
    EXPECT_EQ(notepress(RLIMIT_FSIZE, 1 << 20, {"long.mid"}), 1);
    EXPECT_EQ(errors, "Could not write file: Imported Songs/long.fff\n");
    EXPECT_FALSE(fs::exists(imported / "long.fff"));
    EXPECT_FALSE(hasTemporaryFile(imported));
}
