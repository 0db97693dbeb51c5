#pragma once
// Where the scaling probe draws, in the frame's units: what the scaling tests look for on screen.
namespace probe {

constexpr int frameWidth = 1920, frameHeight = 1080;

// Squares of pure colour in the frame's corners; the top ones just below the debug menu bar,
// which the main loop draws across the frame's top.
constexpr int markerSide = 24;
constexpr int belowMenuBar = 40;
struct Marker {
    int x, y;
    int r, g, b;
};
constexpr Marker markers[4] = {{0, belowMenuBar, 255, 0, 0},
                               {frameWidth - markerSide, belowMenuBar, 0, 255, 0},
                               {0, frameHeight - markerSide, 0, 0, 255},
                               {frameWidth - markerSide, frameHeight - markerSide, 255, 0, 255}};

// The button that toggles full screen: blue, green while the mouse is over it, yellow while it is
// held down.
struct Box {
    int left, top, right, bottom;
};
constexpr Box button{1400, 780, 1720, 920};

} // namespace probe
