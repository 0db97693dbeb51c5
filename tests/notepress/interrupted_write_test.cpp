// Notepress stopped while it writes a large song file: no hidden temporary file stays behind, and
// the song file it was replacing keeps its old content.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include "platform/process.h"
#include "support/temp_folder.h"
#include "tools/smf_writer.h"

namespace fs = std::filesystem;

namespace {

// Three million notes: a song file of about 70 MB, long enough to write that a signal sent when
// its temporary file appears arrives before the rename.
std::vector<uint8_t> bigMidi() {
    smf::Track track;
    for (int i = 0; i < 3000000; ++i) {
        const uint8_t key = uint8_t(36 + i % 48);
        track.noteOn(1, 0, key, 90);
        track.noteOff(1, 0, key);
    }
    track.endOfTrack();
    return smf::file(0, 96, {track});
}

bool hasTemporaryFile(const fs::path& folder) {
    return std::any_of(fs::directory_iterator(folder), fs::directory_iterator(), [](auto& entry) {
        return entry.path().filename().string().starts_with(".replacing-");
    });
}

// The song file big.mid would replace holds an empty song until a conversion is committed.
class InterruptedWrite : public testing::Test {
  protected:
    const std::vector<uint8_t> oldSong{0, 0, 0, 0};
    TempFolder temp;
    const fs::path work = temp.path / "work", imported = work / "Imported Songs";

    void SetUp() override {
        ASSERT_FALSE(temp.path.empty());
        fs::create_directories(imported);
        writeBytes(work / "big.mid", bigMidi());
        writeBytes(imported / "big.fff", oldSong);
    }

    // Starts notepress on big.mid, sends signal once its temporary file exists and returns how
    // it ended. False when the write finished before the signal could be sent.
    bool interrupt(int signal, ProcessResult& result) {
        ProcessRequest request;
        request.program = NOTEPRESS_PATH;
        request.arguments = {"big.mid"};
        request.workingFolder = work.string();
        request.errors.to = OutputTo::File;
        request.errors.file = (temp.path / "stderr.txt").string();
        request.wait = false;
        result = runProcess(request);
        if (result.error != 0) return false;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
        while (!hasTemporaryFile(imported)) {
            int status = 0;
            if (waitpid(result.pid, &status, WNOHANG) == result.pid ||
                std::chrono::steady_clock::now() > deadline) {
                kill(result.pid, SIGKILL);
                waitpid(result.pid, &status, 0);
                return false;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        kill(result.pid, signal);
        waitForProcess(result);
        return result.signal == signal;
    }
};

} // namespace

TEST_F(InterruptedWrite, SignalsRemoveTheTemporaryFileAndEndTheProgramBySignal) {
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        ProcessResult result;
        bool caught = false;
        for (int attempt = 0; attempt < 3 && !caught; ++attempt) caught = interrupt(signal, result);
        ASSERT_TRUE(caught) << "notepress was never caught writing; exit status "
                            << result.exitStatus << ", signal " << result.signal;
        EXPECT_FALSE(hasTemporaryFile(imported));
        EXPECT_EQ(readBytes(imported / "big.fff"), oldSong);
    }
}

// A killed run cannot clean up; the next run that writes into the folder does.
TEST_F(InterruptedWrite, TheNextRunRemovesWhatAKilledRunLeft) {
    ProcessResult result;
    bool caught = false;
    for (int attempt = 0; attempt < 3 && !caught; ++attempt) caught = interrupt(SIGKILL, result);
    ASSERT_TRUE(caught);
    ASSERT_TRUE(hasTemporaryFile(imported));
    EXPECT_EQ(readBytes(imported / "big.fff"), oldSong);

    smf::Track track;
    track.noteOn(0, 0, 60, 90);
    track.noteOff(96, 0, 60);
    track.endOfTrack();
    writeBytes(work / "small.mid", smf::file(0, 96, {track}));
    ProcessRequest request;
    request.program = NOTEPRESS_PATH;
    request.arguments = {"small.mid"};
    request.workingFolder = work.string();
    ASSERT_EQ(runProcess(request).exitStatus, 0);
    EXPECT_FALSE(hasTemporaryFile(imported));
    EXPECT_TRUE(fs::exists(imported / "small.fff"));
}
