#pragma once
// Dear ImGui on our GL device: input each frame, our own renderer of its draw lists.

struct UiFrameInput {
    bool mouseDown[3] = {false, false, false};
    float wheel = 0; // notches
    float mouseX = 0, mouseY = 0;
    float dt = 0;
    bool ctrl = false, shift = false, alt = false;
};

bool createUiBinding(int displayWidth, int displayHeight);
void releaseUiBinding();

// Key events carry Windows virtual-key codes, the UI's key map.
void uiKeyEvent(int virtualKey, bool down);
void uiTextInput(const char* utf8);

void uiNewFrame(const UiFrameInput& input);
void uiRender();
