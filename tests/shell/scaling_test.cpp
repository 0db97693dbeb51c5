// The 1920 x 1080 picture on a smaller desktop and in full screen, run under a window manager on
// a screen smaller than the frame (with_xvfb.sh --screen WxH --window-manager). The probe draws
// pure-colour squares in the frame's corners and a button that toggles full screen; the test
// finds them on screenshots where the scaled picture must put them.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "scaling_probe_layout.h"
#include "support/program_on_display.h"
#include "support/temp_folder.h"

using namespace std::chrono_literals;

namespace {

struct Area {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Area&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Area& a) {
    return out << a.width << "x" << a.height << "+" << a.x << "+" << a.y;
}

// The numbers after '=' in an xprop line.
std::vector<int> propertyNumbers(const std::string& command) {
    std::string text = capture(command);
    std::vector<int> numbers;
    size_t at = text.find('=');
    if (at == std::string::npos) return numbers;
    std::istringstream in(text.substr(at + 1));
    std::string item;
    while (std::getline(in, item, ',')) numbers.push_back(std::atoi(item.c_str()));
    return numbers;
}

std::string windowId() {
    std::string id = capture("xdotool search --name '^Cadenzio$' 2>/dev/null | head -n 1");
    while (!id.empty() && (id.back() == '\n' || id.back() == ' ')) id.pop_back();
    return id;
}

// The client area on the screen.
Area clientArea(const std::string& id) {
    std::string info = capture("xwininfo -id " + id);
    return {numberAfter(info, "Absolute upper-left X:"),
            numberAfter(info, "Absolute upper-left Y:"), numberAfter(info, "Width:"),
            numberAfter(info, "Height:")};
}

// Waits until the client area has stayed the same for a while (and, when given, is that area).
Area settledArea(const std::string& id, const Area* wanted = nullptr) {
    Area last = clientArea(id);
    int same = 0;
    auto deadline = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(100ms);
        Area now = clientArea(id);
        same = now == last ? same + 1 : 0;
        last = now;
        if (same >= 5 && (!wanted || now == *wanted)) break;
    }
    return last;
}

// The frame's aspect fitted into an area and centred, computed here on its own terms.
struct Picture {
    double x, y, scale;
    Picture(const Area& area) {
        scale = std::min(area.width / double(probe::frameWidth),
                         area.height / double(probe::frameHeight));
        x = area.x + (area.width - probe::frameWidth * scale) / 2;
        y = area.y + (area.height - probe::frameHeight * scale) / 2;
    }
    int screenX(double frameX) const { return int(std::floor(x + frameX * scale)); }
    int screenY(double frameY) const { return int(std::floor(y + frameY * scale)); }
};

// Each corner square shows in its colour where the picture puts its middle, and the menu bar
// reaches the picture's top corners: what is not, or empty.
std::string cornersAmiss(const Screenshot& shot, const Picture& picture) {
    std::ostringstream amiss;
    auto onScreen = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < shot.width && y < shot.height;
    };
    for (int frameX : {2, probe::frameWidth - 3}) {
        int x = picture.screenX(frameX), y = picture.screenY(2);
        auto dark = [](int c) { return c > 20 && c < 70; };
        const unsigned char* p = onScreen(x, y) ? shot.at(x, y) : nullptr;
        if (!p || !(dark(p[0]) && dark(p[1]) && dark(p[2])))
            amiss << "menu bar looked for at " << x << ", " << y << ": "
                  << (p ? "not its dark grey" : "off the screen") << "\n";
    }
    for (const probe::Marker& marker : probe::markers) {
        double middle = probe::markerSide / 2.0;
        int x = picture.screenX(marker.x + middle), y = picture.screenY(marker.y + middle);
        int matching = shot.count(x - 1, y - 1, x + 2, y + 2, [&](int r, int g, int b) {
            return std::abs(r - marker.r) < 40 && std::abs(g - marker.g) < 40 &&
                   std::abs(b - marker.b) < 40;
        });
        if (!onScreen(x, y) || matching != 9)
            amiss << "corner square at " << marker.x << ", " << marker.y << " looked for at " << x
                  << ", " << y << ": " << (onScreen(x, y) ? "" : "off the screen, ") << matching
                  << " of 9 pixels in its colour\n";
    }
    return amiss.str();
}

// A picture of the scaled frame, once it is drawn at the place and size given.
Screenshot pictureShown(const std::filesystem::path& dir, const Picture& picture) {
    return lookUntil(dir, 10s,
                     [&](const Screenshot& shot) { return cornersAmiss(shot, picture).empty(); });
}

// The drawn cursor's tip: the top-left of its white inside, within the area below the menu bar
// and its white names.
bool findCursor(const Screenshot& shot, const Area& area, int& x, int& y) {
    x = y = -1;
    const Picture picture(area);
    for (int row = picture.screenY(probe::belowMenuBar);
         row < area.y + area.height && row < shot.height; ++row)
        for (int col = area.x; col < area.x + area.width && col < shot.width; ++col) {
            const unsigned char* p = shot.at(col, row);
            if (p[0] > 200 && p[1] > 200 && p[2] > 200) {
                if (y < 0) y = row;
                if (x < 0 || col < x) x = col;
            }
        }
    return x >= 0;
}

// Pixels of the button's own colours (the cursor covers a few) in its middle on screen.
int buttonPixels(const Screenshot& shot, const Picture& picture, bool hovered) {
    const probe::Box& box = probe::button;
    int left = picture.screenX(box.left) + 3, top = picture.screenY(box.top) + 3;
    int right = picture.screenX(box.right) - 3, bottom = picture.screenY(box.bottom) - 3;
    return shot.count(left, top, right, bottom, [&](int r, int g, int b) {
        return r < 40 && (hovered ? g > 200 && b < 40 : g < 40 && b > 200);
    });
}

int buttonArea(const Picture& picture) {
    const probe::Box& box = probe::button;
    return (picture.screenX(box.right) - picture.screenX(box.left) - 6) *
           (picture.screenY(box.bottom) - picture.screenY(box.top) - 6);
}

// Pixels of the button's colour while held down.
int pressedButtonPixels(const Screenshot& shot, const Picture& picture) {
    const probe::Box& box = probe::button;
    return shot.count(picture.screenX(box.left) + 3, picture.screenY(box.top) + 3,
                      picture.screenX(box.right) - 3, picture.screenY(box.bottom) - 3,
                      [](int r, int g, int b) { return r > 200 && g > 200 && b < 40; });
}

// Held until the button shows it down, so that no frame misses the press; it acts on the release.
void click(const std::filesystem::path& dir, const Picture& picture) {
    std::system("xdotool mousedown 1");
    Screenshot held = lookUntil(dir, 10s, [&](const Screenshot& shot) {
        return pressedButtonPixels(shot, picture) > buttonArea(picture) * 3 / 4;
    });
    std::system("xdotool mouseup 1");
    EXPECT_GT(pressedButtonPixels(held, picture), buttonArea(picture) * 3 / 4)
        << "the button never showed the press";
}

} // namespace

TEST(Scaling, PictureFitsTheDesktopFillsFullScreenAndTheCursorHitsWhatItShows) {
    int screenWidth = 0, screenHeight = 0;
    screenSize(screenWidth, screenHeight);
    ASSERT_LT(screenWidth, probe::frameWidth) << "meant for a screen smaller than the frame";
    std::vector<int> work = propertyNumbers("xprop -root _NET_WORKAREA");
    ASSERT_GE(work.size(), 4u) << "meant to run under a window manager";
    const Area desktop{work[0], work[1], work[2], work[3]};

    TempFolder dir;
    prepareRuntime(dir.path);
    Program probe(CADENZIO_SCALING_PROBE, dir.path, {}, true);
    ASSERT_TRUE(windowShown(10s)) << readText(probe.errors);
    const std::string id = windowId();

    // The window with its frame fits the usable desktop, at the largest size of the frame's
    // aspect.
    const Area windowed = settledArea(id);
    std::vector<int> frame = propertyNumbers("xprop -id " + id + " _NET_FRAME_EXTENTS");
    ASSERT_EQ(frame.size(), 4u) << capture("xprop -id " + id) << capture("xwininfo -root -tree");
    const int left = frame[0], right = frame[1], top = frame[2], bottom = frame[3];
    EXPECT_GT(top, 0) << "the window manager gave no title bar";
    EXPECT_GE(windowed.x - left, desktop.x) << windowed;
    EXPECT_GE(windowed.y - top, desktop.y) << windowed;
    EXPECT_LE(windowed.x + windowed.width + right, desktop.x + desktop.width) << windowed;
    EXPECT_LE(windowed.y + windowed.height + bottom, desktop.y + desktop.height) << windowed;
    EXPECT_TRUE(windowed.width + left + right == desktop.width ||
                windowed.height + top + bottom == desktop.height)
        << windowed << " is not the largest that fits " << desktop;
    EXPECT_NEAR(windowed.width * double(probe::frameHeight) / probe::frameWidth, windowed.height,
                1.0);
    // Centred on the desktop.
    EXPECT_NEAR(windowed.x - left - desktop.x,
                desktop.x + desktop.width - (windowed.x + windowed.width + right), 1);

    const Picture inWindow(windowed);
    // The frame-rate text, scaled, at the picture's top-left.
    auto rateShown = [&](const Screenshot& s) {
        return s.count(inWindow.screenX(0), inWindow.screenY(20), inWindow.screenX(60),
                       inWindow.screenY(42),
                       [](int r, int g, int b) { return r > 150 && g > 150 && b < 90; }) > 10;
    };
    int cursorX = 0, cursorY = 0;
    Screenshot shot = lookUntil(dir.path, 10s, [&](const Screenshot& s) {
        return cornersAmiss(s, inWindow).empty() && rateShown(s) &&
               findCursor(s, windowed, cursorX, cursorY);
    });
    ASSERT_TRUE(shot.valid());
    shot.keep(dir.path / "windowed.png");
    EXPECT_EQ(cornersAmiss(shot, inWindow), "");
    EXPECT_TRUE(rateShown(shot)) << "no frame-rate text in the picture's top-left corner";

    // Aim the drawn cursor at the middle of the button as drawn: the motion the hand makes on
    // screen moves the drawn cursor as far, and the click lands on the button.
    ASSERT_TRUE(findCursor(shot, windowed, cursorX, cursorY)) << "no cursor drawn";
    const probe::Box& box = probe::button;
    int aimX = inWindow.screenX((box.left + box.right) / 2.0);
    int aimY = inWindow.screenY((box.top + box.bottom) / 2.0);
    std::system(("xdotool mousemove_relative -- " + std::to_string(aimX - cursorX) + " " +
                 std::to_string(aimY - cursorY))
                    .c_str());
    Screenshot aimed = lookUntil(dir.path, 10s, [&](const Screenshot& s) {
        return findCursor(s, windowed, cursorX, cursorY) && std::abs(cursorX - aimX) <= 3 &&
               std::abs(cursorY - aimY) <= 3 &&
               buttonPixels(s, inWindow, true) > buttonArea(inWindow) * 3 / 4;
    });
    aimed.keep(dir.path / "aimed.png");
    ASSERT_TRUE(findCursor(aimed, windowed, cursorX, cursorY));
    EXPECT_NEAR(cursorX, aimX, 3);
    EXPECT_NEAR(cursorY, aimY, 3);
    EXPECT_GT(buttonPixels(aimed, inWindow, true), buttonArea(inWindow) * 3 / 4)
        << "the UI does not see the mouse over the button the cursor is drawn on";

    click(dir.path, inWindow);
    const Area screen{0, 0, screenWidth, screenHeight};
    ASSERT_EQ(settledArea(id, &screen), screen) << "the click did not reach full screen";
    const Picture onScreen(screen);
    Screenshot full = pictureShown(dir.path, onScreen);
    ASSERT_TRUE(full.valid());
    full.keep(dir.path / "fullscreen.png");
    EXPECT_EQ(cornersAmiss(full, onScreen), "");
    // Bars, where the screen's shape is not the frame's, stay black.
    int barTop = onScreen.screenY(0), barLeft = onScreen.screenX(0);
    EXPECT_EQ(full.lit(0, 0, screenWidth, barTop - 1), 0);
    EXPECT_EQ(full.lit(0, screenHeight - barTop + 1, screenWidth, screenHeight), 0);
    EXPECT_EQ(full.lit(0, 0, barLeft - 1, screenHeight), 0);
    EXPECT_EQ(full.lit(screenWidth - barLeft + 1, 0, screenWidth, screenHeight), 0);
    // The cursor keeps its place in the picture: still on the button, which it still works.
    ASSERT_TRUE(findCursor(full, screen, cursorX, cursorY));
    EXPECT_NEAR(cursorX, onScreen.screenX((box.left + box.right) / 2.0), 3);
    EXPECT_NEAR(cursorY, onScreen.screenY((box.top + box.bottom) / 2.0), 3);
    EXPECT_GT(buttonPixels(full, onScreen, true), buttonArea(onScreen) * 3 / 4);

    click(dir.path, onScreen);
    EXPECT_EQ(settledArea(id, &windowed), windowed) << "leaving full screen lost the window";
    Screenshot back = pictureShown(dir.path, inWindow);
    back.keep(dir.path / "back.png");
    EXPECT_EQ(cornersAmiss(back, inWindow), "");

    // A window made far larger than any screen keeps a drawable the renderer can take, and the
    // picture goes on being drawn once the window is of a size again.
    std::system(("xdotool windowsize " + id + " 32767 32767").c_str());
    const Area huge = settledArea(id);
    EXPECT_LE(huge.width, 8192) << huge;
    EXPECT_LE(huge.height, 8192) << huge;
    std::system(("xdotool windowsize " + id + " " + std::to_string(windowed.width) + " " +
                 std::to_string(windowed.height))
                    .c_str());
    std::system(("xdotool windowmove " + id + " " + std::to_string(windowed.x) + " " +
                 std::to_string(windowed.y))
                    .c_str());
    const Area again = settledArea(id);
    ASSERT_EQ(again.width, windowed.width) << again;
    const Picture inResized(again);
    Screenshot resized = pictureShown(dir.path, inResized);
    resized.keep(dir.path / "resized.png");
    EXPECT_EQ(cornersAmiss(resized, inResized), "");

    std::system(("xdotool windowfocus --sync " + id).c_str());
    EXPECT_EQ(pressUntilEnd(probe, "Escape"), std::optional<int>(0)) << readText(probe.errors);
    if (const char* keep = std::getenv("CADENZIO_KEEP_SCREENSHOTS"))
        for (const char* name : {"windowed", "aimed", "fullscreen", "back"})
            std::filesystem::copy_file(dir.path / (std::string(name) + ".png"),
                                       std::filesystem::path(keep) /
                                           (std::to_string(screenWidth) + "x" +
                                            std::to_string(screenHeight) + "-" + name + ".png"),
                                       std::filesystem::copy_options::overwrite_existing);
}
