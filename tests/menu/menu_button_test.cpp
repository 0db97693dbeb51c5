// The textured menu button: its hit rectangle, and a click only on the frame the button goes down.
#include <gtest/gtest.h>

#include "menu/menu_button.h"
#include "platform/input.h"

namespace {

MenuButton boxButton(float x, float y) {
    MenuButton button;
    button.normal.width = 288;
    button.normal.height = 31;
    button.x = x;
    button.y = y;
    return button;
}

InputDevices at(int32_t x, int32_t y, bool downBefore, bool downNow) {
    InputDevices in;
    in.cursorX = x;
    in.cursorY = y;
    in.previousMouse.buttons[0] = downBefore ? 0x80 : 0;
    in.mouse.buttons[0] = downNow ? 0x80 : 0;
    return in;
}

} // namespace

TEST(MenuButton, HoveredInsideItsRectangleEdgesIncluded) {
    MenuButton button = boxButton(100, 200);
    button.scaleX = 0.5f;
    const struct {
        int32_t x, y;
        bool inside;
    } cases[] = {{100, 200, true},  {244, 231, true},  {99, 215, false},
                 {245, 215, false}, {150, 199, false}, {150, 232, false}};
    for (const auto& c : cases) {
        updateButton(button, at(c.x, c.y, false, false));
        EXPECT_EQ(button.hovered, c.inside) << c.x << ", " << c.y;
    }
}

TEST(MenuButton, ClicksOnlyOnTheFrameTheMouseButtonGoesDownOnIt) {
    MenuButton button = boxButton(0, 0);
    // Held down while moving onto the button: hovered, but neither pressed nor clicked.
    InputDevices in = at(10, 10, true, true);
    updateButton(button, in);
    EXPECT_TRUE(button.hovered);
    EXPECT_FALSE(button.pressed);
    EXPECT_FALSE(buttonClicked(button, in));

    in = at(10, 10, false, true);
    updateButton(button, in);
    EXPECT_TRUE(button.pressed);
    EXPECT_TRUE(buttonClicked(button, in));

    in = at(12, 10, true, true);
    updateButton(button, in);
    EXPECT_TRUE(button.pressed);
    EXPECT_FALSE(buttonClicked(button, in));

    // Leaving the button drops the press.
    in = at(400, 10, true, true);
    updateButton(button, in);
    EXPECT_FALSE(button.pressed);
}
