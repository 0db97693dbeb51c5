#pragma once
// The program's one window with its OpenGL 3.3 core context.

// Creates and shows the window with a client area of the given size, centred on the primary
// screen by its outer size (a window larger than the screen gets a negative position), and
// makes its GL context current. hidden keeps it unmapped (tests that only need a context).
// Returns false when no window or context could be made; windowError() then tells why.
bool createWindow(const char* title, int clientWidth, int clientHeight, bool hidden = false);
void destroyWindow();
bool windowExists();
const char* windowError();

// Presents the back buffer. Waits for the vertical blank where the driver can; where it cannot
// (Xvfb, for example) it sleeps so that frames come no faster than about 60 per second.
void presentWindow();

void windowClientSize(int& width, int& height);
// Size including the frame and title bar, as far as the window system tells.
void windowOuterSize(int& width, int& height);
// The size the back buffer was made with: what layouts are made against. It does not follow
// later changes of the window.
void renderSize(int& width, int& height);

// Position that centres an outer size on a screen; negative when the window is the larger.
int centredPosition(int screenSize, int outerSize);

void toggleFullscreen();
