#pragma once
// Waiting on MIDI that travels through a JACK server in tests: conditions polled for up to five
// seconds, and the first events of a new connection, which JACK may drop.
#include <chrono>
#include <functional>
#include <thread>

template <typename Condition> bool eventually(Condition condition) {
    for (int i = 0; i < 1000; ++i) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

// A new JACK connection carries events only from a later process cycle on, so what is sent at
// once may be lost: repeats the probe until one arrives, then drops whatever else came.
inline bool connectionCarries(const std::function<void()>& probe,
                              const std::function<bool()>& takeOne) {
    for (int i = 0; i < 500; ++i) {
        probe();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (takeOne()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            while (takeOne()) {
            }
            return true;
        }
    }
    return false;
}
