#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <utility>

#include "platform/input.h"
#include "platform/window.h"

namespace {

using Size = std::pair<int, int>;

Size sizeFrom(void (*get)(int&, int&)) {
    Size size{0, 0};
    get(size.first, size.second);
    return size;
}

} // namespace

TEST(Window, OpensA33CoreContextOfTheAskedClientSize) {
    ASSERT_TRUE(createWindow("Cadenzio", 1920, 1080));
    EXPECT_EQ(sizeFrom(windowClientSize), Size(1920, 1080));
    EXPECT_GE(epoxy_gl_version(), 33);
    presentWindow();
    destroyWindow();
    EXPECT_FALSE(windowExists());
}

TEST(Window, InputBoundsTheCursorByTheOuterWindowAndCentresIt) {
    ASSERT_TRUE(createWindow("Cadenzio", 1920, 1080));
    EXPECT_EQ(sizeFrom(renderSize), Size(1920, 1080));
    createInput();
    const Size outer = sizeFrom(windowOuterSize);
    EXPECT_EQ(Size(input.cursorWidth, input.cursorHeight), outer);
    EXPECT_EQ(input.cursorX, outer.first >> 1);
    EXPECT_EQ(input.cursorY, outer.second >> 1);
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
    EXPECT_EQ(sizeFrom(windowClientSize), Size(1920, 1080));
    EXPECT_EQ(sizeFrom(renderSize), Size(3840, 2160));
    EXPECT_EQ(pictureInWindow(), (ScreenRect{0, 0, 1920, 1080}));
    Size drawable;
    EXPECT_EQ(pictureInDrawable(drawable.first, drawable.second), (ScreenRect{0, 0, 1920, 1080}));
    EXPECT_EQ(drawable, Size(1920, 1080));
    EXPECT_EQ(sizeFrom(cursorBounds), Size(3840, 2160));

    EXPECT_FALSE(windowFullscreen());
    toggleFullscreen();
    EXPECT_TRUE(windowFullscreen());
    toggleFullscreen();
    EXPECT_FALSE(windowFullscreen());
    destroyWindow();
}
