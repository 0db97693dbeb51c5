// The whole program as a player meets it: how long a note from a MIDI keyboard takes to reach the
// MIDI output, on the main menu and during the play of a dense song (with busy processes beside
// it or without); how much CPU it takes at rest on the main menu and in a paused play; and how
// long it takes from its start to its first frame. Needs a JACK server and a display: run it
// through tests/support/with_jack.sh and tests/support/with_xvfb.sh, as the README shows.
// CADENZIO_BENCH_PROGRAM names another build of the program to weigh, to compare two builds.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "support/midi_latency_rig.h"
#include "support/program_on_display.h"
#include "support/temp_folder.h"
#include "tools/smf_writer.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

std::string programPath() {
    const char* other = std::getenv("CADENZIO_BENCH_PROGRAM");
    return other != nullptr && *other != '\0' ? other : CADENZIO_PROGRAM;
}

// Cores the process takes over ten seconds.
double restingCores(pid_t pid) {
    const double before = processCpuSeconds(pid);
    const auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(10s);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return (processCpuSeconds(pid) - before) / seconds;
}

// The program started in a fresh working folder with runtime/'s textures and the songs given;
// without a MIDI server unless asked for, so that its rest is its own (a JACK client wakes every
// period of the server's clock, whatever the program does). Ended when it goes.
struct Started {
    TempFolder folder;
    pid_t pid = -1;
    Started(const fs::path& songs, bool midiServer) {
        const fs::path runtime = fs::path(CADENZIO_SOURCE_DIR) / "runtime";
        fs::create_directory_symlink(runtime / "Data", folder.path / "Data");
        fs::create_directory_symlink(songs.empty() ? runtime / "Songs" : songs,
                                     folder.path / "Songs");
        const std::string program = programPath();
        pid = fork();
        if (pid == 0) {
            if (chdir(folder.path.c_str()) != 0) _exit(126);
            if (!midiServer) unsetenv("JACK_DEFAULT_SERVER");
            execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~Started() {
        if (pid <= 0) return;
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;
};

// The X server's screen, read a small box at a time. The window covers the 1920 x 1080 screen,
// so frame and screen coordinates are the same.
struct Screen {
    Display* display = XOpenDisplay(nullptr);
    ~Screen() {
        if (display) XCloseDisplay(display);
    }
    template <typename Test> int count(int left, int top, int right, int bottom, Test test) {
        if (!display) return 0;
        XImage* image =
            XGetImage(display, DefaultRootWindow(display), left, top, unsigned(right - left),
                      unsigned(bottom - top), AllPlanes, ZPixmap);
        if (!image) return 0;
        int n = 0;
        for (int y = 0; y < bottom - top; ++y)
            for (int x = 0; x < right - left; ++x) {
                const unsigned long p = XGetPixel(image, x, y);
                n += test(int(p >> 16 & 255), int(p >> 8 & 255), int(p & 255)) ? 1 : 0;
            }
        XDestroyImage(image);
        return n;
    }
    // The main menu's first UI button ("Play") shown.
    bool mainMenu() {
        return count(48, 128, 176, 160, [](int r, int g, int b) {
                   return r < 100 && g < 90 && b > 110 && b - r > 40;
               }) > 128 * 32 * 6 / 10;
    }
    // The browser's row backgrounds, right of every name.
    bool browserRow(int row) {
        return count(1200, 108 + 48 * row, 1700, 148 + 48 * row,
                     [](int r, int g, int b) { return r + g + b > 60; }) > 500 * 40 * 9 / 10;
    }
    bool firstTrackBox() {
        return count(10, 100, 280, 240, [](int r, int g, int b) { return r + g + b > 120; }) >
               270 * 140 / 2;
    }
    // The play's yellow status lines.
    bool game() {
        return count(0, 44, 320, 140,
                     [](int r, int g, int b) { return r > 150 && g > 150 && b < 90; }) > 200;
    }
};

void xdotool(const std::string& arguments) {
    std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str());
}

// Moves the drawn cursor to (x, y) by way of the top-left corner, each move in a frame of its
// own, and clicks there, the button held over a few frames.
void clickAt(int x, int y) {
    xdotool("mousemove_relative -- -2500 -2500");
    std::this_thread::sleep_for(300ms);
    xdotool("mousemove_relative -- " + std::to_string(x) + " " + std::to_string(y));
    std::this_thread::sleep_for(300ms);
    xdotool("mousedown 1");
    std::this_thread::sleep_for(250ms);
    xdotool("mouseup 1");
}

bool clickUntil(int x, int y, const std::function<bool()>& shown, std::chrono::seconds timeout) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        clickAt(x, y);
        if (waitUntil(timeout, shown, 2ms)) return true;
    }
    return false;
}

void tapKey(const std::string& key) {
    xdotool("search --name '^Cadenzio$' windowfocus --sync");
    xdotool("keydown " + key);
    std::this_thread::sleep_for(200ms);
    xdotool("keyup " + key);
}

// Fifteen tracks on channels 1 to 15 (channel 0 is the measured keyboard's), each a note of a
// tenth of a second every 12.5 ms for 20 seconds: 24,000 notes, about 2,500 on the screen at once.
std::vector<uint8_t> denseSong() {
    std::vector<smf::Track> tracks;
    constexpr uint32_t step = 12, length = 96, notes = 1600; // ticks of 480 to a beat at 120 bpm
    for (uint8_t t = 0; t < 15; ++t) {
        struct Event {
            uint32_t at;
            bool on;
            uint8_t key;
        };
        std::vector<Event> events;
        for (uint32_t i = 0; i < notes; ++i) {
            const auto key = uint8_t(21 + (i * 7 + t * 5u) % 88);
            events.push_back({i * step, true, key});
            events.push_back({i * step + length, false, key});
        }
        std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
            return std::tie(a.at, a.on) < std::tie(b.at, b.on); // offs first
        });
        smf::Track track;
        if (t == 0) track.tempoBpm(0, 120);
        uint32_t now = 0;
        const auto channel = uint8_t(t + 1);
        for (const Event& e : events) {
            if (e.on)
                track.noteOn(e.at - now, channel, e.key, 80);
            else
                track.noteOff(e.at - now, channel, e.key);
            now = e.at;
        }
        track.endOfTrack();
        tracks.push_back(track);
    }
    return smf::file(1, 480, tracks);
}

// A songs folder holding the dense song, which the browser lists as row 1 below "../".
struct DenseSongs {
    TempFolder folder;
    DenseSongs() { writeBytes(folder.path / "Dense.mid", denseSong()); }
};

// From the main menu into the play of the dense song with the right hand.
bool startDensePlay(Screen& screen) {
    if (!waitUntil(
            60s, [&] { return screen.mainMenu(); }, 2ms))
        return false;
    if (!clickUntil(
            112, 144, [&] { return screen.browserRow(1); }, 10s))
        return false;
    // "./Songs", then the song in it.
    clickAt(1000, 128);
    std::this_thread::sleep_for(1s);
    if (!clickUntil(
            1000, 176, [&] { return screen.firstTrackBox(); }, 60s))
        return false;
    return clickUntil(
        1044, 315, [&] { return screen.game(); }, 20s);
}

struct Busy {
    std::vector<pid_t> children;
    explicit Busy(int count) {
        for (int i = 0; i < count; ++i) {
            const pid_t pid = fork();
            if (pid == 0) {
                volatile unsigned long n = 0;
                for (;;) n = n + 1;
            }
            children.push_back(pid);
        }
    }
    ~Busy() {
        for (pid_t pid : children) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
};

void report(benchmark::State& state, const latency::Figures& figures) {
    const auto& ms = figures.milliseconds;
    state.counters["notes_sent"] = static_cast<double>(figures.sent);
    state.counters["notes_through"] = static_cast<double>(ms.size());
    state.counters["median_ms"] = latency::percentile(ms, 0.5);
    state.counters["p99_ms"] = latency::percentile(ms, 0.99);
    state.counters["max_ms"] = latency::percentile(ms, 1.0);
    state.counters["min_ms"] = latency::percentile(ms, 0.0);
}

bool needsJack(benchmark::State& state) {
    if (std::getenv("JACK_DEFAULT_SERVER") != nullptr) return true;
    state.SkipWithError("run through tests/support/with_jack.sh");
    return false;
}

void MenuNoteLatency(benchmark::State& state) {
    if (!needsJack(state)) return;
    for (auto _ : state) {
        latency::Rig rig(programPath(), CADENZIO_SOURCE_DIR);
        const latency::Figures figures = rig.measure(static_cast<size_t>(state.range(0)));
        if (!figures.failure.empty()) {
            state.SkipWithError(figures.failure.c_str());
            return;
        }
        report(state, figures);
    }
}
// 60 notes as a player might strike them; 600 for a percentile that means something.
BENCHMARK(MenuNoteLatency)->Arg(60)->Arg(600)->Iterations(1)->Unit(benchmark::kSecond);

// Notes played along with the dense song; the second argument is the number of busy processes.
void DensePlayNoteLatency(benchmark::State& state) {
    if (!needsJack(state)) return;
    for (auto _ : state) {
        DenseSongs songs;
        latency::Rig rig(programPath(), CADENZIO_SOURCE_DIR, songs.folder.path);
        Screen screen;
        if (!rig.started() || !startDensePlay(screen)) {
            state.SkipWithError("the dense song's play never showed");
            return;
        }
        Busy busy(static_cast<int>(state.range(1)));
        const latency::Figures figures = rig.measure(static_cast<size_t>(state.range(0)));
        if (!figures.failure.empty()) {
            state.SkipWithError(figures.failure.c_str());
            return;
        }
        report(state, figures);
    }
}
BENCHMARK(DensePlayNoteLatency)
    ->Args({600, 0})
    ->Args({600, 2})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

// Cores taken over 10 s on the main menu with nothing moving; the argument 1 runs it with the
// JACK server of with_jack.sh, 0 without any MIDI server.
void MainMenuRest(benchmark::State& state) {
    const bool midiServer = state.range(0) != 0;
    if (midiServer && !needsJack(state)) return;
    for (auto _ : state) {
        Started program({}, midiServer);
        Screen screen;
        if (!waitUntil(
                60s, [&] { return screen.mainMenu(); }, 2ms)) {
            state.SkipWithError("the main menu never showed");
            return;
        }
        std::this_thread::sleep_for(2s);
        state.counters["cores"] = restingCores(program.pid);
    }
}
BENCHMARK(MainMenuRest)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

// Cores taken over 10 s by the dense song's play, paused; the argument as above.
void PausedPlayRest(benchmark::State& state) {
    const bool midiServer = state.range(0) != 0;
    if (midiServer && !needsJack(state)) return;
    for (auto _ : state) {
        DenseSongs songs;
        Started program(songs.folder.path, midiServer);
        Screen screen;
        if (!startDensePlay(screen)) {
            state.SkipWithError("the dense song's play never showed");
            return;
        }
        tapKey("space");
        std::this_thread::sleep_for(2s);
        state.counters["cores"] = restingCores(program.pid);
    }
}
BENCHMARK(PausedPlayRest)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

// From the start of the program to its main menu on the screen; the median of five starts.
void StartToFirstFrame(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<double> ms;
        for (int run = 0; run < 5; ++run) {
            Screen screen;
            bool shown = false;
            std::chrono::steady_clock::time_point start, end;
            {
                Started program({}, true);
                start = std::chrono::steady_clock::now();
                shown = waitUntil(
                    30s, [&] { return screen.mainMenu(); }, 2ms);
                end = std::chrono::steady_clock::now();
            }
            if (!shown) {
                state.SkipWithError("the main menu never showed");
                return;
            }
            ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
            // The next start must not see this one's picture.
            waitUntil(
                10s, [&] { return !screen.mainMenu(); }, 2ms);
        }
        state.counters["median_ms"] = latency::percentile(ms, 0.5);
        state.counters["max_ms"] = latency::percentile(ms, 1.0);
    }
}
BENCHMARK(StartToFirstFrame)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
