#pragma once
// The program's one window with its OpenGL 3.3 core context.

// Creates and shows the window for a frame of the given size and makes its GL context current.
// The client area is the frame's size where the usable desktop holds it with the window's own
// frame; otherwise the largest size of the same aspect that fits. The window is centred on the
// usable desktop. hidden keeps it unmapped (tests that only need a context).
// Returns false when no window or context could be made; windowError() then tells why.
bool createWindow(const char* title, int frameWidth, int frameHeight, bool hidden = false);
void destroyWindow();
bool windowExists();
const char* windowError();

// Presents the back buffer. Waits for the vertical blank where the driver can; where it cannot
// (Xvfb, for example) it sleeps so that frames come no faster than about 60 per second.
void presentWindow();

// The window's drawable is at most 8192 pixels on a side (less where the renderer's viewport is
// smaller); the window is kept to that. False while it is larger anyway: it has been asked back
// within the bound, and nothing may be drawn into it this frame.
bool drawableWithinBounds();

// Seconds between two presents at the display's pace.
float framePeriodSeconds();

void windowClientSize(int& width, int& height);
// Size including the frame and title bar, as far as the window system tells.
void windowOuterSize(int& width, int& height);
// The frame's size: what layouts are made against, whatever size the window has. Each frame's
// picture is scaled from it to the window with its aspect kept.
void renderSize(int& width, int& height);

struct ScreenRect {
    int x = 0, y = 0; // from the area's top-left corner
    int width = 0, height = 0;
    bool operator==(const ScreenRect&) const = default;
};

// Where the picture lies in the window: in window units (what mouse motion comes in), and in
// the drawable's pixels (what GL draws into), with the drawable's size.
ScreenRect pictureInWindow();
ScreenRect pictureInDrawable(int& drawableWidth, int& drawableHeight);

// The window's outer size in frame units: the bounds of the virtual cursor. In full screen
// there is no window frame, so it is the frame's size.
void cursorBounds(int& width, int& height);

// Switches between the window and desktop full screen; leaving full screen restores the window.
void toggleFullscreen();
bool windowFullscreen();

// The geometry behind the above, kept apart so it can be checked on its own.

// Position that centres an outer size on a screen; negative when the window is the larger.
int centredPosition(int screenSize, int outerSize);
// The largest rectangle of the frame's aspect in an area, centred; bars fill the rest.
ScreenRect letterbox(int frameWidth, int frameHeight, int areaWidth, int areaHeight);
// The client size for a frame in the room a window's client area may take: the frame's own
// size when it fits, else the largest of its aspect that does.
void fittedClientSize(int frameWidth, int frameHeight, int roomWidth, int roomHeight, int& width,
                      int& height);
