#pragma once
// Dear ImGui on our GL device: input each frame, our own renderer of its draw lists.
#include <string>

#include "render/ui_ini_file.h"

struct UiFrameInput {
    bool mouseDown[3] = {false, false, false};
    float wheel = 0; // the UI's units: wheel counts (120 per notch) divided by 48
    float mouseX = 0, mouseY = 0;
    float dt = 0;
    bool ctrl = false, shift = false, alt = false;
};

// The display size is fixed here: the frame's size, which the picture shows scaled to the
// window. The UI draws into the viewport the frame sets. False when the
// GL objects cannot be made: the UI then runs but draws nothing. The UI's window settings are
// kept in iniFile.
bool createUiBinding(int displayWidth, int displayHeight,
                     const std::string& iniFile = uiIniFileName);
void releaseUiBinding();

// Key events carry Windows virtual-key codes, the UI's key map.
void uiKeyEvent(int virtualKey, bool down);
void uiTextInput(const char* utf8);

void uiNewFrame(const UiFrameInput& input);
void uiRender();
// The UI changes by itself in the coming frames: an item held or dragged (a window moved, a
// slider), or a text field whose cursor blinks.
bool uiAnimating();

// A clip rectangle in the UI's display units as GL's scissor box {x, y from the bottom, width,
// height} in a viewport {x, y, width, height} that shows the whole display. Scaled boxes grow
// outward to whole pixels, so nothing the UI meant to show is cut.
struct UiClip {
    float left = 0, top = 0, right = 0, bottom = 0;
};
void uiScissorBox(const UiClip& clip, const int viewport[4], int displayWidth, int displayHeight,
                  int box[4]);

// Room in the UI's vertex and index buffers; they only grow, with margins of 5000 and 10000.
void uiBufferCapacity(int& vertices, int& indices);
