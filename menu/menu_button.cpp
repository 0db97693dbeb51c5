#include "menu/menu_button.h"

#include "platform/input.h"
#include "render/text.h"

void updateButton(MenuButton& button, const InputDevices& input) {
    const float x = float(input.cursorX), y = float(input.cursorY);
    button.hovered = x >= button.x && x <= button.x + button.scaleX * button.normal.width &&
                     y >= button.y && y <= button.y + button.scaleY * button.normal.height;
    if (!button.hovered)
        button.pressed = false;
    else if (mouseButtonPressed(input, 0))
        button.pressed = true;
}

void drawButton(const MenuButton& button, const InputDevices& input) {
    const bool down = mouseButtonHeld(input, 0) && button.hovered && button.pressed;
    Sprite sprite = down ? button.pressedSprite : button.normal;
    sprite.x = button.x;
    sprite.y = button.y;
    sprite.scaleX = button.scaleX;
    sprite.scaleY = button.scaleY;
    drawSprite(sprite);
    drawText(button.label.c_str(), button.x, button.y, float(button.textSize), button.textColour);
}

bool buttonClicked(const MenuButton& button, const InputDevices& input) {
    return button.hovered && mouseButtonPressed(input, 0);
}
