#pragma once
// The debug menu bar ("File", "Settings") and the two debug windows, drawn by the main loop after
// every state's render.
#include <cstdint>

struct AppContext;

struct DebugFlags {
    bool menuOpen = false; // a menu of the bar is open this frame; cleared by each bar
    bool testWindowShown = false;
    bool debugWindowShown = false;
    int32_t debugButtonCount = 1;
    bool fancyGraphics = true; // the note drawer is the textured one
};
extern DebugFlags debugFlags;

void drawDebugMenuBar();
void drawDebugWindows();

// Replaces the context's note drawer by a fresh textured (fancy) or outline one, loaded.
void switchNoteDrawer(AppContext& app, bool fancy);
