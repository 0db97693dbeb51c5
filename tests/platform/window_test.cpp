#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include "platform/input.h"
#include "platform/window.h"

TEST(Window, OpensA33CoreContextOfTheAskedClientSize) {
    ASSERT_TRUE(createWindow("Cadenzio", 1920, 1080));
    int w = 0, h = 0;
    windowClientSize(w, h);
    EXPECT_EQ(w, 1920);
    EXPECT_EQ(h, 1080);
    EXPECT_GE(epoxy_gl_version(), 33);
    presentWindow();
    destroyWindow();
    EXPECT_FALSE(windowExists());
}

TEST(Window, InputBoundsTheCursorByTheOuterWindowAndCentresIt) {
    ASSERT_TRUE(createWindow("Cadenzio", 1920, 1080));
    int w = 0, h = 0;
    renderSize(w, h);
    EXPECT_EQ(w, 1920);
    EXPECT_EQ(h, 1080);
    createInput();
    int outerW = 0, outerH = 0;
    windowOuterSize(outerW, outerH);
    EXPECT_EQ(input.cursorWidth, outerW);
    EXPECT_EQ(input.cursorHeight, outerH);
    EXPECT_EQ(input.cursorX, outerW >> 1);
    EXPECT_EQ(input.cursorY, outerH >> 1);
    pollKeyboard();
    pollMouse();
    EXPECT_FALSE(keyHeld(input, ScanEscape));
    releaseInput();
    EXPECT_FALSE(input.initialised);
    destroyWindow();
}

TEST(Window, AFrameLargerThanTheScreenOpensScaledToFitAndKeepsItsSize) {
    // The test screen is 1920 x 1080 without a window manager, so no window frame.
    ASSERT_TRUE(createWindow("Cadenzio", 3840, 2160));
    int w = 0, h = 0;
    windowClientSize(w, h);
    EXPECT_EQ(w, 1920);
    EXPECT_EQ(h, 1080);
    renderSize(w, h);
    EXPECT_EQ(w, 3840);
    EXPECT_EQ(h, 2160);
    EXPECT_EQ(pictureInWindow(), (ScreenRect{0, 0, 1920, 1080}));
    int drawableW = 0, drawableH = 0;
    EXPECT_EQ(pictureInDrawable(drawableW, drawableH), (ScreenRect{0, 0, 1920, 1080}));
    EXPECT_EQ(drawableW, 1920);
    cursorBounds(w, h);
    EXPECT_EQ(w, 3840);
    EXPECT_EQ(h, 2160);

    EXPECT_FALSE(windowFullscreen());
    toggleFullscreen();
    EXPECT_TRUE(windowFullscreen());
    toggleFullscreen();
    EXPECT_FALSE(windowFullscreen());
    destroyWindow();
}
