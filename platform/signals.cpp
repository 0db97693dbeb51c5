#include "platform/signals.h"

#include <SDL.h>
#include <signal.h>

#include <atomic>

namespace {

// Lock-free, so the handler may touch it from whichever thread the signal lands on.
std::atomic<bool> requested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void onTerminationSignal(int) {
    requested.store(true, std::memory_order_relaxed);
}

} // namespace

void catchTerminationSignals() {
    // Its handlers cover SIGINT and SIGTERM only, and would be put back over ours when the video
    // system starts.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signalNumber : {SIGHUP, SIGINT, SIGTERM, SIGQUIT}) {
        sigaction(signalNumber, &action, nullptr);
    }
    // A write to a closed pipe or socket (a MIDI or audio server gone) fails with EPIPE instead.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, nullptr);
}

bool takeTerminationRequest() {
    return requested.exchange(false, std::memory_order_relaxed);
}
