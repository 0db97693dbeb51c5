#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

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

} // namespace

TEST(Process, ArgumentsArriveVerbatimWithoutAShell) {
    TempFolder dir;
    fs::path program = writeArgumentRecorder(dir.path, 7);
    std::vector<std::string> args = {"my song.mid", "$(touch injected)", "a\"b'c; touch injected",
                                     ""};
    int status = -2;
    ASSERT_EQ(runProgram(program.string(), args, status), 0);
    EXPECT_EQ(status, 7);
    EXPECT_EQ(readText(dir.path / "arguments.txt"),
              "4\nmy song.mid\n$(touch injected)\na\"b'c; touch injected\n\n");
    EXPECT_FALSE(fs::exists(dir.path / "injected"));
    EXPECT_FALSE(fs::exists("injected"));
}

TEST(Process, StartReturnsAtOnceAndTheProgramRuns) {
    TempFolder dir;
    fs::path program = writeArgumentRecorder(dir.path, 0);
    ASSERT_EQ(startProgram(program.string(), {"x"}), 0);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!fs::exists(dir.path / "arguments.txt") && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(readText(dir.path / "arguments.txt"), "1\nx\n");
}

TEST(Process, FailuresComeBackAsErrorCodes) {
    TempFolder dir;
    int status = 0;
    EXPECT_EQ(startProgram((dir.path / "missing").string(), {}), ENOENT);
    EXPECT_EQ(runProgram((dir.path / "missing").string(), {}, status), ENOENT);
    fs::path plain = dir.path / "not-executable";
    std::ofstream(plain) << "#!/bin/sh\n";
    fs::permissions(plain, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(startProgram(plain.string(), {}), EACCES);
}

TEST(Process, ExecutableDirectoryHoldsThisProgram) {
    std::string dir = executableDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.front(), '/');
    EXPECT_NE(dir.back(), '/');
    EXPECT_TRUE(fs::exists(fs::path(dir) / "platform_input_tests"));
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
