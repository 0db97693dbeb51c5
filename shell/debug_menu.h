#pragma once
// The debug menu bar ("File", "Settings") and the two debug windows, drawn by the main loop after
// every state's render.
#include <cstdint>

struct AppContext;

// Kept for the whole run, not saved. Whether a menu of the bar is open this frame lives in the
// application object, where the play reads it.
struct DebugFlags {
    bool testWindowShown = false;
    bool debugWindowShown = false;
    int32_t debugButtonCount = 1;
    bool fancyGraphics = true; // the note drawer is the textured one
};

// The bar sets app.debugMenuOpen afresh; without an application it still draws.
void drawDebugMenuBar(DebugFlags& flags, AppContext* app);
void drawDebugWindows(DebugFlags& flags);

// Replaces the context's note drawer by a fresh textured (fancy) or outline one, loaded.
void switchNoteDrawer(AppContext& app, bool fancy);
