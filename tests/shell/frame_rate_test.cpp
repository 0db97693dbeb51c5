#include <gtest/gtest.h>

#include "shell/frame_rate.h"

TEST(FrameRate, ShowsZeroUntilTwentyFramesThenTheirMean) {
    FrameRateDisplay app;
    for (int i = 0; i < 19; ++i) EXPECT_EQ(advanceFrameRate(app, 1.0f / 50), "0.000") << i;
    EXPECT_EQ(advanceFrameRate(app, 1.0f / 50), "50.00");
    // Held for the next 19 frames whatever they take.
    for (int i = 0; i < 19; ++i) EXPECT_EQ(advanceFrameRate(app, 1.0f / 10), "50.00") << i;
    EXPECT_EQ(advanceFrameRate(app, 1.0f / 10), "10.00");
}

TEST(FrameRate, MeanOfMixedFramesAndFiveCharactersAtMost) {
    FrameRateDisplay app;
    for (int i = 0; i < 10; ++i) advanceFrameRate(app, 1.0f / 100);
    for (int i = 0; i < 9; ++i) advanceFrameRate(app, 1.0f / 50);
    EXPECT_EQ(advanceFrameRate(app, 1.0f / 50), "75.00");
    for (int i = 0; i < 19; ++i) advanceFrameRate(app, 1.0f / 1024);
    EXPECT_EQ(advanceFrameRate(app, 1.0f / 1024), "1024.");
    for (int i = 0; i < 19; ++i) advanceFrameRate(app, 4.0f);
    EXPECT_EQ(advanceFrameRate(app, 4.0f), "0.250");
}

TEST(FrameRate, AFrameOfZeroLengthDoesNotShowInfinity) {
    FrameRateDisplay app;
    advanceFrameRate(app, 0);
    for (int i = 0; i < 18; ++i) advanceFrameRate(app, 1.0f / 20);
    std::string shown = advanceFrameRate(app, 1.0f / 20);
    EXPECT_EQ(shown, "19.00");
}
