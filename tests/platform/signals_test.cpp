// Termination signals become one quit request each instead of ending the process.
#include <gtest/gtest.h>
#include <signal.h>

#include "platform/events.h"
#include "platform/signals.h"

TEST(Signals, EachTerminationSignalIsOneQuitRequestAndSigpipeIsIgnored) {
    catchTerminationSignals();
    EXPECT_FALSE(takeTerminationRequest());
    for (const int signalNumber : {SIGHUP, SIGINT, SIGTERM, SIGQUIT}) {
        raise(signalNumber);
        EXPECT_TRUE(takeTerminationRequest()) << signalNumber;
        EXPECT_FALSE(takeTerminationRequest()) << signalNumber;
    }
    raise(SIGPIPE);
    EXPECT_FALSE(takeTerminationRequest());

    // The event poll hands the request out as a quit, even with no window open.
    raise(SIGTERM);
    WindowEvent event;
    ASSERT_TRUE(pollWindowEvent(event));
    EXPECT_EQ(event.kind, WindowEvent::Quit);
    EXPECT_FALSE(takeTerminationRequest());
}
