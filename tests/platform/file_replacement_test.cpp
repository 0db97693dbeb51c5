// Atomic file replacement: old or new file, never a mix, never a temporary file left, never a
// write through a link; and reading that refuses what is not a regular file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/file_reader.h"
#include "platform/file_replacement.h"
#include "platform/process.h"
#include "support/child_process.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

bool replaceText(const fs::path& path, const std::string& text, std::string* problem = nullptr) {
    return replaceFile(path.string(), text.data(), text.size(), problem);
}

class Replacement : public testing::Test {
  protected:
    TempFolder temp;
    fs::path target = temp.path / "target.dat";
    fs::path precious = temp.path / "precious.txt";

    void SetUp() override {
        ASSERT_FALSE(temp.path.empty());
        writeBytes(target, {'o', 'l', 'd'});
        writeBytes(precious, {'k', 'e', 'e', 'p'});
    }
    void expectOldAndNothingElse() {
        EXPECT_EQ(readText(target), "old");
        EXPECT_EQ(readText(precious), "keep");
        EXPECT_EQ(namesIn(temp.path), (std::set<std::string>{"target.dat", "precious.txt"}));
    }
};

} // namespace

TEST_F(Replacement, WholeAndStreamedFormsReplaceTheFile) {
    ASSERT_TRUE(replaceText(target, "new content"));
    EXPECT_EQ(readText(target), "new content");

    FileReplacement file;
    ASSERT_TRUE(beginReplacement(file, target.string()));
    EXPECT_EQ(readText(target), "new content") << "the old file stays until the commit";
    ASSERT_TRUE(writeBytes(file, "one ", 4));
    ASSERT_TRUE(writeBytes(file, "two", 3));
    ASSERT_TRUE(commitReplacement(file));
    EXPECT_EQ(readText(target), "one two");

    // A name relative to the working folder, whose folder part is empty.
    const fs::path before = fs::current_path();
    fs::current_path(temp.path);
    EXPECT_TRUE(replaceText("relative.dat", "here"));
    fs::current_path(before);
    EXPECT_EQ(readText(temp.path / "relative.dat"), "here");
    EXPECT_EQ(namesIn(temp.path),
              (std::set<std::string>{"target.dat", "precious.txt", "relative.dat"}));
}

TEST_F(Replacement, AnAbandonedReplacementLeavesTheOldFile) {
    {
        FileReplacement file;
        ASSERT_TRUE(beginReplacement(file, target.string()));
        ASSERT_TRUE(writeBytes(file, "half", 4));
    }
    expectOldAndNothingElse();
}

// The rename replaces the link itself; what it pointed at keeps its content.
TEST_F(Replacement, ALinkAtTheTargetIsReplacedNotWrittenThrough) {
    fs::remove(target);
    fs::create_symlink(precious, target);
    ASSERT_TRUE(replaceText(target, "new"));
    EXPECT_FALSE(fs::is_symlink(target));
    EXPECT_EQ(readText(target), "new");
    EXPECT_EQ(readText(precious), "keep");
}

// Links (and a pipe) planted at the temporary names this process would use, and at the fixed
// name older saves used: every one is passed over, and nothing is written through them.
TEST_F(Replacement, PlantedLinksAtTemporaryNamesAreNeverFollowed) {
    const std::string stem = ".replacing-" + std::to_string(getpid()) + "-";
    for (int n = 0; n < 1000; ++n)
        fs::create_symlink(precious, temp.path / (stem + std::to_string(n) + ".tmp"));
    fs::remove(temp.path / (stem + "7.tmp"));
    ASSERT_EQ(mkfifo((temp.path / (stem + "7.tmp")).c_str(), 0600), 0);
    fs::create_symlink(precious, temp.path / "target.dat.tmp");

    ASSERT_TRUE(replaceText(target, "new"));
    EXPECT_EQ(readText(target), "new");
    EXPECT_EQ(readText(precious), "keep");
    EXPECT_EQ(namesIn(temp.path).size(), 1000u + 3);
}

TEST_F(Replacement, AFolderInTheWayFailsWithAReason) {
    fs::remove(target);
    fs::create_directory(target);
    writeBytes(target / "inside", {'x'});
    std::string problem;
    EXPECT_FALSE(replaceText(target, "new", &problem));
    EXPECT_NE(problem.find(target.string() + ": "), std::string::npos) << problem;
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(readText(target / "inside"), "x");
    EXPECT_EQ(namesIn(temp.path), (std::set<std::string>{"target.dat", "precious.txt"}));

    EXPECT_FALSE(replaceText(temp.path / "no such folder" / "file", "new", &problem));
    EXPECT_FALSE(problem.empty());
}

// Root may write anywhere, so the child becomes an unprivileged user first.
TEST_F(Replacement, AFolderThatCannotBeWrittenLeavesTheOldFile) {
    fs::permissions(temp.path, fs::perms::owner_all | fs::perms::group_read |
                                   fs::perms::group_exec | fs::perms::others_read |
                                   fs::perms::others_exec);
    fs::permissions(target, fs::perms::all);
    const child::Ending ending = child::run([&] {
        if (!child::dropRoot() || access(temp.path.c_str(), W_OK) == 0) return 2;
        std::string problem;
        if (replaceText(target, "new", &problem)) return 1;
        FileReplacement file;
        return beginReplacement(file, target.string()) ? 1 : 0;
    });
    EXPECT_TRUE(ending.finished);
    EXPECT_EQ(ending.status, 0);
    expectOldAndNothingElse();
}

// A full disk, as a file size limit: the write fails part way and the old file stays.
TEST_F(Replacement, AFullDiskLeavesTheOldFile) {
    const child::Ending ending = child::run([&] {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64 << 10, 64 << 10};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
        const std::string big(1 << 20, 'n');
        if (replaceText(target, big)) return 1;
        FileReplacement file;
        if (!beginReplacement(file, target.string())) return 3;
        for (int i = 0; i < 16; ++i) writeBytes(file, big.data(), 16 << 10);
        if (commitReplacement(file)) return 1;
        return file.error == EFBIG ? 0 : 4;
    });
    EXPECT_TRUE(ending.finished);
    EXPECT_EQ(ending.status, 0);
    expectOldAndNothingElse();
}

// Temporary files of runs that were killed go with the next replacement in their folder; names of
// live processes and names not of our pattern stay.
TEST_F(Replacement, LeftoversOfEndedProcessesAreRemoved) {
    ProcessRequest request;
    request.program = "/bin/true";
    const ProcessResult ended = runProcess(request);
    ASSERT_EQ(ended.error, 0);
    const std::string gone = ".replacing-" + std::to_string(ended.pid) + "-3.tmp";
    const std::vector<std::string> kept = {".replacing-1-3.tmp",
                                           ".replacing-" + std::to_string(ended.pid) + "-3.tmp.bak",
                                           ".replacing--3.tmp", "notes.tmp"};
    writeBytes(temp.path / gone, {'x'});
    for (const std::string& name : kept) writeBytes(temp.path / name, {'x'});
    ASSERT_TRUE(replaceText(target, "new"));
    EXPECT_FALSE(fs::exists(temp.path / gone));
    for (const std::string& name : kept) EXPECT_TRUE(fs::exists(temp.path / name)) << name;
}

// SIGINT, SIGTERM and SIGHUP during a write remove the temporary file, and the process still
// ends by that signal.
TEST_F(Replacement, ASignalDuringAWriteRemovesTheTemporaryFile) {
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        const child::Ending ending = child::run([&] {
            removeReplacementsOnSignals();
            FileReplacement file;
            if (!beginReplacement(file, target.string()) || !writeBytes(file, "half", 4)) return 2;
            raise(signal);
            return 1;
        });
        EXPECT_TRUE(ending.finished);
        EXPECT_EQ(ending.signal, signal);
        expectOldAndNothingElse();
    }
}

TEST(FileReading, RefusesWhatIsNotARegularFileWithoutWaiting) {
    TempFolder temp;
    const fs::path pipe = temp.path / "pipe";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const child::Ending ending = child::run([&] {
        std::vector<uint8_t> bytes;
        FileProblem problem = FileProblem::None;
        if (readFileBytes(pipe.string(), bytes, noSizeLimit, &problem)) return 1;
        if (problem != FileProblem::NotRegularFile) return 2;
        FileReader reader;
        if (openForReading(reader, pipe.string())) return 1;
        return reader.problem == FileProblem::NotRegularFile ? 0 : 3;
    });
    EXPECT_TRUE(ending.finished) << "reading a named pipe hangs";
    EXPECT_EQ(ending.status, 0);

    std::vector<uint8_t> bytes;
    FileProblem problem = FileProblem::None;
    EXPECT_FALSE(readFileBytes(temp.path.string(), bytes, noSizeLimit, &problem));
    EXPECT_EQ(problem, FileProblem::NotRegularFile);
    EXPECT_FALSE(readFileBytes((temp.path / "missing").string(), bytes, noSizeLimit, &problem));
    EXPECT_EQ(problem, FileProblem::Missing);
    EXPECT_FALSE(readFileBytes((temp.path / "pipe" / "x").string(), bytes, noSizeLimit, &problem));
    EXPECT_EQ(problem, FileProblem::Missing);
    EXPECT_STREQ(describeFileProblem(FileProblem::NotRegularFile), "not a regular file");
}

TEST(FileReading, LimitsAndPermissions) {
    TempFolder temp;
    const fs::path file = temp.path / "file";
    writeBytes(file, std::vector<uint8_t>(100, 7));
    std::vector<uint8_t> bytes;
    FileProblem problem = FileProblem::None;
    EXPECT_TRUE(readFileBytes(file.string(), bytes, 100, &problem));
    EXPECT_EQ(bytes.size(), 100u);
    EXPECT_EQ(problem, FileProblem::None);
    EXPECT_FALSE(readFileBytes(file.string(), bytes, 99, &problem));
    EXPECT_EQ(problem, FileProblem::TooLarge);
    EXPECT_TRUE(bytes.empty());

    fs::permissions(temp.path, fs::perms::owner_all | fs::perms::others_exec);
    fs::permissions(file, fs::perms::none);
    const child::Ending ending = child::run([&] {
        if (!child::dropRoot()) return 2;
        std::vector<uint8_t> read;
        FileProblem why = FileProblem::None;
        if (readFileBytes(file.string(), read, noSizeLimit, &why)) return 1;
        return why == FileProblem::Unreadable ? 0 : 3;
    });
    EXPECT_TRUE(ending.finished);
    EXPECT_EQ(ending.status, 0);
}
