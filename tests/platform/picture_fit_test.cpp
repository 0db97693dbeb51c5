// The 1920 x 1080 frame on windows and screens of other sizes: where the picture lies, how large
// the window opens, and how mouse motion becomes frame units.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/input.h"
#include "platform/window.h"

namespace {

ScreenRect rect(int x, int y, int width, int height) {
    ScreenRect r;
    r.x = x;
    r.y = y;
    r.width = width;
    r.height = height;
    return r;
}

void expectFitted(int roomWidth, int roomHeight, int width, int height) {
    int w = 0, h = 0;
    fittedClientSize(1920, 1080, roomWidth, roomHeight, w, h);
    EXPECT_EQ(w, width) << "room " << roomWidth << "x" << roomHeight;
    EXPECT_EQ(h, height) << "room " << roomWidth << "x" << roomHeight;
}

} // namespace

TEST(Picture, FillsAnAreaOfItsAspectAndIsCentredWithBarsElsewhere) {
    EXPECT_EQ(letterbox(1920, 1080, 1920, 1080), rect(0, 0, 1920, 1080));
    EXPECT_EQ(letterbox(1920, 1080, 1280, 720), rect(0, 0, 1280, 720));
    EXPECT_EQ(letterbox(1920, 1080, 3840, 2160), rect(0, 0, 3840, 2160));
    // 4:3 and 16:10 screens: bars above and below.
    EXPECT_EQ(letterbox(1920, 1080, 1024, 768), rect(0, 96, 1024, 576));
    EXPECT_EQ(letterbox(1920, 1080, 1920, 1200), rect(0, 60, 1920, 1080));
    // Ultra-wide: bars left and right.
    EXPECT_EQ(letterbox(1920, 1080, 2560, 1080), rect(320, 0, 1920, 1080));
    // Sizes that are not exact: the nearest pixel, never more than the area; an odd bar
    // leaves the extra pixel below or right.
    EXPECT_EQ(letterbox(1920, 1080, 1171, 659), rect(0, 0, 1171, 659)); // 658.7 high
    EXPECT_EQ(letterbox(1920, 1080, 1366, 768), rect(0, 0, 1365, 768)); // 1365.3 wide
    EXPECT_EQ(letterbox(1920, 1080, 1000, 1000), rect(0, 218, 1000, 563));
    EXPECT_EQ(letterbox(1920, 1080, 1, 1), rect(0, 0, 1, 1));
    // A minimised window has no picture.
    EXPECT_EQ(letterbox(1920, 1080, 0, 0), rect(0, 0, 0, 0));
    EXPECT_EQ(letterbox(1920, 1080, -4, 300), rect(0, 0, 0, 0));
}

TEST(Picture, WindowOpensAtTheFrameSizeOrTheLargestOfItsAspectThatFits) {
    expectFitted(2560, 1400, 1920, 1080);
    expectFitted(1920, 1080, 1920, 1080);
    // A 1920 x 1080 desktop less a title bar of 21: height decides, the width is rounded down.
    expectFitted(1920, 1059, 1882, 1059);
    // 1280 x 720 with a 40-row panel and a frame of 1, 1, 20, 1.
    expectFitted(1278, 659, 1171, 659);
    // 1024 x 768 likewise: width decides.
    expectFitted(1022, 707, 1022, 574);
    expectFitted(1919, 1080, 1919, 1079);
    // No room at all still gives a window.
    expectFitted(0, 0, 1, 1);
    expectFitted(-10, 500, 1, 1);
}

TEST(Cursor, MotionIsScaledToFrameUnitsWithoutLosingOrGainingAny) {
    int64_t carry = 0;
    // Shown at full size: motion passes unchanged.
    EXPECT_EQ(motionToFrame(7, 1920, 1920, carry), 7);
    EXPECT_EQ(motionToFrame(-3, 1920, 1920, carry), -3);
    EXPECT_EQ(carry, 0);

    // Shown at two thirds: each window unit is one and a half frame units.
    int32_t units[4];
    for (int32_t& u : units) u = motionToFrame(1, 1920, 1280, carry);
    EXPECT_EQ(units[0], 1);
    EXPECT_EQ(units[1], 2);
    EXPECT_EQ(units[2], 1);
    EXPECT_EQ(units[3], 2);
    EXPECT_EQ(carry, 0);
    EXPECT_EQ(motionToFrame(300, 1920, 1280, carry), 450);
    // Back and forth returns to the same place.
    EXPECT_EQ(motionToFrame(1, 1920, 1280, carry), 1);
    EXPECT_EQ(motionToFrame(-1, 1920, 1280, carry), -1);
    EXPECT_EQ(carry, 0);

    // Shown at twice the size (a large screen): slow motion still arrives, every second unit.
    EXPECT_EQ(motionToFrame(1, 1920, 3840, carry), 0);
    EXPECT_EQ(motionToFrame(1, 1920, 3840, carry), 1);
    EXPECT_EQ(motionToFrame(-1, 1920, 3840, carry), -1);
    EXPECT_EQ(motionToFrame(1, 1920, 3840, carry), 1);
    EXPECT_EQ(carry, 0);

    // Extreme counts saturate; no picture leaves motion as it is.
    EXPECT_EQ(motionToFrame(INT32_MAX, 1920, 1, carry), INT32_MAX);
    carry = 0;
    EXPECT_EQ(motionToFrame(INT32_MIN, 1920, 1, carry), INT32_MIN);
    carry = 5;
    EXPECT_EQ(motionToFrame(42, 1920, 0, carry), 42);
    EXPECT_EQ(carry, 0);
}

TEST(Cursor, KeepsItsPlaceInTheFrameWhenThePictureChanges) {
    InputDevices in;
    setCursorBounds(in, 1922, 1112); // a full-size window with its frame
    followPicture(in, 1920, 1080, 1922, 1112);
    moveCursorByMotion(in, 960, 400, 1920, 1080);
    EXPECT_EQ(in.cursorX, 1921);
    EXPECT_EQ(in.cursorY, 956);

    // Shrunk to two thirds with a frame of 3 by 33 frame units now: clamped to the new bounds,
    // otherwise where it was; motion is scaled from here on.
    followPicture(in, 1280, 720, 1923, 1113);
    EXPECT_EQ(in.cursorX, 1921);
    followPicture(in, 1280, 720, 1920, 1080); // full screen: no frame
    EXPECT_EQ(in.cursorX, 1919);
    EXPECT_EQ(in.cursorY, 956);
    moveCursorByMotion(in, -101, -1, 1920, 1080);
    EXPECT_EQ(in.cursorX, 1767); // 151.5 back: 152, and half a unit carried forward
    EXPECT_EQ(in.cursorY, 954);
    EXPECT_EQ(in.carryX, 640);

    // A new picture size drops what was carried in the old one's units.
    followPicture(in, 1024, 576, 1920, 1080);
    EXPECT_EQ(in.carryX, 0);
    EXPECT_EQ(in.cursorX, 1767);
    moveCursorByMotion(in, 16, 9, 1920, 1080);
    EXPECT_EQ(in.cursorX, 1797);
    EXPECT_EQ(in.cursorY, 970); // 16.875 down, the rest carried
}
