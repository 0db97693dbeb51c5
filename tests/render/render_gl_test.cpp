// The passes on a real GL context, checked by reading pixels back.
#include <epoxy/gl.h>
#include <gtest/gtest.h>
#include <imgui.h>

#include <filesystem>

#include "platform/window.h"
#include "render/all_renderers.h"
#include "render/frame.h"
#include "render/png_writer.h"
#include "render/shapes.h"
#include "render/sprite_pass.h"
#include "render/text.h"
#include "render/texture_registry.h"
#include "render/ui_binding.h"
#include "support/gl_pixels.h"

namespace fs = std::filesystem;

namespace {

using glpixels::Pixel;
using glpixels::pixelAt;
using glpixels::readBack;

constexpr int width = 1920, height = 1080;

const Pixel black{0, 0, 0};

} // namespace

class RenderGl : public ::testing::Test {
  protected:
    static inline fs::path dir;
    static inline int32_t white = 0, checker = 0;

    static void SetUpTestSuite() {
        dir = fs::temp_directory_path() / ("cadenzio_gl_" + std::to_string(::getpid()));
        fs::create_directories(dir);
        ASSERT_TRUE(writeSolidPng((dir / "white.png").string(), 4, 4, 0xFFFFFFFF));
        ASSERT_TRUE(openRenderers(width, height, dir.c_str())) << windowError();
        white = loadTexture("white.png");
        testing::internal::CaptureStderr();
        checker = loadTexture("absent.png");
        testing::internal::GetCapturedStderr();
    }

    static void TearDownTestSuite() {
        closeRenderers();
        fs::remove_all(dir);
    }

    void SetUp() override { beginFrame(); }

    // The main loop's order: UI input, state step (the test's queueing), clear, sprites, lines,
    // text, UI, then the cursor's own sprite pass.
    void beginFrame() {
        UiFrameInput input;
        input.dt = 1.0f / 60;
        input.mouseX = -100;
        input.mouseY = -100;
        uiNewFrame(input);
    }
    void endFrame(const std::function<void()>& cursor = {}) {
        drawQueuedFrame(width, height, cursor);
    }
    void sprite(int32_t texture, Rect rect, Colour colour) { queueSprite(texture, rect, colour); }
};

TEST_F(RenderGl, TintedSpriteCoversExactlyItsRectangle) {
    sprite(white, {100, 200, 137, 223}, {1, 0, 0, 1});
    Sprite half;
    half.textureIndex = white;
    half.x = 300;
    half.y = 200;
    half.width = 10;
    half.height = 10;
    half.colour = {1, 1, 1, 0.5f};
    drawSprite(half);
    endFrame();

    std::vector<Pixel> area = readBack(98, 198, 41, 27);
    for (int y = 198; y < 225; ++y)
        for (int x = 98; x < 139; ++x) {
            bool inside = x >= 100 && x < 137 && y >= 200 && y < 223;
            Pixel want = inside ? Pixel{255, 0, 0} : black;
            ASSERT_EQ(area[size_t(y - 198) * 41 + size_t(x - 98)], want) << "at " << x << ", " << y;
        }
    // Non-premultiplied blending: half alpha over black is half bright.
    Pixel blended = pixelAt(305, 205);
    EXPECT_NEAR(blended.r, 128, 2);
    EXPECT_EQ(blended.r, blended.b);
}

TEST_F(RenderGl, LaterSpritesCoverEarlierOnes) {
    int32_t otherFile = loadTexture("white.png") == white ? checker : white;
    sprite(white, {100, 100, 200, 200}, {1, 0, 0, 1});
    sprite(white, {150, 150, 250, 250}, {0, 1, 0, 1});
    sprite(otherFile, {180, 180, 190, 190}, {1, 1, 1, 1}); // another texture, a new run
    sprite(white, {185, 185, 187, 187}, {0, 0, 1, 1});
    endFrame();
    EXPECT_EQ(pixelAt(120, 120), (Pixel{255, 0, 0}));
    EXPECT_EQ(pixelAt(160, 160), (Pixel{0, 255, 0}));
    EXPECT_EQ(pixelAt(186, 186), (Pixel{0, 0, 255}));
    EXPECT_EQ(pixelAt(240, 240), (Pixel{0, 255, 0}));
}

TEST_F(RenderGl, MissingTextureDrawsAVisiblePlaceholder) {
    Sprite missing;
    loadSprite(missing, "absent.png");
    missing.x = 400;
    missing.y = 400;
    drawSprite(missing);
    endFrame();
    std::vector<Pixel> area = readBack(400, 400, int(missing.width), int(missing.height));
    int magenta = 0;
    for (const Pixel& p : area) magenta += p == Pixel{255, 0, 255};
    EXPECT_GT(magenta, int(area.size()) / 4);
    EXPECT_LT(magenta, int(area.size()));
}

TEST_F(RenderGl, LineRectanglesLieOnTheirPixels) {
    addRectangleOutline(10.5f, 10.5f, 50.5f, 30.5f, {0, 1, 1, 1});
    endFrame();
    const Pixel cyan{0, 255, 255};
    EXPECT_EQ(pixelAt(30, 10), cyan);
    EXPECT_EQ(pixelAt(30, 30), cyan);
    EXPECT_EQ(pixelAt(10, 20), cyan);
    EXPECT_EQ(pixelAt(50, 20), cyan);
    EXPECT_EQ(pixelAt(30, 20), black);
    EXPECT_EQ(pixelAt(30, 8), black);
}

TEST_F(RenderGl, PassesStackInFrameOrder) {
    // Five layers over one point; each frame drops the topmost one.
    const int px = 600, py = 400;
    const Pixel expected[] = {{255, 0, 255}, {255, 255, 0}, {0, 255, 0}, {255, 0, 0}, {0, 0, 255}};
    for (int layers = 5; layers >= 1; --layers) {
        if (layers < 5) beginFrame();
        sprite(white, {500, 300, 700, 500}, {0, 0, 1, 1});
        if (layers >= 2) addRectangleOutline(550.5f, 400.5f, 650.5f, 450.5f, {1, 0, 0, 1});
        // A full block in opaque green, whatever alpha is asked for.
        if (layers >= 3) drawText("\xE2\x96\x88\xE2\x96\x88", 585, 380, 40, {0, 1, 0, 0.2f});
        if (layers >= 4)
            ImGui::GetForegroundDrawList()->AddRectFilled({580, 390}, {620, 410},
                                                          IM_COL32(255, 255, 0, 255));
        endFrame([&] {
            if (layers >= 5) sprite(white, {595, 395, 605, 405}, {1, 0, 1, 1});
        });
        EXPECT_EQ(pixelAt(px, py), expected[5 - layers]) << layers << " layers";
    }
}

TEST_F(RenderGl, TextStartsAtItsTopLeftCorner) {
    drawText("\xE2\x96\x88", 100, 100, 20, {1, 1, 1, 1});
    drawText("\xE2\x96\x88", 104, 100, 20, {1, 0, 0, 1}); // later text lies above
    endFrame();
    std::vector<Pixel> area = readBack(90, 90, 40, 40);
    int top = 40, left = 40;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            if (area[size_t(y) * 40 + size_t(x)].r > 128) {
                top = std::min(top, y);
                left = std::min(left, x);
            }
    EXPECT_GE(top + 90, 100);
    EXPECT_LE(top + 90, 102);
    EXPECT_GE(left + 90, 100);
    EXPECT_LE(left + 90, 102);
    EXPECT_EQ(pixelAt(108, 105), (Pixel{255, 0, 0}));
}

TEST_F(RenderGl, TextSurvivesAnOverfullGlyphAtlas) {
    // Forty huge distinct glyphs cannot all fit; the cache starts over and draws what fits.
    std::string many;
    for (char c = 'A'; c < 'A' + 40; ++c) many += c;
    drawText(many.c_str(), 0, 0, 500, {1, 1, 1, 1});
    endFrame();
    beginFrame();
    drawText("\xE2\x96\x88", 300, 300, 20, {0, 1, 0, 1});
    endFrame();
    EXPECT_EQ(pixelAt(305, 310), (Pixel{0, 255, 0}));
}

TEST_F(RenderGl, ImGuiWindowRenders) {
    ImGui::SetNextWindowPos({200, 200});
    ImGui::SetNextWindowSize({300, 150});
    ImGui::Begin("Debug");
    ImGui::Text("Hello");
    ImGui::End();
    endFrame();
    std::vector<Pixel> inside = readBack(210, 240, 280, 100);
    int lit = 0;
    for (const Pixel& p : inside) lit += !(p == black);
    EXPECT_GT(lit, int(inside.size()) * 9 / 10); // the window background
    EXPECT_NE(pixelAt(300, 205), black);         // the title bar
    EXPECT_EQ(pixelAt(150, 150), black);
    EXPECT_EQ(pixelAt(550, 250), black);
}

TEST_F(RenderGl, UiBuffersGrowAndTheFrameStaysComplete) {
    ImGui::GetForegroundDrawList()->AddRectFilled({10, 10}, {20, 20}, IM_COL32(255, 0, 0, 255));
    endFrame();
    int vertices = 0, indices = 0;
    uiBufferCapacity(vertices, indices);
    EXPECT_GE(vertices, 5000);
    EXPECT_GE(indices, 10000);

    beginFrame();
    ImDrawList* list = ImGui::GetForegroundDrawList();
    for (int i = 0; i < 3000; ++i) {
        float x = float(i % 100) * 10, y = 600 + float(i / 100) * 10;
        list->AddRectFilled({x, y}, {x + 8, y + 8}, IM_COL32(0, 128, 255, 255));
    }
    endFrame();
    int grownVertices = 0, grownIndices = 0;
    uiBufferCapacity(grownVertices, grownIndices);
    EXPECT_GE(grownVertices, 12000 + 5000);
    EXPECT_GE(grownIndices, 18000 + 10000);
    EXPECT_EQ(pixelAt(994, 894), (Pixel{0, 128, 255})); // the last rectangle
    EXPECT_EQ(pixelAt(4, 604), (Pixel{0, 128, 255}));   // the first

    beginFrame();
    endFrame();
    int laterVertices = 0, laterIndices = 0;
    uiBufferCapacity(laterVertices, laterIndices);
    EXPECT_EQ(laterVertices, grownVertices); // never shrinks
    EXPECT_EQ(laterIndices, grownIndices);
}
