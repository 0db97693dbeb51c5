// CPU time per frame of a whole frame, presented, with the 1920 x 1080 picture shown in a window
// of the screen's size: drawn straight into the picture's viewport (what the program does), or
// drawn into an offscreen 1920 x 1080 framebuffer that is then blitted scaled (the alternative).
// Run on a screen of each size, for example:
//   tests/support/with_xvfb.sh build/bench/frame_scaling_bench
//   tests/support/with_xvfb.sh --screen 1280x720 build/bench/frame_scaling_bench
// With CADENZIO_BENCH_PICTURES=<dir> each way's last frame is also written there as a PNG, to
// compare how legible the text stays.
#include <benchmark/benchmark.h>
#include <epoxy/gl.h>
#include <imgui.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "platform/window.h"
#include "render/all_renderers.h"
#include "render/frame.h"
#include "render/png_writer.h"
#include "render/shapes.h"
#include "render/sprite_pass.h"
#include "render/text.h"
#include "render/texture_registry.h"
#include "render/ui_binding.h"

namespace {

constexpr int frameWidth = 1920, frameHeight = 1080;
int32_t noteTexture = 0, pixelTexture = 0, cursorTexture = 0;

// User and system time of the whole process: on a software renderer its rasteriser threads
// stand in for the GPU, so they belong to the frame's cost.
double processCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// A busy play screen: lanes, a few hundred falling notes, the status texts and a debug window.
void queueFrame() {
    UiFrameInput ui;
    ui.dt = 1.0f / 60;
    ui.mouseX = 960;
    ui.mouseY = 540;
    uiNewFrame(ui);
    for (int lane = 0; lane < 52; ++lane) {
        int x = lane * frameWidth / 52;
        queueSprite(pixelTexture, Rect{x, 0, x + 1, 900}, Colour{0.3f, 0.3f, 0.3f, 1});
    }
    for (int i = 0; i < 300; ++i) {
        int x = (i * 97) % (frameWidth - 40), y = (i * 61) % 860;
        queueSprite(noteTexture, Rect{x, y, x + 30, y + 40 + (i % 5) * 20},
                    Colour{0.4f + float(i % 3) * 0.2f, 0.8f, 0.5f, 1});
    }
    addRectangleOutline(40, 920, 1880, 940, Colour{1, 1, 1, 1});
    for (int line = 0; line < 5; ++line)
        drawText("Notes 123/456  Accuracy 87.5%  Speed 100%", 40, float(950 + line * 24), 20,
                 Colour{1, 1, 1, 1});
    drawText("59.98", 0, 20, 20, Colour{1, 1, 0, 1});
    ImGui::SetNextWindowPos(ImVec2(1500, 100));
    ImGui::SetNextWindowSize(ImVec2(360, 160));
    ImGui::Begin("Settings");
    ImGui::Text("Fancy graphics, latency 20 ms");
    ImGui::Text("Output: Simple Synth");
    ImGui::End();
}

void queueCursor() {
    queueSprite(cursorTexture, Rect{960, 540, 992, 572}, Colour{1, 1, 1, 1});
}

// The alternative: the passes draw the frame unscaled offscreen; one blit shows it.
struct Offscreen {
    GLuint framebuffer = 0, colour = 0;
};

Offscreen makeOffscreen() {
    Offscreen target;
    glGenTextures(1, &target.colour);
    glBindTexture(GL_TEXTURE_2D, target.colour);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, frameWidth, frameHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 nullptr);
    glGenFramebuffers(1, &target.framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, target.colour, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return target;
}

void drawOffscreen(const Offscreen& target) {
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    glViewport(0, 0, frameWidth, frameHeight);
    clearBackBuffer();
    spritePass(frameWidth, frameHeight);
    shapePass(frameWidth, frameHeight);
    textPass(frameWidth, frameHeight);
    uiRender();
    queueCursor();
    spritePass(frameWidth, frameHeight);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    clearBackBuffer();
    int drawableWidth = 0, drawableHeight = 0;
    ScreenRect picture = pictureInDrawable(drawableWidth, drawableHeight);
    int bottom = drawableHeight - picture.y - picture.height;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, target.framebuffer);
    glBlitFramebuffer(0, 0, frameWidth, frameHeight, picture.x, bottom, picture.x + picture.width,
                      bottom + picture.height, GL_COLOR_BUFFER_BIT, GL_LINEAR);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
}

// The back buffer as a PNG, rows from the top.
void writePicture(const char* name) {
    const char* dir = std::getenv("CADENZIO_BENCH_PICTURES");
    if (!dir) return;
    int width = 0, height = 0;
    pictureInDrawable(width, height);
    std::vector<uint8_t> pixels(size_t(width) * size_t(height) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    // GL reads the rows bottom-up.
    writePng(std::string(dir) + "/" + name + ".png", width, height, pixels.data(), -width * 4);
}

template <typename Draw> void runFrames(benchmark::State& state, const char* name, Draw draw) {
    double cpuMs = 0;
    for (auto _ : state) {
        double before = processCpuMs();
        queueFrame();
        draw();
        glFinish();
        cpuMs += processCpuMs() - before;
        // Presenting paces the loop; what it costs the process is counted apart.
        before = processCpuMs();
        presentWindow();
        state.counters["present_cpu_ms"] += processCpuMs() - before;
    }
    state.counters["frame_cpu_ms"] = cpuMs / double(state.iterations());
    state.counters["present_cpu_ms"] /= double(state.iterations());
    int w = 0, h = 0;
    windowClientSize(w, h);
    state.SetLabel(std::to_string(w) + "x" + std::to_string(h));
    queueFrame();
    draw();
    writePicture(name);
    ImGui::EndFrame();
}

void BM_PictureViewport(benchmark::State& state) {
    runFrames(state, "viewport", [] { drawQueuedFrame(frameWidth, frameHeight, queueCursor); });
}

void BM_OffscreenBlit(benchmark::State& state) {
    static Offscreen target = makeOffscreen();
    runFrames(state, "offscreen", [] { drawOffscreen(target); });
}

BENCHMARK(BM_PictureViewport)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_OffscreenBlit)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!openRenderers(frameWidth, frameHeight, CADENZIO_SOURCE_DIR "/runtime/Data/Textures")) {
        std::fprintf(stderr, "frame_scaling_bench could not open its window: it needs a "
                             "display; run it as\n"
                             "  tests/support/with_xvfb.sh build/bench/frame_scaling_bench\n");
        return 1;
    }
    noteTexture = loadTexture("NoteWhite.png");
    pixelTexture = loadTexture("Pixel.png");
    cursorTexture = loadTexture("cursor.png");

    benchmark::RunSpecifiedBenchmarks();

    closeRenderers();
    benchmark::Shutdown();
    return 0;
}
