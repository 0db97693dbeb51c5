#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/message_box.h"
#include "platform/process.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

// A program that writes its argument count and each argument on a line of its own.
fs::path writeArgumentRecorder(const fs::path& dir, int exitStatus) {
    fs::path script = dir / "recorder";
    std::ofstream(script) << "#!/bin/sh\n"
                          << "out=\"$(dirname \"$0\")/arguments.txt\"\n"
                          << "echo $# > \"$out.tmp\"\n"
                          << "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$out.tmp\"; done\n"
                          << "mv \"$out.tmp\" \"$out\"\n"
                          << "exit " << exitStatus << "\n";
    fs::permissions(script, fs::perms::owner_all);
    return script;
}

// A program that reports where it runs and writes on both outputs, then ends as asked.
fs::path writeReporter(const fs::path& dir) {
    fs::path script = dir / "reporter";
    std::ofstream(script) << "#!/bin/sh\n"
                          << "pwd\n"
                          << "echo \"to error\" >&2\n"
                          << "if [ \"$1\" = signal ]; then kill -TERM $$; fi\n"
                          << "exit 3\n";
    fs::permissions(script, fs::perms::owner_all);
    return script;
}

} // namespace

TEST(Process, ArgumentsArriveVerbatimWithoutAShell) {
    TempFolder dir;
    ProcessRequest request;
    request.program = writeArgumentRecorder(dir.path, 7).string();
    request.arguments = {"my song.mid", "$(touch injected)", "a\"b'c; touch injected", ""};
    const ProcessResult result = runProcess(request);
    ASSERT_EQ(result.error, 0);
    EXPECT_EQ(result.exitStatus, 7);
    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(readText(dir.path / "arguments.txt"),
              "4\nmy song.mid\n$(touch injected)\na\"b'c; touch injected\n\n");
    EXPECT_FALSE(fs::exists(dir.path / "injected"));
    EXPECT_FALSE(fs::exists("injected"));
}

TEST(Process, WithoutWaitingItReturnsAtOnceAndCanBeWaitedForLater) {
    TempFolder dir;
    ProcessRequest request;
    request.program = writeArgumentRecorder(dir.path, 5).string();
    request.arguments = {"x"};
    request.wait = false;
    ProcessResult result = runProcess(request);
    ASSERT_EQ(result.error, 0);
    EXPECT_GT(result.pid, 0);
    EXPECT_EQ(result.exitStatus, -1);
    waitForProcess(result);
    EXPECT_EQ(result.exitStatus, 5);
    EXPECT_EQ(readText(dir.path / "arguments.txt"), "1\nx\n");
}

TEST(Process, WorkingFolderOutputsAndEndingBySignal) {
    TempFolder dir;
    const fs::path elsewhere = dir.path / "elsewhere";
    fs::create_directory(elsewhere);
    ProcessRequest request;
    request.program = writeReporter(dir.path).string();
    request.workingFolder = elsewhere.string();
    request.output.to = OutputTo::Capture;
    request.errors.to = OutputTo::Capture;
    ProcessResult result = runProcess(request);
    ASSERT_EQ(result.error, 0);
    EXPECT_EQ(result.exitStatus, 3);
    EXPECT_EQ(result.output, elsewhere.string() + "\n");
    EXPECT_EQ(result.errorOutput, "to error\n");

    // Into files, one output only; the other stays ours.
    request.output.to = OutputTo::File;
    request.output.file = (dir.path / "out.txt").string();
    request.errors = {};
    request.arguments = {"signal"};
    testing::internal::CaptureStderr();
    result = runProcess(request);
    const std::string inherited = testing::internal::GetCapturedStderr();
    EXPECT_EQ(result.exitStatus, -1);
    EXPECT_EQ(result.signal, SIGTERM);
    EXPECT_EQ(readText(dir.path / "out.txt"), elsewhere.string() + "\n");
    EXPECT_TRUE(result.output.empty());
    EXPECT_EQ(inherited, "to error\n");

    // Started to run beside us: the output is read as it comes, without blocking.
    request.output.to = OutputTo::Capture;
    request.errors.to = OutputTo::Capture;
    request.arguments = {};
    RunningProcess running;
    ASSERT_TRUE(startProcess(request, running));
    while (!pollProcess(running)) {
    }
    EXPECT_EQ(running.result.exitStatus, 3);
    EXPECT_EQ(running.result.output, elsewhere.string() + "\n");
    EXPECT_EQ(running.result.errorOutput, "to error\n");
    request.program = (dir.path / "missing").string();
    RunningProcess missing;
    EXPECT_FALSE(startProcess(request, missing));
    EXPECT_EQ(missing.result.error, ENOENT);
}

TEST(Process, FailuresComeBackAsErrorCodes) {
    TempFolder dir;
    ProcessRequest request;
    request.program = (dir.path / "missing").string();
    EXPECT_EQ(runProcess(request).error, ENOENT);
    request.wait = false;
    EXPECT_EQ(runProcess(request).error, ENOENT);

    fs::path plain = dir.path / "not-executable";
    std::ofstream(plain) << "#!/bin/sh\n";
    fs::permissions(plain, fs::perms::owner_read | fs::perms::owner_write);
    request.program = plain.string();
    EXPECT_EQ(runProcess(request).error, EACCES);

    request.program = writeArgumentRecorder(dir.path, 0).string();
    request.workingFolder = (dir.path / "no such folder").string();
    EXPECT_EQ(runProcess(request).error, ENOENT);
    request.workingFolder.clear();
    request.output.to = OutputTo::Capture; // nobody would read it
    EXPECT_EQ(runProcess(request).error, EINVAL);
    EXPECT_FALSE(fs::exists(dir.path / "arguments.txt"));
}

TEST(Process, ExecutableDirectoryHoldsThisProgram) {
    std::string dir = executableDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.front(), '/');
    EXPECT_NE(dir.back(), '/');
    EXPECT_TRUE(fs::exists(fs::path(dir) / "platform_input_tests"));
    EXPECT_EQ(programBeside("platform_input_tests"), dir + "/platform_input_tests");
}

TEST(MessageBox, WithoutADisplayTheTextGoesToStandardError) {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    testing::internal::CaptureStderr();
    showErrorMessage("ShellExecute Error 2: Could not find notepress");
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("ShellExecute Error 2: Could not find notepress\n"), std::string::npos)
        << err;
}
