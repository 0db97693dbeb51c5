// The Simple Synth's bank is built on the main thread the first time it is chosen; the menu
// stalls for that long once.
#include <benchmark/benchmark.h>

#include "sound/simple_synth.h"

static void buildBank(benchmark::State& state) {
    SynthBank bank;
    for (auto _ : state) {
        buildSynthBank(bank);
        benchmark::DoNotOptimize(bank[127].waveImage.data());
    }
    state.SetItemsProcessed(state.iterations() * 128 * 44100);
}
BENCHMARK(buildBank)->Unit(benchmark::kMillisecond);

// One key: 44100 samples of the sine and its wave image.
static void buildOneVoice(benchmark::State& state) {
    SynthVoice voice;
    for (auto _ : state) {
        voice.channelBuffers.assign(1, {});
        synthesise(voice, keyFrequency(60), 1.0f);
        buildWaveImage(voice);
        benchmark::DoNotOptimize(voice.waveImage.data());
    }
}
BENCHMARK(buildOneVoice)->Unit(benchmark::kMicrosecond);
