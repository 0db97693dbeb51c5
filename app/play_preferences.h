#pragma once
// The play's values, carried from one game to the next and from run to run; the application
// object holds them, preferences.h reads and writes them.

struct PlayPreferences {
    float songSpeed = 1.0f;
    float noteSpread = 400.0f;
    float inputVolume = 2.0f;
    bool fancyGraphics = true;
    bool fullscreen = false;
};
