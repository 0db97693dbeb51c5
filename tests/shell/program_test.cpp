// Cadenzio as a user starts it, on the private X server the test runs under.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/program_on_display.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

TEST(Program, RunsIdlyShowsRateAndCursorAndQuitsOnEscape) {
    TempFolder dir;
    prepareRuntime(dir.path);
    Program cadenzio(CADENZIO_PROGRAM, dir.path, {}, true);
    ASSERT_TRUE(windowShown(10s)) << readText(cadenzio.errors);

    auto rateShown = [](const Screenshot& shot) {
        return shot.count(0, 18, 80, 45,
                          [](int r, int g, int b) { return r > 150 && g > 150 && b < 90; }) > 15;
    };
    auto cursorAt = [](const Screenshot& shot, int x, int y) {
        return shot.lit(x, y, x + 16, y + 16) > 5;
    };
    Screenshot first = lookUntil(dir.path, 15s, [&](const Screenshot& shot) {
        return rateShown(shot) && cursorAt(shot, 960, 540);
    });
    ASSERT_TRUE(first.valid());
    EXPECT_TRUE(rateShown(first)) << "no frame-rate text in the top-left corner";
    EXPECT_TRUE(cursorAt(first, 960, 540)) << "no cursor at the window's centre";

    // Measured once the first frames are shown, so start-up's work is not counted.
    double before = cadenzio.cpuSeconds();
    auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(3s);
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    double cores = (cadenzio.cpuSeconds() - before) / seconds;
    RecordProperty("idle_cores", std::to_string(cores));
    std::printf("idle CPU use: %.2f cores\n", cores);
    // Software drawing of 60 frames a second takes about half a core here and more on a busy
    // machine; a loop that spins takes a whole core or more.
    EXPECT_LT(cores, 0.9);

    // The drawn cursor follows relative motion.
    std::system("xdotool mousemove_relative -- 300 200");
    Screenshot moved = lookUntil(dir.path, 10s, [&](const Screenshot& shot) {
        return !cursorAt(shot, 960, 540) && cursorAt(shot, 1260, 740);
    });
    ASSERT_TRUE(moved.valid());
    EXPECT_EQ(moved.lit(960, 540, 976, 556), 0) << "the cursor stayed at the centre";
    EXPECT_GT(moved.lit(1260, 740, 1276, 756), 5) << "the cursor did not follow the mouse";

    std::system("xdotool search --name '^Cadenzio$' windowfocus --sync");
    EXPECT_EQ(pressUntilEnd(cadenzio, "Escape"), std::optional<int>(0))
        << readText(cadenzio.errors);
}

// Starts the program, removes its settings file once it runs, asks it to end through `end`, and
// checks that it exits with 0 through the whole shutdown, which writes the settings again.
template <typename End> void expectCleanEndSavingSettings(End end) {
    TempFolder dir;
    prepareRuntime(dir.path);
    Program cadenzio(CADENZIO_PROGRAM, dir.path, {}, true);
    ASSERT_TRUE(windowShown(10s)) << readText(cadenzio.errors);
    // Start-up writes the settings when there are none.
    ASSERT_TRUE(waitUntil(10s, [&] { return fs::exists(dir.path / "Settings.dat"); }))
        << readText(cadenzio.errors);
    fs::remove(dir.path / "Settings.dat");
    end(cadenzio);
    EXPECT_EQ(cadenzio.wait(10s), std::optional<int>(0)) << readText(cadenzio.errors);
    EXPECT_TRUE(fs::exists(dir.path / "Settings.dat"));
}

// A termination signal, the closing terminal's SIGHUP included, ends the program like closing
// the window; SIGPIPE is ignored.
TEST(Program, TerminationSignalsEndCleanlyAndSaveTheSettings) {
    for (const int signalNumber : {SIGHUP, SIGINT, SIGTERM, SIGQUIT}) {
        SCOPED_TRACE(strsignal(signalNumber));
        expectCleanEndSavingSettings([&](Program& cadenzio) {
            if (signalNumber == SIGTERM) {
                kill(cadenzio.pid, SIGPIPE);
                EXPECT_EQ(cadenzio.wait(1s), std::nullopt) << "SIGPIPE ended the program";
            }
            kill(cadenzio.pid, signalNumber);
        });
    }
}

// Named pipes where the settings, the atlas list, a texture and the UI's ini file belong: the
// program starts and ends as usual, says once of each that it was refused, and leaves them as
// they were.
TEST(Program, PipesInPlaceOfItsFilesNeitherHangNorGetReplaced) {
    TempFolder dir;
    const fs::path runtime = fs::path(CADENZIO_SOURCE_DIR) / "runtime";
    fs::copy(runtime / "Data", dir.path / "Data", fs::copy_options::recursive);
    const std::vector<std::string> pipes = {"Settings.dat", "imgui.ini", "Data/Textures/notes2.txt",
                                            "Data/Textures/cursor.png"};
    for (const std::string& name : pipes) {
        fs::remove(dir.path / name);
        ASSERT_EQ(mkfifo((dir.path / name).c_str(), 0600), 0) << name;
    }
    Program cadenzio(CADENZIO_PROGRAM, dir.path, {}, true);
    ASSERT_TRUE(windowShown(10s)) << readText(cadenzio.errors);
    // Start-up meets every one of them.
    EXPECT_TRUE(errorsSay(cadenzio, pipes, 10s)) << readText(cadenzio.errors);
    kill(cadenzio.pid, SIGTERM);
    EXPECT_EQ(cadenzio.wait(10s), std::optional<int>(0)) << readText(cadenzio.errors);
    const std::string errors = readText(cadenzio.errors);
    for (const std::string& name : pipes) {
        EXPECT_TRUE(fs::is_fifo(dir.path / name)) << name;
        const size_t first = errors.find(name);
        EXPECT_NE(first, std::string::npos) << name << " not named in: " << errors;
        EXPECT_EQ(errors.find(name, first + 1), std::string::npos) << name << " twice: " << errors;
    }
}

// Another client destroying the window, or the server dropping the connection, ends the program
// like closing the window.
TEST(Program, LosingTheWindowEndsCleanlyAndSavesTheSettings) {
    for (const std::string how : {"windowclose", "windowkill"}) {
        SCOPED_TRACE(how);
        expectCleanEndSavingSettings(
            [&](Program&) { std::system(("xdotool search --name '^Cadenzio$' " + how).c_str()); });
    }
}

TEST(Program, WithoutADisplayItSaysWhyAndFails) {
    TempFolder dir;
    prepareRuntime(dir.path);
    Program cadenzio(CADENZIO_PROGRAM, dir.path, {}, false);
    std::optional<int> status = cadenzio.wait(10s);
    ASSERT_TRUE(status.has_value());
    EXPECT_NE(*status, 0);
    EXPECT_NE(readText(cadenzio.errors).find("Cadenzio cannot start"), std::string::npos);
}

TEST(Program, ArgumentsGoToTheConverterBesideItAndNoWindowOpens) {
    TempFolder dir;
    fs::path copy = dir.path / "cadenzio";
    fs::copy_file(CADENZIO_PROGRAM, copy);
    fs::permissions(copy, fs::perms::owner_all);
    fs::path fake = dir.path / "notepress";
    std::ofstream(fake) << "#!/bin/sh\n"
                        << "for a in \"$@\"; do printf '[%s]' \"$a\"; done > \"$0.tmp\"\n"
                        << "mv \"$0.tmp\" \"$0.out\"\n";
    fs::permissions(fake, fs::perms::owner_all);
    fs::path elsewhere = dir.path / "elsewhere";
    fs::create_directory(elsewhere);

    // No display: opening a window would fail, so a clean exit shows none was tried.
    Program cadenzio(copy, elsewhere, {"my song.mid", "b.midi"}, false);
    EXPECT_EQ(cadenzio.wait(10s), std::optional<int>(0));
    waitUntil(10s, [&] { return fs::exists(dir.path / "notepress.out"); });
    EXPECT_EQ(readText(dir.path / "notepress.out"), "[my song.mid][b.midi]");
    EXPECT_TRUE(readText(cadenzio.errors).empty()) << readText(cadenzio.errors);

    fs::remove(fake);
    Program missing(copy, elsewhere, {"x.mid"}, false);
    EXPECT_EQ(missing.wait(10s), std::optional<int>(0));
    EXPECT_NE(readText(missing.errors).find("ShellExecute Error 2: Could not find notepress"),
              std::string::npos)
        << readText(missing.errors);
}
