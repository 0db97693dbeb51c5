// The latency test of the settings page: taps against a click once a second, driven frame by
// frame with chosen steps so that every tap lies exactly where the case wants it.
#include <gtest/gtest.h>

#include "page_fixture.h"

namespace {

using menutest::PageFixture;

class LatencyMeasurement : public PageFixture {
  protected:
    void SetUp() override {
        PageFixture::SetUp();
        openPage(SettingsPage, LatencySection);
        frame();
        app.latency = 0.05f;
    }
    // The Test button's click starts the test and is its first tap, at beat phase 0.
    void start() {
        input.cursorX = int32_t(menu->testButton.x) + 10;
        input.cursorY = int32_t(menu->testButton.y) + 10;
        leftButton = true;
        frame({}, 0);
        leftButton = false;
        input.cursorX = input.cursorY = 0;
    }
    // One beat of a second from a click to the next, with a Space tap error seconds after the
    // first (error > 0) or before the second (error < 0); error 0 taps in the second click's
    // frame. Steps are sums of powers of two, so the beat phase lands on 1 exactly.
    void beat(float error) {
        if (error > 0) {
            frame({ScanSpace}, error);
            frame({}, 1 - error);
            return;
        }
        frame({}, 0.5f);
        if (error == 0) {
            frame({ScanSpace}, 0.5f);
            return;
        }
        frame({ScanSpace}, 0.5f + error);
        frame({}, -error);
    }
    bool clickSounding() const { return app.sound.counts.activeCounts[48][0] != 0; }
};

TEST_F(LatencyMeasurement, TapsOnTheClicksGiveZero) {
    start();
    EXPECT_EQ(menu->testButton.label, "Testing...");
    beat(0);
    EXPECT_TRUE(clickSounding()) << "the first click sounds one second after the start";
    for (int i = 0; i < 4; ++i) beat(0);
    EXPECT_EQ(menu->tapCount, 6u);
    EXPECT_FLOAT_EQ(app.latency, 0);
}

TEST_F(LatencyMeasurement, LateAndEarlyTapsCountTheirDistanceToTheNearestClick) {
    for (float error : {0.125f, -0.125f}) {
        SCOPED_TRACE(error);
        start();
        for (int i = 0; i < 6; ++i) beat(error);
        EXPECT_FLOAT_EQ(app.latency, 0.125f);
        for (int i = 0; i < 6; ++i) frame({}, 0.5f); // ends the test
        EXPECT_FALSE(menu->testRunning);
    }
}

TEST_F(LatencyMeasurement, TheFirstThreeTapsNeverCountAndTheLastTenAreAveraged) {
    start();
    beat(0.375f);
    beat(0.375f);
    EXPECT_EQ(app.latency, 0.05f) << "three taps leave the latency as it was";
    beat(0.25f);
    EXPECT_FLOAT_EQ(app.latency, 0.25f) << "the fourth tap gives the first value";
    beat(0.25f);
    for (int i = 0; i < 10; ++i) beat(0.125f);
    EXPECT_EQ(menu->windowCount, 10u);
    EXPECT_FLOAT_EQ(app.latency, 0.125f) << "12 counted taps: the two of 0.25 s have left";
}

TEST_F(LatencyMeasurement, EndsTwoAndAHalfSecondsAfterTheLastTapWithTheClickStopped) {
    start();
    // Taps half way between the clicks: the clicks come 0.5, 1.5 and 2.5 s after the last one.
    for (int i = 0; i < 5; ++i) beat(-0.5f);
    for (int i = 0; i < 4; ++i) frame({}, 0.5f);
    EXPECT_TRUE(menu->testRunning) << "2.5 s is not yet more than 2.5 s";
    EXPECT_TRUE(clickSounding());
    frame({}, 1.0f / 32);
    EXPECT_FALSE(menu->testRunning);
    EXPECT_EQ(menu->testButton.label, "Test");
    EXPECT_FALSE(clickSounding());
    EXPECT_FLOAT_EQ(app.latency, 0.5f);

    int ons = 0, offs = 0;
    for (const playtest::Sent& s : sent) {
        EXPECT_EQ(s.message[1], 48);
        if (s.message[0] == 0x90) ++ons;
        if (s.message[0] == 0x80) ++offs;
    }
    EXPECT_EQ(ons, 7);
    EXPECT_EQ(ons, offs);

    // Idle again: frames and taps change nothing.
    frame({ScanSpace}, 2.0f);
    EXPECT_FALSE(menu->testRunning);
    EXPECT_EQ(sent.size(), size_t(ons + offs));
}

TEST_F(LatencyMeasurement, LeavingTheSectionStopsItsClick) {
    start();
    frame({}, 1.0f);
    ASSERT_TRUE(clickSounding());
    menu->settingsSection = InputSection;
    frame({}, 0);
    EXPECT_FALSE(clickSounding());
    EXPECT_TRUE(menu->testRunning); // paused, going on when the section shows again
}

} // namespace
