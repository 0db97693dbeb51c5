// The wake that ends the frame pacing's wait early: from another thread, before the wait, once.
#include "platform/frame_wake.h"

#include <gtest/gtest.h>

#include <thread>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(FrameWake, AWakeFromAnotherThreadEndsTheWaitAndIsConsumedByIt) {
    waitForFrameWake(Clock::now()); // a wake left over from elsewhere
    std::thread waker([] {
        std::this_thread::sleep_for(20ms);
        wakeFrame();
    });
    // Far off: only the wake can end this wait in time for the test.
    EXPECT_TRUE(waitForFrameWake(Clock::now() + 600s));
    waker.join();
    EXPECT_FALSE(waitForFrameWake(Clock::now() + 10ms)) << "the wake was used up";
}

TEST(FrameWake, WakesBeforeTheWaitEndItAtOnceAndCountAsOne) {
    waitForFrameWake(Clock::now());
    wakeFrame();
    wakeFrame();
    EXPECT_TRUE(waitForFrameWake(Clock::now() + 600s));
    EXPECT_FALSE(waitForFrameWake(Clock::now()));
}
