// The input ring between the library's input thread and the main thread's polls.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

#include "platform/frame_wake.h"
#include "sound/midi_ports.h"

namespace {
using Message = std::vector<uint8_t>;
}

TEST(MidiInputQueue, KeepsOrderDropsWhenFullAndSaysSoOnce) {
    auto queue = std::make_unique<MidiInputQueue>();
    Message got;
    EXPECT_FALSE(takeQueuedMessage(*queue, got));

    testing::internal::CaptureStderr();
    for (uint32_t i = 0; i < MidiInputQueue::capacity + 50; ++i)
        queueInputMessage(*queue, {0x90, uint8_t(i % 128), 1});
    queueInputMessage(*queue, {0xC0, 5});
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;

    for (uint32_t i = 0; i < MidiInputQueue::capacity; ++i) {
        ASSERT_TRUE(takeQueuedMessage(*queue, got));
        ASSERT_EQ(got, (Message{0x90, uint8_t(i % 128), 1}));
    }
    EXPECT_FALSE(takeQueuedMessage(*queue, got));
    EXPECT_TRUE(got.empty());

    // Space again, and no second complaint for the next flood; no note is longer than 3 bytes.
    testing::internal::CaptureStderr();
    queueInputMessage(*queue, {0xF0, 1, 2, 3, 0xF7});
    queueInputMessage(*queue, {0xE0, 0, 64});
    for (uint32_t i = 0; i < MidiInputQueue::capacity + 1; ++i) queueInputMessage(*queue, {0xF8});
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_TRUE(takeQueuedMessage(*queue, got));
    EXPECT_EQ(got, (Message{0xE0, 0, 64}));
}

// One thread writes while another reads, as the input thread and the main thread do.
TEST(MidiInputQueue, ReaderSeesEveryMessageOfAWriterInOrder) {
    auto queue = std::make_unique<MidiInputQueue>();
    constexpr uint32_t total = 100000;
    std::thread writer([&] {
        for (uint32_t i = 0; i < total; ++i) {
            while (queue->writeCount - queue->readCount >= MidiInputQueue::capacity)
                std::this_thread::yield();
            queueInputMessage(*queue, {uint8_t(i & 0x7F), uint8_t((i >> 7) & 0x7F), 0});
        }
    });
    Message got;
    uint32_t expected = 0;
    while (expected < total) {
        if (!takeQueuedMessage(*queue, got)) continue;
        ASSERT_EQ(got, (Message{uint8_t(expected & 0x7F), uint8_t((expected >> 7) & 0x7F), 0}));
        ++expected;
    }
    writer.join();
}

// A queued note is read by the next frame at once: it ends the frame pacing's wait. Other
// messages, a keyboard's clock ticks for one, leave the pace alone.
TEST(MidiInputQueue, QueuedNotesWakeTheFrameAndOtherMessagesDoNot) {
    using Clock = std::chrono::steady_clock;
    auto queue = std::make_unique<MidiInputQueue>();
    waitForFrameWake(Clock::now());
    queueInputMessage(*queue, {0xF8});
    queueInputMessage(*queue, {0xB0, 64, 127});
    EXPECT_FALSE(waitForFrameWake(Clock::now() + std::chrono::milliseconds(10)));
    for (const Message& note : {Message{0x91, 60, 100}, Message{0x85, 60, 0}}) {
        queueInputMessage(*queue, note);
        EXPECT_TRUE(waitForFrameWake(Clock::now() + std::chrono::seconds(600)));
    }
}
