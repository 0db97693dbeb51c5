#include "platform/frame_wake.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <ctime>
#include <thread>

namespace {

std::atomic<uint64_t> wakes{0};
static_assert(std::atomic<uint64_t>::is_always_lock_free);

// An event counter: writing to it is lock-free, and the waiter can sleep on it with a timeout.
int wakeDescriptor() {
    static const int descriptor = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    return descriptor;
}

} // namespace

void wakeFrame() {
    wakes.fetch_add(1, std::memory_order_release);
    const int fd = wakeDescriptor();
    if (fd < 0) return;
    const uint64_t one = 1;
    // Fails only when the counter is about to overflow, which still leaves it set.
    [[maybe_unused]] ssize_t written = write(fd, &one, sizeof one);
}

uint64_t frameWakeCount() {
    return wakes.load(std::memory_order_acquire);
}

bool waitForFrameWake(std::chrono::steady_clock::time_point deadline, int alsoDescriptor) {
    using namespace std::chrono;
    const int fd = wakeDescriptor();
    if (fd < 0) {
        std::this_thread::sleep_until(deadline);
        return false;
    }
    for (;;) {
        const auto now = steady_clock::now();
        const nanoseconds left = deadline > now ? duration_cast<nanoseconds>(deadline - now) : 0ns;
        pollfd waiting[2] = {{fd, POLLIN, 0}, {alsoDescriptor, POLLIN, 0}};
        const timespec timeout{static_cast<time_t>(left.count() / 1'000'000'000),
                               static_cast<long>(left.count() % 1'000'000'000)};
        const int ready = ppoll(waiting, alsoDescriptor >= 0 ? 2 : 1, &timeout, nullptr);
        if (ready > 0) {
            if (!(waiting[0].revents & POLLIN)) return false;
            uint64_t count = 0;
            [[maybe_unused]] ssize_t taken = read(fd, &count, sizeof count);
            return true;
        }
        if (ready == 0 || steady_clock::now() >= deadline) return false;
        // Interrupted by a signal: wait out the rest.
    }
}
