#pragma once
// Dear ImGui on our GL device: input each frame, our own renderer of its draw lists.

struct UiFrameInput {
    bool mouseDown[3] = {false, false, false};
    float wheel = 0; // the UI's units: wheel counts (120 per notch) divided by 48
    float mouseX = 0, mouseY = 0;
    float dt = 0;
    bool ctrl = false, shift = false, alt = false;
};

// The display size is fixed here; later window size changes do not reach the UI. False when the
// GL objects cannot be made: the UI then runs but draws nothing.
bool createUiBinding(int displayWidth, int displayHeight);
void releaseUiBinding();

// Key events carry Windows virtual-key codes, the UI's key map.
void uiKeyEvent(int virtualKey, bool down);
void uiTextInput(const char* utf8);

void uiNewFrame(const UiFrameInput& input);
void uiRender();

// Room in the UI's vertex and index buffers; they only grow, with margins of 5000 and 10000.
void uiBufferCapacity(int& vertices, int& indices);
