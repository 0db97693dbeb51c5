#pragma once
// Lets input that arrives on another thread (MIDI) end the frame pacing's wait early, so that the
// next frame reads it at once instead of when the frame period runs out.
#include <chrono>

// Marks input as waiting for the next frame. Any thread; never blocks and takes no lock, so the
// MIDI library's realtime thread may call it.
void wakeFrame();

// Sleeps until the deadline or until wakeFrame is called, whichever comes first, and consumes the
// wake. A wake that came before the call ends it at once. True when woken. A descriptor given
// (not -1) that turns readable ends the wait too, without a wake.
bool waitForFrameWake(std::chrono::steady_clock::time_point deadline, int alsoDescriptor = -1);

// How many times wakeFrame was called so far: a frame that sees it change since its start knows
// that input came meanwhile, even when a wait consumed the wake.
uint64_t frameWakeCount();
