// The debug menu bar and windows on a UI context of their own, clicked with a scripted mouse.
#include "shell/debug_menu.h"

#include <gtest/gtest.h>
#include <imgui.h>
#include <imgui_internal.h>

#include "game/play_fixture.h"
#include "support/ui_context.h"

namespace {

class DebugMenu : public ::testing::Test {
  protected:
    void SetUp() override { createTestUiContext(); }
    void TearDown() override { ImGui::DestroyContext(); }
    // One frame as the main loop draws it, with the mouse at (x, y).
    void frame(float x, float y, bool down) {
        ImGuiIO& io = ImGui::GetIO();
        io.DeltaTime = 1.0f / 60;
        io.MousePos = ImVec2(x, y);
        io.MouseDown[0] = down;
        ImGui::NewFrame();
        drawDebugMenuBar(flags, &app);
        drawDebugWindows(flags);
        ImGui::Render();
    }
    void click(float x, float y) {
        frame(x, y, true);
        frame(x, y, false);
    }

    DebugFlags flags;
    AppContext app;
};

TEST_F(DebugMenu, MenuOpenFlagFollowsTheBarsMenus) {
    frame(1000, 600, false);
    EXPECT_FALSE(app.debugMenuOpen);
    click(15, 8); // "File", first on the bar
    frame(15, 8, false);
    EXPECT_TRUE(app.debugMenuOpen);
    click(1000, 600);
    frame(1000, 600, false);
    EXPECT_FALSE(app.debugMenuOpen);
}

TEST_F(DebugMenu, EachClickOnButtonAddsAButton) {
    flags.debugWindowShown = true;
    frame(1000, 1000, false);
    ImGuiWindow* window = ImGui::FindWindowByName("Debug Window");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Size.x, 650.0f); // the first-use size
    const ImVec2 first = window->DC.CursorStartPos;
    for (int i = 0; i < 3; ++i) click(first.x + 8, first.y + 6);
    EXPECT_EQ(flags.debugButtonCount, 4);
    // The window's close button clears its flag.
    const ImVec2 corner(window->Pos.x + window->Size.x, window->Pos.y);
    const float title = ImGui::GetFrameHeight();
    click(corner.x - title * 0.5f - 1, corner.y + title * 0.5f);
    EXPECT_FALSE(flags.debugWindowShown);
}

TEST(NoteDrawerSwitch, GivesAFreshLoadedDrawerOfTheChosenKind) {
    playtest::useTexturesWithoutGpu();
    AppContext app;
    switchNoteDrawer(app, false);
    auto* fast = dynamic_cast<FastNoteSprite*>(app.noteSprite);
    ASSERT_NE(fast, nullptr);
    EXPECT_EQ(fast->sprite.textureIndex, loadTexture("NoteMid.png"));
    switchNoteDrawer(app, true);
    auto* fancy = dynamic_cast<FancyNoteSprite*>(app.noteSprite);
    ASSERT_NE(fancy, nullptr);
    EXPECT_EQ(fancy->top.textureIndex, loadTexture("NoteTop.png"));
    EXPECT_EQ(fancy->bottom.height, 7.0f);
    delete app.noteSprite;
    releaseTextureRegistry();
    setTextureSource(pngTextureSource());
}

} // namespace
