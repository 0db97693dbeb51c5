// Time per frame of the sprite and text passes on a real GL context.
// Needs a display; headless: tests/support/with_xvfb.sh build/bench/render_bench
#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>

#include "copying_sprite_target.h"
#include "platform/window.h"
#include "render/frame.h"
#include "render/png_writer.h"
#include "render/sprite_batch.h"
#include "render/sprite_pass.h"
#include "render/text.h"
#include "render/texture_registry.h"

namespace {

constexpr int width = 1920, height = 1080;
int32_t textures[4];

int spriteSide = 24;

// Queues count sprites over the four textures, changing texture every runLength sprites.
void queueSprites(int count, int runLength) {
    for (int i = 0; i < count; ++i) {
        int32_t texture = textures[(i / runLength) % 4];
        int x = (i * 37) % (width - 32), y = (i * 53) % (height - 32);
        queueSprite(texture, Rect{x, y, x + spriteSide, y + spriteSide}, Colour{1, 1, 1, 0.8f});
    }
}

// CPU time of the calling thread alone. On a software renderer the process time also holds the
// driver's rasteriser threads, which stand in for the GPU.
double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

void spritePassFrame(benchmark::State& state, int runLength) {
    const int count = int(state.range(0));
    spriteSide = int(state.range(1));
    double submitMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        glFinish(); // the previous frame's rendering is not this frame's CPU time
        clearBackBuffer();
        queueSprites(count, runLength);
        state.ResumeTiming();
        double before = threadCpuMs();
        spritePass(width, height);
        submitMs += threadCpuMs() - before;
    }
    glFinish();
    state.counters["sprites"] = double(count);
    state.counters["thread_cpu_ms"] = submitMs / double(state.iterations());
}

void BM_SpritePassLongRuns(benchmark::State& state) {
    spritePassFrame(state, 5000);
}
void BM_SpritePassRunsOf16(benchmark::State& state) {
    spritePassFrame(state, 16);
}

// The batch alone, its device side reduced to copying the vertices out: our own share of the
// pass, without the driver's.
void BM_SpriteBatchWithoutGl(benchmark::State& state) {
    const int count = int(state.range(0));
    std::vector<SpriteVertex> uploaded;
    SpriteBatch batch(copyingSpriteTarget(uploaded));
    batch.setViewport(width, height);
    const GpuTexture fake[4] = {{1, 24, 24}, {2, 24, 24}, {3, 24, 24}, {4, 24, 24}};
    const Rect source{0, 0, 24, 24};
    for (auto _ : state) {
        batch.Begin(SpriteSortMode::Deferred, BlendState::NonPremultiplied);
        for (int i = 0; i < count; ++i) {
            int x = (i * 37) % (width - 32), y = (i * 53) % (height - 32);
            batch.Draw(&fake[(i / 5000) % 4], Rect{x, y, x + 24, y + 24}, &source,
                       Colour{1, 1, 1, 0.8f}, 0, 0, 0, SpriteEffectsNone, 0);
        }
        batch.End();
    }
}

void BM_TextPass(benchmark::State& state) {
    const int count = int(state.range(0));
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i)
        lines.push_back("Track " + std::to_string(i) + ": Right Hand  Piano 0.000");
    for (auto _ : state) {
        state.PauseTiming();
        glFinish();
        clearBackBuffer();
        for (int i = 0; i < count; ++i)
            drawText(lines[size_t(i)].c_str(), float((i % 4) * 480), float((i / 4) * 21),
                     float(16 + (i % 3) * 4), Colour{1, 1, 0, 1});
        state.ResumeTiming();
        textPass(width, height);
    }
    glFinish();
}

BENCHMARK(BM_SpritePassLongRuns)
    ->ArgNames({"sprites", "side"})
    ->Args({20000, 24})
    ->Args({20000, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_SpritePassRunsOf16)
    ->ArgNames({"sprites", "side"})
    ->Args({20000, 24})
    ->Args({20000, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_SpriteBatchWithoutGl)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextPass)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!createWindow("Cadenzio", width, height, true)) {
        std::fprintf(stderr, "render_bench needs a display; run it as\n"
                             "  tests/support/with_xvfb.sh build/bench/render_bench\n");
        return 1;
    }
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("cadenzio_bench_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const uint32_t colours[4] = {0xFF8080FF, 0x80FF80FF, 0x8080FFFF, 0xFFFFFFFF};
    for (int i = 0; i < 4; ++i)
        writeSolidPng((dir / ("t" + std::to_string(i) + ".png")).string(), 24, 24, colours[i]);
    createSpritePass();
    createTextureRegistry(dir.c_str());
    createTextRenderer("Consolas");
    for (int i = 0; i < 4; ++i)
        textures[i] = loadTexture(("t" + std::to_string(i) + ".png").c_str());

    benchmark::RunSpecifiedBenchmarks();

    releaseTextRenderer();
    releaseTextureRegistry();
    releaseSpritePass();
    destroyWindow();
    fs::remove_all(dir);
    benchmark::Shutdown();
    return 0;
}
