// From a MIDI keyboard through the main menu to the MIDI output: 60 notes from a virtual keyboard,
// timed at a virtual synthesiser. Needs a JACK server and a display: run it through
// tests/support/with_jack.sh and tests/support/with_xvfb.sh, as the README shows.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "support/midi_latency_rig.h"

namespace {

void MenuNoteLatency(benchmark::State& state) {
    if (std::getenv("JACK_DEFAULT_SERVER") == nullptr) {
        state.SkipWithError("run through tests/support/with_jack.sh");
        return;
    }
    for (auto _ : state) {
        latency::Rig rig(CADENZIO_PROGRAM, CADENZIO_SOURCE_DIR);
        const latency::Figures figures = rig.measure(static_cast<size_t>(state.range(0)));
        if (!figures.failure.empty()) {
            state.SkipWithError(figures.failure.c_str());
            return;
        }
        const auto& ms = figures.milliseconds;
        state.counters["notes_sent"] = static_cast<double>(figures.sent);
        state.counters["notes_through"] = static_cast<double>(ms.size());
        state.counters["median_ms"] = latency::percentile(ms, 0.5);
        state.counters["p99_ms"] = latency::percentile(ms, 0.99);
        state.counters["max_ms"] = latency::percentile(ms, 1.0);
        state.counters["min_ms"] = latency::percentile(ms, 0.0);
    }
}
// 60 notes as a player might strike them; 600 for a percentile that means something.
BENCHMARK(MenuNoteLatency)->Arg(60)->Arg(600)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
