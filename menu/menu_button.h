#pragma once
// The textured button of the menu pages.
#include <cstdint>
#include <string>

#include "render/colour.h"
#include "render/sprite_pass.h"

struct InputDevices;

struct MenuButton {
    Sprite normal;
    Sprite pressedSprite;
    float x = 0, y = 0;
    float scaleX = 1, scaleY = 1;
    std::string label;
    int32_t textSize = 24;
    Colour textColour{0, 0, 0, 0};
    bool hovered = false;
    bool pressed = false;
};

// Hover and press from the cursor and the first mouse button: hovered inside the rectangle
// from (x, y) to (x + scale x * width, y + scale y * height), edges included.
void updateButton(MenuButton& button, const InputDevices& input);
// Queues the pressed sprite while the button is held down on it, else the normal one, and the
// label.
void drawButton(const MenuButton& button, const InputDevices& input);
// Hovered and the first mouse button pressed this frame.
bool buttonClicked(const MenuButton& button, const InputDevices& input);
