#pragma once
// A program under test started as a user would, on the private X server the test runs under
// (tests/support/with_xvfb.sh), with the X tools that look at and drive it: xdotool, xwininfo,
// xprop and import.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_folder.h"

// Output of a shell command (test tools only).
inline std::string capture(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

// User plus system CPU seconds of a process so far; 0 once it is gone.
inline double processCpuSeconds(pid_t pid) {
    std::string stat = readText("/proc/" + std::to_string(pid) + "/stat");
    const size_t paren = stat.rfind(')');
    if (paren == std::string::npos) return 0;
    std::istringstream fields(stat.substr(paren + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) utime = std::stoull(field);
        if (i == 15) stime = std::stoull(field);
    }
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

struct Program {
    pid_t pid = -1;
    std::filesystem::path errors;

    // Starts the program in dir with its standard error in dir/stderr.txt.
    Program(const std::filesystem::path& program, const std::filesystem::path& dir,
            std::vector<std::string> args, bool withDisplay) {
        errors = dir / "stderr.txt";
        pid = fork();
        if (pid == 0) {
            if (chdir(dir.c_str()) != 0) _exit(126);
            int fd = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(fd, 2);
            if (!withDisplay) unsetenv("DISPLAY");
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (std::string& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
    }
    ~Program() {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The exit status, or nothing when it is still running after the timeout.
    std::optional<int> wait(std::chrono::milliseconds timeout) {
        auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            int status = 0;
            pid_t done = waitpid(pid, &status, WNOHANG);
            if (done == pid) {
                pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    // User plus system CPU seconds so far.
    double cpuSeconds() const { return processCpuSeconds(pid); }
};

// Polls the condition every poll until it holds (true) or the timeout passes (false).
template <typename Condition>
bool waitUntil(std::chrono::milliseconds timeout, Condition condition,
               std::chrono::milliseconds poll = std::chrono::milliseconds(50)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(poll);
    }
}

// Presses the key into the focused window until the program ends, and returns how it ended, or
// nothing at the timeout. A press that came before the program saw the last release of the key
// shows no edge to it, so a press still unanswered after a while is released and made again.
inline std::optional<int> pressUntilEnd(Program& program, const std::string& key,
                                        std::chrono::seconds timeout = std::chrono::seconds(15)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        std::system(("xdotool keydown " + key).c_str());
        std::optional<int> status = program.wait(std::chrono::seconds(1));
        std::system(("xdotool keyup " + key).c_str());
        if (!status) status = program.wait(std::chrono::milliseconds(500));
        if (status || std::chrono::steady_clock::now() > deadline) return status;
    }
}

// Waits until a window of that exact title exists.
inline bool windowShown(std::chrono::milliseconds timeout, const std::string& title = "Cadenzio") {
    return waitUntil(timeout, [&] {
        return !capture("xdotool search --name '^" + title + "$' 2>/dev/null").empty();
    });
}

// Waits until the program's standard error holds every one of the texts.
inline bool errorsSay(const Program& program, const std::vector<std::string>& texts,
                      std::chrono::milliseconds timeout) {
    return waitUntil(timeout, [&] {
        const std::string errors = readText(program.errors);
        return std::all_of(texts.begin(), texts.end(), [&](const std::string& text) {
            return errors.find(text) != std::string::npos;
        });
    });
}

// The first number after key in text, or fallback.
inline int numberAfter(const std::string& text, const std::string& key, int fallback = -1) {
    size_t at = text.find(key);
    if (at == std::string::npos) return fallback;
    return std::atoi(text.c_str() + at + key.size());
}

inline void screenSize(int& width, int& height) {
    std::string root = capture("xwininfo -root");
    width = numberAfter(root, "Width:");
    height = numberAfter(root, "Height:");
}

struct Screenshot {
    int width = 0, height = 0;
    std::string rgb;
    // The whole screen, through dir/<name>.rgb; also kept as dir/<name>.png, for a person to look
    // at, unless asked not to (a test that waits for a picture takes many).
    explicit Screenshot(const std::filesystem::path& dir, const std::string& name = "screen",
                        bool keepPicture = true) {
        screenSize(width, height);
        std::filesystem::path file = dir / (name + ".rgb");
        std::system(("import -window root -depth 8 rgb:" + file.string()).c_str());
        rgb = readText(file);
        if (keepPicture) keep(dir / (name + ".png"));
    }
    // Writes the picture as a PNG file.
    void keep(const std::filesystem::path& png) const {
        std::filesystem::path file = png;
        file += ".rgb";
        std::ofstream(file, std::ios::binary).write(rgb.data(), std::streamsize(rgb.size()));
        std::string size = std::to_string(width) + "x" + std::to_string(height);
        std::system(("convert -size " + size + " -depth 8 rgb:'" + file.string() + "' '" +
                     png.string() + "'")
                        .c_str());
        std::filesystem::remove(file);
    }
    bool valid() const {
        return width > 0 && rgb.size() == static_cast<size_t>(width) * size_t(height) * 3;
    }
    const unsigned char* at(int x, int y) const {
        return reinterpret_cast<const unsigned char*>(&rgb[(size_t(y) * size_t(width) + x) * 3]);
    }
    // Pixels in the rectangle, clipped to the screen, for which the test holds.
    template <typename Test> int count(int left, int top, int right, int bottom, Test test) const {
        int n = 0;
        for (int y = std::max(top, 0); y < std::min(bottom, height); ++y)
            for (int x = std::max(left, 0); x < std::min(right, width); ++x) {
                const unsigned char* p = at(x, y);
                n += test(p[0], p[1], p[2]) ? 1 : 0;
            }
        return n;
    }
    int lit(int left, int top, int right, int bottom) const {
        return count(left, top, right, bottom, [](int r, int g, int b) { return r + g + b > 120; });
    }
};

// A working directory with the textures and songs of runtime/, so nothing is written there.
inline void prepareRuntime(const std::filesystem::path& dir) {
    std::filesystem::path runtime = std::filesystem::path(CADENZIO_SOURCE_DIR) / "runtime";
    for (const char* name : {"Data", "Songs"})
        if (std::filesystem::exists(runtime / name))
            std::filesystem::create_directory_symlink(runtime / name, dir / name);
}

// Takes pictures of the screen (through dir) until one passes the check or the timeout passes,
// and returns the last: the test then checks that one as it would any picture, so a timeout
// fails with the test's own messages.
template <typename Check>
Screenshot lookUntil(const std::filesystem::path& dir, std::chrono::milliseconds timeout,
                     Check check) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        Screenshot shot(dir, "screen", false);
        if ((shot.valid() && check(shot)) || std::chrono::steady_clock::now() > deadline)
            return shot;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}
