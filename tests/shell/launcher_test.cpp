#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "shell/launcher.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

TEST(Launcher, StartsTheConverterBesideWithEveryArgumentOnItsOwn) {
    TempFolder dir;
    fs::path fake = dir.path / "notepress";
    std::ofstream(fake) << "#!/bin/sh\n"
                        << "for a in \"$@\"; do printf '[%s]' \"$a\"; done > \"$0.tmp\"\n"
                        << "mv \"$0.tmp\" \"$0.out\"\n";
    fs::permissions(fake, fs::perms::owner_all);
    ASSERT_EQ(launchConverter(dir.path.string(), {"C:\\a b.mid", "two"}), 0);
    fs::path out = dir.path / "notepress.out";
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!fs::exists(out) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::ifstream in(out);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "[C:\\a b.mid][two]");
}

TEST(Launcher, FailuresGiveTheCodeAndNameAMissingConverter) {
    TempFolder dir;
    int missing = launchConverter(dir.path.string(), {"x.mid"});
    EXPECT_EQ(missing, 2);
    EXPECT_EQ(launchErrorMessage(missing), "ShellExecute Error 2: Could not find notepress");

    std::ofstream(dir.path / "notepress") << "#!/bin/sh\n";
    int denied = launchConverter(dir.path.string(), {"x.mid"});
    EXPECT_EQ(denied, EACCES);
    EXPECT_EQ(launchErrorMessage(denied), "ShellExecute Error 13");
    EXPECT_EQ(launchErrorMessage(5), "ShellExecute Error 5");
}

TEST(Launcher, WithoutADirectoryTheWorkingDirectoryIsUsed) {
    TempFolder dir;
    fs::path before = fs::current_path();
    fs::current_path(dir.path);
    EXPECT_EQ(launchConverter("", {}), ENOENT);
    fs::current_path(before);
}
