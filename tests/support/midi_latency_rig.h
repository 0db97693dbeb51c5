#pragma once
// Times what the player plays from a MIDI keyboard to the sound output through the running
// program: a virtual keyboard and a virtual synthesiser on the JACK server of with_jack.sh, the
// program started on the display of with_xvfb.sh with them as its first ports. Used by the test
// that every note comes through and by the benchmark that reports how long they take.
#include <fcntl.h>
#include <rtmidi/RtMidi.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_folder.h"

namespace latency {

using Clock = std::chrono::steady_clock;

struct Figures {
    size_t sent = 0;
    std::vector<double> milliseconds; // of each note that came through, in sending order
    std::string failure;              // why no figures could be taken, empty when they were
};

// Nearest-rank percentile of the figures, 0 when there are none.
inline double percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    size_t rank = static_cast<size_t>(fraction * static_cast<double>(values.size()) + 0.999999);
    rank = std::clamp<size_t>(rank, 1, values.size());
    return values[rank - 1];
}

class Rig {
  public:
    // Starts the ports, then the program in a fresh working folder with runtime/'s textures and
    // songs, or the songs folder given.
    Rig(const std::string& program, const std::string& sourceDir,
        const std::filesystem::path& songs = {}) {
        keyboard = std::make_unique<RtMidiOut>(RtMidi::UNIX_JACK, "Latency Keyboard");
        keyboard->openVirtualPort("out");
        synth = std::make_unique<RtMidiIn>(RtMidi::UNIX_JACK, "Latency Synth");
        synth->setCallback(&Rig::arrived, this);
        synth->openVirtualPort("in");
        const std::filesystem::path runtime = std::filesystem::path(sourceDir) / "runtime";
        std::filesystem::create_directory_symlink(runtime / "Data", folder.path / "Data");
        std::filesystem::create_directory_symlink(songs.empty() ? runtime / "Songs" : songs,
                                                  folder.path / "Songs");
        pid = fork();
        if (pid == 0) {
            if (chdir(folder.path.c_str()) != 0) _exit(126);
            const int fd = open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd >= 0) dup2(fd, 2);
            execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~Rig() {
        if (pid > 0) {
            kill(pid, SIGTERM);
            int status = 0;
            for (int i = 0; i < 500 && waitpid(pid, &status, WNOHANG) == 0; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            if (waitpid(pid, &status, WNOHANG) == 0) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
            }
        }
        synth->cancelCallback();
    }
    Rig(const Rig&) = delete;
    Rig& operator=(const Rig&) = delete;

    // True once the program forwards a played note: up, with both ports connected.
    bool started() { return waitUntilForwarding(std::chrono::seconds(30)); }
    pid_t programId() const { return pid; }
    const std::filesystem::path& workingFolder() const { return folder.path; }

    // Plays count notes of 30 ms each, 40 to 110 ms apart so that they fall at every phase of
    // the program's frames, and times each note-on's arrival at the synthesiser. Keys repeat
    // after 88 notes, seconds apart, so an arrival belongs to the latest note of its key.
    Figures measure(size_t count) {
        Figures figures;
        if (!waitUntilForwarding(std::chrono::seconds(30))) {
            figures.failure =
                "the program never forwarded a note:\n" + readText(folder.path / "stderr.txt");
            return figures;
        }
        std::mt19937 random(12345);
        std::uniform_int_distribution<int> gap(40, 110);
        count = std::min(count, capacity / 2);
        std::vector<Clock::time_point> sentAt(count);
        for (size_t i = 0; i < count; ++i) {
            const auto key = keyOf(i);
            sentAt[i] = Clock::now();
            send(0x90, key, 100);
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            send(0x80, key, 0);
            std::this_thread::sleep_for(std::chrono::milliseconds(gap(random)));
        }
        // Until every note has come out, or long after the last should have.
        const auto deadline = Clock::now() + std::chrono::seconds(10);
        while (arrivalCount.load(std::memory_order_acquire) < count && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        figures.sent = count;
        const size_t received = std::min<size_t>(arrivalCount.load(), capacity);
        for (size_t i = 0; i < count; ++i) {
            const Clock::time_point until =
                i + keys < count ? sentAt[i + keys] : Clock::time_point::max();
            for (size_t j = 0; j < received; ++j) {
                const Arrival& arrival = arrivals[j];
                const Clock::time_point at{Clock::duration(arrival.time)};
                if (arrival.key != keyOf(i) || at < sentAt[i] || at >= until) continue;
                figures.milliseconds.push_back(
                    std::chrono::duration<double, std::milli>(at - sentAt[i]).count());
                break;
            }
        }
        return figures;
    }

  private:
    static constexpr size_t firstKey = 36, keys = 88, capacity = 4096;
    static constexpr unsigned char probeKey = 30;

    struct Arrival {
        unsigned char key = 0;
        int64_t time = 0; // of the steady clock
    };

    static unsigned char keyOf(size_t note) {
        return static_cast<unsigned char>(firstKey + note % keys);
    }

    void send(unsigned char status, unsigned char key, unsigned char velocity) {
        const std::vector<unsigned char> message{status, key, velocity};
        keyboard->sendMessage(&message);
    }

    // The program is up on the main menu with both ports connected once a played note comes out.
    bool waitUntilForwarding(std::chrono::seconds timeout) {
        const auto deadline = Clock::now() + timeout;
        while (Clock::now() < deadline) {
            send(0x90, probeKey, 100);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            send(0x80, probeKey, 0);
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
            if (probeHeard) {
                // Let the program settle into its idle frames before timing anything.
                std::this_thread::sleep_for(std::chrono::seconds(1));
                return true;
            }
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                pid = -1;
                return false;
            }
        }
        return false;
    }

    // The JACK thread's side: every note-on on channel 0 (the keyboard's; a song playing beside
    // uses the others), in order of arrival.
    static void arrived(double, std::vector<unsigned char>* message, void* self) {
        const auto now = Clock::now().time_since_epoch().count();
        if (message == nullptr || message->size() < 3) return;
        const std::vector<unsigned char>& m = *message;
        if (m[0] != 0x90 || m[2] == 0 || m[1] > 127) return;
        Rig& rig = *static_cast<Rig*>(self);
        if (m[1] == probeKey) {
            rig.probeHeard = true;
            return;
        }
        const size_t slot = rig.arrivalCount.load(std::memory_order_relaxed);
        if (slot >= capacity) return;
        rig.arrivals[slot] = {m[1], now};
        rig.arrivalCount.store(slot + 1, std::memory_order_release);
    }

    TempFolder folder;
    std::unique_ptr<RtMidiOut> keyboard;
    std::unique_ptr<RtMidiIn> synth;
    std::array<Arrival, capacity> arrivals{};
    std::atomic<size_t> arrivalCount{0}; // written by the JACK thread only
    std::atomic<bool> probeHeard{false};
    pid_t pid = -1;
};

} // namespace latency
