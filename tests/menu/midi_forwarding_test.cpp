// Notes played on a MIDI keyboard come out of the program's MIDI output while the main menu is
// shown, every one of them. How long they take is reported by bench/menu_latency_bench.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "support/midi_latency_rig.h"

TEST(MidiForwarding, EveryNotePlayedOnTheMainMenuReachesTheOutput) {
    ASSERT_NE(std::getenv("JACK_DEFAULT_SERVER"), nullptr) << "run through with_jack.sh";
    latency::Rig rig(CADENZIO_PROGRAM, CADENZIO_SOURCE_DIR);
    const latency::Figures figures = rig.measure(30);
    ASSERT_TRUE(figures.failure.empty()) << figures.failure;
    EXPECT_EQ(figures.milliseconds.size(), figures.sent);
    std::printf("%zu of %zu notes through; median %.2f ms, maximum %.2f ms\n",
                figures.milliseconds.size(), figures.sent,
                latency::percentile(figures.milliseconds, 0.5),
                latency::percentile(figures.milliseconds, 1.0));
}
