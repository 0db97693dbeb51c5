// A new user's road through Cadenzio, on a private X server without a window manager, driven
// with the mouse and keys only: play a demo song, import a MIDI file with a hostile name and play
// it, measure the latency, quit. The window covers the 1920 x 1080 screen, so frame and screen
// coordinates are the same. Every step waits for what the screen must show next; the pictures
// along the way are kept in <build>/road-screenshots for a person to look at. Then the road of a
// user who installs the Debian package: its first start and a file opened from a file manager.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "menu/name_order.h"
#include "support/program_on_display.h"
#include "support/temp_folder.h"
#include "tools/smf_writer.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

struct Box {
    int left, top, right, bottom;
    int area() const { return (right - left) * (bottom - top); }
};

using Check = std::function<bool(const Screenshot&)>;

template <typename Test> int count(const Screenshot& shot, const Box& box, Test test) {
    return shot.count(box.left, box.top, box.right, box.bottom, test);
}

// The same pixels in both pictures within the box.
bool same(const Screenshot& a, const Screenshot& b, const Box& box) {
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x)
            if (!std::equal(a.at(x, y), a.at(x, y) + 3, b.at(x, y))) return false;
    return true;
}

// Colours the program draws with, loosely, as shading and text edges vary them.
bool uiButton(int r, int g, int b) {
    return r < 100 && g < 90 && b > 110 && b - r > 40;
}
bool uiButtonHovered(int r, int g, int b) {
    return r < 100 && g < 80 && b > 160 && b < 200;
}
bool uiButtonPressed(int r, int g, int b) {
    return r < 100 && g < 60 && b > 210;
}
bool hoveredText(int r, int g, int b) {
    return g > 150 && r < 80 && b < 80;
}
bool yellowText(int r, int g, int b) {
    return r > 150 && g > 150 && b < 90;
}
bool lit(int r, int g, int b) {
    return r + g + b > 120;
}
bool notBlack(int r, int g, int b) {
    return r + g + b > 60;
}
bool optionBoxPixel(int r, int g, int b) {
    return r > 150 && g > r && b > 190 && b - r > 12;
}
// The palette's first two track colours: green and blue.
bool green(int r, int g, int b) {
    return g > 170 && r > 110 && r < 200 && b < 150 && g - r > 40;
}
bool blue(int r, int g, int b) {
    return b > 170 && g > r && r > 110 && r < 175 && b - r > 50;
}
bool progressFill(int r, int g, int b) {
    return r < 100 && g < 100 && b > 150;
}
// The drawn cursor's inside: bright and neutral, unlike the bluish button and option boxes.
bool cursorWhite(int r, int g, int b) {
    return std::min({r, g, b}) > 225 && std::max({r, g, b}) - std::min({r, g, b}) < 12;
}

// The main menu's UI buttons, top to bottom: "Play", "Import", "Settings", "Quit".
Box uiButtonBox(int index) {
    const int top = 128 + 56 * index;
    return {48, top, 176, top + 32};
}
bool mainMenuShown(const Screenshot& shot) {
    for (int i = 0; i < 4; ++i) {
        const Box box = uiButtonBox(i);
        if (count(shot, box, uiButton) < box.area() * 6 / 10) return false;
    }
    return true;
}

// Song browser rows: the title, then rows 48 high from y = 104 ("../" first below the root).
const Box browserTitle{0, 60, 1000, 100};
int browserRowMiddle(int row) {
    return 128 + 48 * row;
}
Box browserRowText(int row) {
    return {40, 112 + 48 * row, 1000, 112 + 48 * row + 28};
}
// The row backgrounds, right of every name and left of the song counts.
bool browserRowShown(const Screenshot& shot, int row) {
    const Box box{1200, 108 + 48 * row, 1700, 148 + 48 * row};
    return count(shot, box, notBlack) > box.area() * 9 / 10;
}
// Exactly that many rows.
bool browserShowsRows(const Screenshot& shot, int rows) {
    for (int row = 0; row < rows; ++row)
        if (!browserRowShown(shot, row)) return false;
    return !browserRowShown(shot, rows);
}

// Track setup: boxes 288 wide, rows of 152 from y = 96; an open play-type list shows five options
// of 31 in the row's place.
Box trackBox(int row) {
    return {10, 100 + 152 * row, 280, 240 + 152 * row};
}
Box playTypeLine(int row) {
    return {0, 96 + 152 * row + 64, 288, 96 + 152 * row + 96};
}
Box option(int k) {
    return {0, 96 + 31 * k + 2, 288, 96 + 31 * k + 29};
}
bool twoTracksShown(const Screenshot& shot) {
    return count(shot, trackBox(0), green) > trackBox(0).area() / 2 &&
           count(shot, trackBox(1), blue) > trackBox(1).area() / 2;
}
bool playTypesListed(const Screenshot& shot) {
    const Box options{0, 96, 288, 251};
    return count(shot, options, optionBoxPixel) > options.area() * 6 / 10;
}
bool optionHovered(const Screenshot& shot, int k) {
    for (int i = 0; i < 5; ++i)
        if ((count(shot, option(i), yellowText) > 30) != (i == k)) return false;
    return true;
}
// The play-mode buttons' middles.
constexpr int playRightHandX = 1044, playRightHandY = 315;
constexpr int watchAndListenX = 1044, watchAndListenY = 515;

// The game: lanes above the keyboard, the white keys' lower part, the HUD's status lines and the
// progress bar right of the frame-rate text.
const Box lanes{0, 60, 1920, 780};
const Box whiteKeys{0, 1000, 1920, 1075};
const Box statusLines{0, 44, 320, 140};
const Box progressBar{80, 20, 1920, 42};
bool gameShown(const Screenshot& shot) {
    return count(shot, statusLines, yellowText) > 200 &&
           count(shot, lanes, [](int r, int g, int b) { return green(r, g, b) || blue(r, g, b); }) >
               2000;
}
// Keys of both tracks coloured by the computer's playing.
bool keysOfBothTracksColoured(const Screenshot& shot) {
    return count(shot, whiteKeys, green) > 500 && count(shot, whiteKeys, blue) > 500;
}

// Settings page: the title, the section buttons on the left, the latency line and its Test
// button.
const Box settingsTitle{1000, 20, 1250, 70};
constexpr int latencyButtonX = 184, latencyButtonY = 215;
constexpr int testButtonX = 528, testButtonY = 119;
const Box latencyLine{384, 72, 900, 100};
const Box testButton{384, 104, 672, 135};
bool settingsShown(const Screenshot& shot) {
    return count(shot, settingsTitle, lit) > 300 && !mainMenuShown(shot);
}

// The entries the browser lists for a folder in its order: sub-folders, then song files, each by
// name.
std::vector<std::string> listedEntries(const fs::path& folder) {
    std::vector<std::string> folders, songs;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        std::string extension = entry.path().extension().string();
        for (char& c : extension) c = char(std::tolower(static_cast<unsigned char>(c)));
        if (entry.is_directory())
            folders.push_back(entry.path().filename().string());
        else if (extension == ".mid" || extension == ".midi" || extension == ".fff")
            songs.push_back(entry.path().filename().string());
    }
    std::sort(folders.begin(), folders.end(), nameBefore);
    std::sort(songs.begin(), songs.end(), nameBefore);
    folders.insert(folders.end(), songs.begin(), songs.end());
    return folders;
}
// The row of an entry below a top folder: "../" is row 0.
int rowOf(const fs::path& folder, const std::string& name) {
    const std::vector<std::string> names = listedEntries(folder);
    const auto at = std::find(names.begin(), names.end(), name);
    return at == names.end() ? -1 : 1 + int(at - names.begin());
}

// Every path below dir, links not followed.
std::set<std::string> filesBelow(const fs::path& dir) {
    std::set<std::string> paths;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(dir))
        paths.insert(entry.path().lexically_relative(dir).string());
    return paths;
}

bool anyFileNamed(const fs::path& dir, const std::string& name) {
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(dir))
        if (entry.path().filename() == name) return true;
    return false;
}

// Two hands in C major at 120 beats a minute: C up to F and back in the right hand over whole
// bars of C and G in the left, both from the first beat.
std::vector<uint8_t> twoHandPiece() {
    smf::Track right, left;
    right.tempoBpm(0, 120);
    right.text(0, 0x03, "Right Hand");
    // Within the reach of a keyboard never heard (48 to 66), where keys are drawn undimmed.
    const uint8_t scale[] = {60, 62, 64, 65, 64, 62};
    for (int round = 0; round < 8; ++round)
        for (uint8_t key : scale) {
            right.noteOn(0, 0, key, 90);
            right.noteOff(480, 0, key);
        }
    right.endOfTrack();
    left.text(0, 0x03, "Left Hand");
    for (int bar = 0; bar < 12; ++bar) {
        const uint8_t key = bar % 2 ? 55 : 48;
        left.noteOn(0, 1, key, 70);
        left.noteOff(1920, 1, key);
    }
    left.endOfTrack();
    return smf::file(1, 480, std::vector<smf::Track>{right, left});
}

// The user at the desk: aims the drawn cursor, clicks, presses keys, and watches the screen.
struct User {
    fs::path scratch;  // pictures taken while waiting
    fs::path pictures; // pictures kept for a person
    int kept = 0;

    Screenshot look() const { return Screenshot(scratch, "screen", false); }

    // Keeps the picture as <pictures>/NN-name.png.
    void keep(const Screenshot& shot, const std::string& name) {
        char number[16];
        std::snprintf(number, sizeof number, "%02d-", ++kept);
        shot.keep(pictures / (number + name + ".png"));
    }

    // Looks until the screen passes the check; on a timeout keeps the last look as
    // failed-<what>.png.
    std::optional<Screenshot> waitFor(const std::string& what, const Check& check,
                                      std::chrono::seconds timeout = 15s) {
        Screenshot shot = lookUntil(scratch, timeout, check);
        if (shot.valid() && check(shot)) return shot;
        std::string name = what;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '-';
        if (shot.valid()) shot.keep(pictures / ("failed-" + name + ".png"));
        ADD_FAILURE() << "the screen never showed " << what;
        return std::nullopt;
    }

    static bool cursorAt(const Screenshot& shot, int x, int y) {
        return count(shot, {x, y, x + 10, y + 20}, cursorWhite) >= 12;
    }

    // Moves the drawn cursor's tip to (x, y): first into the top-left corner, where the cursor
    // stops, then by the distance. A frame adds up the motion it reads before it stops the cursor
    // at the edge, so the second move waits until a frame has shown the first.
    bool aim(int x, int y) {
        const std::string where = std::to_string(x) + "," + std::to_string(y);
        std::system("xdotool mousemove_relative -- -2500 -2500");
        if (!waitFor("the cursor in the corner",
                     [&](const Screenshot& shot) { return cursorAt(shot, 0, 0); }))
            return false;
        std::system(("xdotool mousemove_relative -- " + std::to_string(x) + " " + std::to_string(y))
                        .c_str());
        return waitFor("the cursor at " + where,
                       [&](const Screenshot& shot) { return cursorAt(shot, x, y); })
            .has_value();
    }

    // A main menu button (0 "Play" to 3 "Quit"), aimed at until it shows hovered, then clicked.
    // It acts on the release, so the button is held until it shows pressed.
    bool clickMainMenuButton(int index) {
        const Box box = uiButtonBox(index);
        if (!aim((box.left + box.right) / 2, (box.top + box.bottom) / 2)) return false;
        if (!waitFor("main menu button " + std::to_string(index) + " hovered",
                     [&](const Screenshot& s) {
                         return count(s, box, uiButtonHovered) > box.area() * 6 / 10;
                     }))
            return false;
        std::system("xdotool mousedown 1");
        const bool pressed =
            waitFor("main menu button " + std::to_string(index) + " pressed",
                    [&](const Screenshot& s) {
                        return count(s, box, uiButtonPressed) > box.area() * 6 / 10;
                    })
                .has_value();
        std::system("xdotool mouseup 1");
        return pressed;
    }

    // A browser row, aimed at until it shows hovered, then clicked until the screen shows the
    // outcome; the hovered picture is kept as keepAs when given.
    std::optional<Screenshot> chooseRow(int row, const std::string& what, const Check& outcome,
                                        const std::string& keepAs = "",
                                        std::chrono::seconds timeout = 15s) {
        if (!aim(1000, browserRowMiddle(row))) return std::nullopt;
        std::optional<Screenshot> hovered =
            waitFor("row " + std::to_string(row) + " hovered", [&](const Screenshot& s) {
                return count(s, browserRowText(row), hoveredText) > 30;
            });
        if (!hovered) return std::nullopt;
        if (!keepAs.empty()) keep(*hovered, keepAs);
        return clickUntil(what, outcome, timeout);
    }

    // A click of what acts on the press: held until the screen shows the outcome, so that a
    // slow frame cannot miss it.
    std::optional<Screenshot> clickUntil(const std::string& what, const Check& outcome,
                                         std::chrono::seconds timeout = 15s) {
        std::system("xdotool mousedown 1");
        std::optional<Screenshot> shot = waitFor(what, outcome, timeout);
        std::system("xdotool mouseup 1");
        return shot;
    }

    // A key held until the screen shows the outcome. Keys are read as one snapshot a frame, so
    // a press shorter than a frame could go unseen.
    std::optional<Screenshot> pressUntil(const std::string& key, const std::string& what,
                                         const Check& outcome) {
        std::system("xdotool search --name '^Cadenzio$' windowfocus --sync");
        std::system(("xdotool keydown " + key).c_str());
        std::optional<Screenshot> shot = waitFor(what, outcome);
        std::system(("xdotool keyup " + key).c_str());
        return shot;
    }

    // Taps the key into the focused window, the first at once, until the screen shows the
    // outcome. Nothing shows a single tap, so each is held over one look at the screen, which
    // takes longer on a busy machine as frames do; a tap the frames missed all the same is
    // followed by another.
    std::optional<Screenshot> tapUntil(const std::string& key, const std::string& what,
                                       const Check& outcome) {
        auto tap = [&] {
            std::system(("xdotool keydown " + key).c_str());
            look();
            std::system(("xdotool keyup " + key).c_str());
        };
        tap();
        return waitFor(what, [&](const Screenshot& shot) {
            if (outcome(shot)) return true;
            tap();
            return false;
        });
    }
};

} // namespace

TEST(Road, ANewUserPlaysImportsMeasuresLatencyAndQuitsWithTheMouse) {
    TempFolder dir, scratch;
    const fs::path runtime = fs::path(CADENZIO_SOURCE_DIR) / "runtime";
    fs::create_directory_symlink(runtime / "Data", dir.path / "Data");
    fs::copy(runtime / "Songs", dir.path / "Songs", fs::copy_options::recursive);
    // A name a shell would take apart: spaces, both quotes and a command substitution.
    const std::string hostile = "My \"Song\" 'n' $(touch pwned)";
    writeBytes(dir.path / "Songs" / (hostile + ".mid"), twoHandPiece());
    const std::set<std::string> filesBefore = filesBelow(dir.path);

    User user{scratch.path, fs::path(CADENZIO_BINARY_DIR) / "road-screenshots"};
    fs::remove_all(user.pictures);
    fs::create_directories(user.pictures);

    Program cadenzio(CADENZIO_PROGRAM, dir.path, {}, true);
    ASSERT_TRUE(windowShown(10s)) << readText(cadenzio.errors);
    const std::string window = capture("xwininfo -name Cadenzio");
    ASSERT_EQ(numberAfter(window, "Absolute upper-left X:"), 0) << window;
    ASSERT_EQ(numberAfter(window, "Absolute upper-left Y:"), 0) << window;
    ASSERT_EQ(numberAfter(window, "Width:"), 1920) << window;
    ASSERT_EQ(numberAfter(window, "Height:"), 1080) << window;

    // 1. A demo song: Play, ./Songs, a level folder, a two-track piece.
    auto shot = user.waitFor("the main menu", mainMenuShown);
    ASSERT_TRUE(shot);
    user.keep(*shot, "main-menu");
    ASSERT_TRUE(user.clickMainMenuButton(0));
    shot = user.waitFor("the library's two top folders",
                        [](const Screenshot& s) { return browserShowsRows(s, 2); });
    ASSERT_TRUE(shot);
    user.keep(*shot, "browser-root");
    const Screenshot root = *shot;

    const fs::path songs = dir.path / "Songs";
    const int entries = int(listedEntries(songs).size());
    shot = user.chooseRow(0, "./Songs opened", [&](const Screenshot& s) {
        return browserShowsRows(s, entries + 1) && !same(s, root, browserTitle);
    });
    ASSERT_TRUE(shot);
    user.keep(*shot, "browser-songs");
    const Screenshot songsFolder = *shot;

    const int level = rowOf(songs, "Beginner");
    ASSERT_GT(level, 0);
    const fs::path beginner = songs / "Beginner";
    shot = user.chooseRow(level, "./Songs/Beginner opened", [&](const Screenshot& s) {
        return browserShowsRows(s, int(listedEntries(beginner).size()) + 1) &&
               !same(s, songsFolder, browserTitle);
    });
    ASSERT_TRUE(shot);
    user.keep(*shot, "browser-beginner");
    const Screenshot beginnerFolder = *shot;

    const int piece = rowOf(beginner, "Frere Jacques.mid");
    ASSERT_GT(piece, 0);
    shot = user.chooseRow(piece, "the piece's two tracks", twoTracksShown);
    ASSERT_TRUE(shot);
    user.keep(*shot, "track-setup");

    // Escape on the track setup page goes back to the browser in the piece's folder.
    shot =
        user.pressUntil("Escape", "the browser back in ./Songs/Beginner", [&](const Screenshot& s) {
            return browserShowsRows(s, int(listedEntries(beginner).size()) + 1);
        });
    ASSERT_TRUE(shot);
    user.keep(*shot, "back-in-the-folder");
    EXPECT_TRUE(same(*shot, beginnerFolder, browserTitle)) << "another folder's title";

    shot = user.chooseRow(piece, "the piece's two tracks again", twoTracksShown);
    ASSERT_TRUE(shot);
    const Screenshot tracks = *shot;

    // The right hand's track becomes "Displayed": the computer plays it, so its keys light up.
    ASSERT_TRUE(user.aim(200, 216));
    ASSERT_TRUE(user.clickUntil("the play-type list", playTypesListed));
    ASSERT_TRUE(user.aim(200, 96 + 31 * 2 + 15));
    shot = user.waitFor("\"Displayed\" hovered",
                        [](const Screenshot& s) { return optionHovered(s, 2); });
    ASSERT_TRUE(shot);
    user.keep(*shot, "play-type-list");
    shot = user.clickUntil("the list closed", twoTracksShown);
    ASSERT_TRUE(shot);
    user.keep(*shot, "play-type-set");
    const Screenshot playTypeSet = *shot;
    EXPECT_FALSE(same(*shot, tracks, playTypeLine(0))) << "the first track's play type stayed";
    EXPECT_TRUE(same(*shot, tracks, playTypeLine(1))) << "the second track's play type changed";

    ASSERT_TRUE(user.aim(playRightHandX, playRightHandY));
    shot = user.clickUntil("the game", gameShown);
    ASSERT_TRUE(shot);
    const Screenshot gameStart = *shot;
    // Green notes falling and green keys struck in "Play Right Hand" show that the computer
    // plays the first track, so its play type took; the left hand joins after two bars.
    shot = user.waitFor(
        "keys of both tracks played",
        [&](const Screenshot& s) { return gameShown(s) && keysOfBothTracksColoured(s); }, 20s);
    ASSERT_TRUE(shot);
    user.keep(*shot, "game");
    EXPECT_FALSE(same(*shot, gameStart, lanes)) << "the notes did not move";
    // The song speed goes up while V is held; the next game and the next start keep it.
    std::system("xdotool keydown v");
    std::this_thread::sleep_for(400ms);
    std::system("xdotool keyup v");
    EXPECT_GT(count(*shot, progressBar, progressFill), count(gameStart, progressBar, progressFill))
        << "the progress bar did not grow";

    // A game returns to the main menu.
    shot = user.pressUntil("Escape", "the main menu after the game", mainMenuShown);
    ASSERT_TRUE(shot);
    user.keep(*shot, "main-menu-after-the-game");

    // 2. Import of the file with the hostile name, from ./Songs.
    ASSERT_TRUE(user.clickMainMenuButton(1));
    shot = user.waitFor("the import browser at the root", [&](const Screenshot& s) {
        return browserShowsRows(s, 2) && same(s, root, browserTitle);
    });
    ASSERT_TRUE(shot);
    user.keep(*shot, "import-browser");
    ASSERT_TRUE(user.chooseRow(0, "./Songs opened for the import", [&](const Screenshot& s) {
        return browserShowsRows(s, entries + 1) && same(s, songsFolder, browserTitle);
    }));
    const int hostileRow = rowOf(songs, hostile + ".mid");
    ASSERT_GT(hostileRow, 0);
    const fs::path imported = dir.path / "Imported Songs" / (hostile + ".fff");
    shot = user.chooseRow(
        hostileRow, "the main menu after the import",
        [&](const Screenshot& s) { return mainMenuShown(s) && fs::exists(imported); },
        "import-choice", 30s);
    ASSERT_TRUE(shot);
    user.keep(*shot, "after-the-import");
    EXPECT_GT(fs::file_size(imported), 0u);
    EXPECT_FALSE(anyFileNamed(dir.path, "pwned")) << "a shell ran the file name";
    EXPECT_FALSE(fs::exists(fs::current_path() / "pwned")) << "a shell ran the file name";
    EXPECT_FALSE(fs::exists(fs::path(CADENZIO_PROGRAM).parent_path() / "pwned"));
    std::set<std::string> expected = filesBefore;
    for (const char* made : {"stderr.txt", "Settings.dat", "imgui.ini", "Imported Songs",
                             "Preferences.txt", "History.txt"})
        expected.insert(made);
    expected.insert(fs::relative(imported, dir.path).string());
    auto expectNothingElseMade = [&](const std::string& when) {
        for (const std::string& path : filesBelow(dir.path))
            EXPECT_TRUE(expected.count(path)) << "made " << when << ": " << path;
    };
    expectNothingElseMade("by the import");

    // The imported song under ./Imported Songs, played by the computer.
    ASSERT_TRUE(user.clickMainMenuButton(0));
    ASSERT_TRUE(user.waitFor("the library read again",
                             [](const Screenshot& s) { return browserShowsRows(s, 2); }));
    ASSERT_TRUE(user.chooseRow(1, "./Imported Songs with one song", [&](const Screenshot& s) {
        return browserShowsRows(s, 2) && !same(s, root, browserTitle);
    }));
    shot = user.chooseRow(1, "the imported song's two tracks", twoTracksShown, "imported-songs");
    ASSERT_TRUE(shot);
    user.keep(*shot, "imported-track-setup");
    ASSERT_TRUE(user.aim(watchAndListenX, watchAndListenY));
    ASSERT_TRUE(user.clickUntil("the imported song playing", gameShown));
    shot = user.waitFor(
        "the imported song's keys played",
        [](const Screenshot& s) { return gameShown(s) && keysOfBothTracksColoured(s); }, 20s);
    ASSERT_TRUE(shot);
    user.keep(*shot, "imported-game");
    ASSERT_TRUE(user.pressUntil("Escape", "the main menu after the imported song", mainMenuShown));

    // 3. The latency test: Settings, Latency, Test, then taps on Space.
    ASSERT_TRUE(user.clickMainMenuButton(2));
    ASSERT_TRUE(user.waitFor("the settings page", settingsShown));
    ASSERT_TRUE(user.aim(latencyButtonX, latencyButtonY));
    ASSERT_TRUE(user.clickUntil("the latency section", [](const Screenshot& s) {
        return count(s, latencyLine, lit) > 200 &&
               count(s, testButton, lit) > testButton.area() / 2;
    }));
    ASSERT_TRUE(user.aim(testButtonX, testButtonY));
    const Screenshot idle = user.look();
    user.keep(idle, "latency-before");
    std::system("xdotool search --name '^Cadenzio$' windowfocus --sync");
    // The click that starts the test is its first tap. The test ends 2.5 s after the last tap,
    // so the taps follow at once, and the first ones, while the player finds the beat, are not
    // measured.
    const std::optional<Screenshot> testing = user.clickUntil(
        "the test running", [&](const Screenshot& s) { return !same(s, idle, testButton); });
    ASSERT_TRUE(testing);
    shot = user.tapUntil("space", "a latency measured",
                         [&](const Screenshot& s) { return !same(s, idle, latencyLine); });
    user.keep(*testing, "latency-testing");
    ASSERT_TRUE(shot);
    // The test ends 2.5 s after the last tap, and the button reads "Test" again.
    shot = user.waitFor("the test's end",
                        [&](const Screenshot& s) { return same(s, idle, testButton); });
    ASSERT_TRUE(shot);
    user.keep(*shot, "latency-after");
    const Screenshot latencyAfter = *shot;
    EXPECT_FALSE(same(*shot, idle, latencyLine)) << "the latency line still reads as before";

    // 4. Escape back to the main menu, Escape again ends the program, which saves its settings.
    ASSERT_TRUE(user.pressUntil("Escape", "the main menu after the settings", mainMenuShown));
    fs::remove(dir.path / "Settings.dat");
    const std::optional<int> status = pressUntilEnd(cadenzio, "Escape");
    EXPECT_EQ(status, std::optional<int>(0)) << readText(cadenzio.errors);
    ASSERT_TRUE(fs::exists(dir.path / "Settings.dat"));
    EXPECT_GT(fs::file_size(dir.path / "Settings.dat"), 0u);
    expectNothingElseMade("on the way");
    EXPECT_FALSE(anyFileNamed(dir.path, "pwned"));

    // What the user chose is there for the next start: the latency measured, the play types of
    // the song whose first track changed, and the two songs played.
    const std::string preferences = readText(dir.path / "Preferences.txt");
    EXPECT_EQ(preferences.find("latency = 0.05\n"), std::string::npos) << preferences;
    EXPECT_NE(preferences.find("latency = "), std::string::npos) << preferences;
    EXPECT_NE(preferences.find("\nplay types "), std::string::npos) << preferences;
    EXPECT_EQ(preferences.find("song speed = 1\n"), std::string::npos) << preferences;
    const std::string history = readText(dir.path / "History.txt");
    EXPECT_EQ(std::count(history.begin(), history.end(), '\n'), 2) << history;

    // 5. The next start: the piece opens with its play types as left, the latency as measured.
    Program again(CADENZIO_PROGRAM, dir.path, {}, true);
    ASSERT_TRUE(windowShown(10s)) << readText(again.errors);
    ASSERT_TRUE(user.waitFor("the main menu of the next start", mainMenuShown));
    ASSERT_TRUE(user.clickMainMenuButton(0));
    ASSERT_TRUE(user.waitFor("the library again",
                             [](const Screenshot& s) { return browserShowsRows(s, 2); }));
    ASSERT_TRUE(user.chooseRow(0, "./Songs again", [&](const Screenshot& s) {
        return browserShowsRows(s, entries + 1) && !same(s, root, browserTitle);
    }));
    ASSERT_TRUE(user.chooseRow(level, "./Songs/Beginner again", [&](const Screenshot& s) {
        return browserShowsRows(s, int(listedEntries(beginner).size()) + 1) &&
               !same(s, songsFolder, browserTitle);
    }));
    ASSERT_TRUE(user.chooseRow(piece, "the piece's two tracks", twoTracksShown));
    // The cursor where it was when the play type was chosen, so the two pictures can match.
    ASSERT_TRUE(user.aim(200, 96 + 31 * 2 + 15));
    shot = user.waitFor("the piece with its play types as left", [&](const Screenshot& s) {
        return same(s, playTypeSet, playTypeLine(0)) && same(s, playTypeSet, playTypeLine(1));
    });
    ASSERT_TRUE(shot);
    user.keep(*shot, "play-types-kept");
    EXPECT_TRUE(same(*shot, playTypeSet, playTypeLine(0))) << "the first track's play type";
    EXPECT_TRUE(same(*shot, playTypeSet, playTypeLine(1))) << "the second track's play type";
    ASSERT_TRUE(user.pressUntil("Escape", "the browser", [&](const Screenshot& s) {
        return browserShowsRows(s, int(listedEntries(beginner).size()) + 1);
    }));
    ASSERT_TRUE(user.pressUntil("Escape", "the main menu", mainMenuShown));
    ASSERT_TRUE(user.clickMainMenuButton(2));
    ASSERT_TRUE(user.waitFor("the settings page", settingsShown));
    ASSERT_TRUE(user.aim(latencyButtonX, latencyButtonY));
    shot = user.clickUntil("the latency as measured",
                           [&](const Screenshot& s) { return same(s, latencyAfter, latencyLine); });
    ASSERT_TRUE(shot);
    user.keep(*shot, "latency-kept");
    ASSERT_TRUE(user.pressUntil("Escape", "the main menu", mainMenuShown));
    std::system("xdotool keydown Escape");
    EXPECT_EQ(again.wait(15s), std::optional<int>(0)) << readText(again.errors);
    std::system("xdotool keyup Escape");
}

namespace {

// A command's exit status, with what it wrote on both streams in output.
int runCommand(const std::string& command, std::string& output) {
    output.clear();
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return -1;
    char buffer[256];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

const char* const appId = "org.cadenzio.Cadenzio";

// Width and height from a PNG file's header.
std::pair<int, int> pngSize(const fs::path& file) {
    const std::vector<uint8_t> bytes = readBytes(file);
    if (bytes.size() < 24) return {0, 0};
    auto number = [&](size_t at) {
        return int(bytes[at]) << 24 | int(bytes[at + 1]) << 16 | int(bytes[at + 2]) << 8 |
               int(bytes[at + 3]);
    };
    return {number(16), number(20)};
}

// The environment of a user with nothing but an empty home; put back afterwards. The session's
// runtime folder is inside it too, so that what the sound library keeps there stays in sight.
struct NewUser {
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
    explicit NewUser(const fs::path& home) {
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"}) {
            const char* value = std::getenv(name);
            saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
            unsetenv(name);
        }
        setenv("HOME", home.c_str(), 1);
        fs::create_directory(home / "runtime");
        fs::permissions(home / "runtime", fs::perms::owner_all);
        setenv("XDG_RUNTIME_DIR", (home / "runtime").c_str(), 1);
    }
    ~NewUser() {
        for (const auto& [name, value] : saved)
            value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
    }
};

} // namespace

// `cmake --install` lays out the programs, the data and the desktop's files, which pass the
// desktop's own validators.
TEST(Install, LaysOutProgramsDataAndDesktopFilesThatValidate) {
    TempFolder prefix;
    std::string output;
    ASSERT_EQ(runCommand("cmake --install " + quoted(CADENZIO_BINARY_DIR) + " --prefix " +
                             quoted(prefix.path),
                         output),
              0)
        << output;
    const fs::path& p = prefix.path;
    for (const char* program : {"bin/cadenzio", "bin/notepress"})
        EXPECT_EQ(access((p / program).c_str(), X_OK), 0) << program;
    EXPECT_TRUE(fs::exists(p / "share/cadenzio/Data/Textures/notes2.txt"));
    EXPECT_TRUE(fs::exists(p / "share/cadenzio/Songs/Beginner/Frere Jacques.mid"));
    for (int size : {64, 128, 256}) {
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        const fs::path icon =
            p / "share/icons/hicolor" / folder / "apps" / (appId + std::string(".png"));
        EXPECT_EQ(pngSize(icon), std::make_pair(size, size)) << icon;
    }
    EXPECT_TRUE(fs::exists(p / "share/mime/packages" / (appId + std::string(".xml"))));

    const fs::path entry = p / "share/applications" / (appId + std::string(".desktop"));
    EXPECT_EQ(runCommand("desktop-file-validate " + quoted(entry), output), 0) << output;
    EXPECT_EQ(output.find("error"), std::string::npos) << output;
    std::printf("desktop-file-validate: %s\n", output.c_str());
    const fs::path metainfo = p / "share/metainfo" / (appId + std::string(".metainfo.xml"));
    EXPECT_EQ(runCommand("appstreamcli validate --no-net " + quoted(metainfo), output), 0)
        << output;
    std::printf("appstreamcli validate: %s\n", output.c_str());
}

// The Debian package unpacked into a throw-away root, its program started by a new user from an
// unrelated folder: the main menu, "Play" with the demo songs in ./Songs, Escape; then a MIDI
// file opened with the desktop entry's command, as a file manager does, lands in the user's
// "Imported Songs" and is listed there, and a plain `cadenzio FILE` has Notepress write there too.
// Everything they write is in the user's home.
TEST(Install, ThePackagedProgramKeepsANewUsersFilesInTheirHome) {
    TempFolder work, scratch;
    const fs::path packages = work.path / "packages", root = work.path / "root",
                   home = work.path / "home", elsewhere = work.path / "elsewhere";
    for (const fs::path& folder : {home, elsewhere}) fs::create_directories(folder);
    std::string output;
    ASSERT_EQ(runCommand("cpack -G DEB --config " +
                             quoted(fs::path(CADENZIO_BINARY_DIR) / "CPackConfig.cmake") + " -B " +
                             quoted(packages),
                         output),
              0)
        << output;
    fs::path deb;
    for (const fs::directory_entry& entry : fs::directory_iterator(packages))
        if (entry.path().extension() == ".deb") deb = entry.path();
    ASSERT_FALSE(deb.empty()) << output;
    ASSERT_EQ(runCommand("dpkg-deb -f " + quoted(deb) + " Depends", output), 0) << output;
    std::printf("Depends: %s", output.c_str());
    for (const char* library : {"libsdl2", "librtmidi", "libpng", "libfreetype", "libc6"})
        EXPECT_NE(output.find(library), std::string::npos) << library << " missing in " << output;
    ASSERT_EQ(runCommand("dpkg -x " + quoted(deb) + " " + quoted(root), output), 0) << output;
    const std::set<std::string> installed = filesBelow(root);

    NewUser user(home);
    User screen{scratch.path, fs::path(CADENZIO_BINARY_DIR) / "install-screenshots"};
    fs::remove_all(screen.pictures);
    fs::create_directories(screen.pictures);
    {
        Program cadenzio(root / "usr/bin/cadenzio", elsewhere, {}, true);
        ASSERT_TRUE(windowShown(10s)) << readText(cadenzio.errors);
        auto shot = screen.waitFor("the main menu", mainMenuShown);
        ASSERT_TRUE(shot);
        ASSERT_TRUE(screen.clickMainMenuButton(0));
        shot = screen.waitFor("the library's two top folders",
                              [](const Screenshot& s) { return browserShowsRows(s, 2); });
        ASSERT_TRUE(shot);
        const Screenshot top = *shot;
        const int demoFolders = int(listedEntries(root / "usr/share/cadenzio/Songs").size());
        EXPECT_EQ(demoFolders, 3);
        shot = screen.chooseRow(0, "./Songs with the demo folders", [&](const Screenshot& s) {
            return browserShowsRows(s, demoFolders + 1) && !same(s, top, browserTitle);
        });
        ASSERT_TRUE(shot);
        screen.keep(*shot, "installed-songs");
        ASSERT_TRUE(screen.pressUntil("Escape", "the main menu again", mainMenuShown));
        const std::optional<int> status = pressUntilEnd(cadenzio, "Escape");
        EXPECT_EQ(status, std::optional<int>(0)) << readText(cadenzio.errors);
    }
    EXPECT_TRUE(fs::exists(home / ".config/cadenzio/Settings.dat"));
    EXPECT_TRUE(fs::exists(home / ".config/cadenzio/imgui.ini"));
    EXPECT_TRUE(fs::is_directory(home / ".local/share/cadenzio"));

    // The desktop entry's command with %F replaced by the file, the way a file manager runs it.
    const fs::path piece = work.path / "Evening Song.mid";
    writeBytes(piece, twoHandPiece());
    const std::string entry =
        readText(root / "usr/share/applications" / (appId + std::string(".desktop")));
    const size_t exec = entry.find("\nExec=");
    ASSERT_NE(exec, std::string::npos);
    std::istringstream command(entry.substr(exec + 6, entry.find('\n', exec + 1) - exec - 6));
    std::string program;
    std::vector<std::string> arguments;
    command >> program;
    for (std::string word; command >> word;)
        arguments.push_back(word == "%F" ? piece.string() : word);
    ASSERT_EQ(program, "cadenzio");
    const fs::path imported = home / ".local/share/cadenzio/Imported Songs/Evening Song.fff";
    {
        Program cadenzio(root / "usr/bin" / program, elsewhere, arguments, true);
        ASSERT_TRUE(windowShown(20s)) << readText(cadenzio.errors);
        EXPECT_TRUE(fs::exists(imported)) << "not imported before the window opened";
        ASSERT_TRUE(screen.waitFor("the main menu", mainMenuShown));
        ASSERT_TRUE(screen.clickMainMenuButton(0));
        ASSERT_TRUE(screen.waitFor("the library's two top folders",
                                   [](const Screenshot& s) { return browserShowsRows(s, 2); }));
        auto shot = screen.chooseRow(1, "Imported Songs with the opened file",
                                     [](const Screenshot& s) { return browserShowsRows(s, 2); });
        ASSERT_TRUE(shot);
        screen.keep(*shot, "opened-file-imported");
        ASSERT_TRUE(screen.pressUntil("Escape", "the main menu again", mainMenuShown));
        const std::optional<int> status = pressUntilEnd(cadenzio, "Escape");
        EXPECT_EQ(status, std::optional<int>(0)) << readText(cadenzio.errors);
    }
    EXPECT_GT(fs::file_size(imported), 4u);

    // A plain `cadenzio FILE` hands the file over to Notepress, which writes into the same folder
    // whatever the working folder was.
    writeBytes(work.path / "Morning Song.mid", twoHandPiece());
    {
        Program cadenzio(root / "usr/bin/cadenzio", elsewhere, {"../Morning Song.mid"}, false);
        EXPECT_EQ(cadenzio.wait(10s), std::optional<int>(0)) << readText(cadenzio.errors);
    }
    const fs::path handedOver = imported.parent_path() / "Morning Song.fff";
    waitUntil(20s, [&] { return fs::exists(handedOver); });
    EXPECT_TRUE(fs::exists(handedOver)) << "Notepress wrote no song into Imported Songs";

    EXPECT_EQ(filesBelow(root), installed) << "written under the installed prefix";
    EXPECT_EQ(filesBelow(elsewhere), std::set<std::string>{"stderr.txt"})
        << "written into the working folder";
    std::printf("written into the new user's home:\n");
    for (const std::string& path : filesBelow(home)) std::printf("  ~/%s\n", path.c_str());
}
