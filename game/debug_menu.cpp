#include "game/debug_menu.h"

#include <imgui.h>

#include "app/app_context.h"
#include "app/preferences.h"
#include "game/note_sprite.h"
#include "platform/window.h"

DebugFlags debugFlags;

void drawDebugMenuBar() {
    debugFlags.menuOpen = false;
    if (!ImGui::BeginMainMenuBar()) return;
    if (ImGui::BeginMenu("File")) {
        debugFlags.menuOpen = true;
        if (ImGui::Button("Test Window")) debugFlags.testWindowShown = !debugFlags.testWindowShown;
        if (ImGui::Button("Debug Window"))
            debugFlags.debugWindowShown = !debugFlags.debugWindowShown;
        ImGui::EndMenu();
    }
    if (ImGui::BeginMenu("Settings")) {
        debugFlags.menuOpen = true;
        bool changed = false;
        if (ImGui::Button("Toggle Fullscreen")) {
            toggleFullscreen();
            changed = true;
        }
        if (ImGui::MenuItem("Fancy Graphics", nullptr, debugFlags.fancyGraphics)) {
            debugFlags.fancyGraphics = !debugFlags.fancyGraphics;
            if (application) switchNoteDrawer(*application, debugFlags.fancyGraphics);
            changed = true;
        }
        if (changed && application) {
            application->play.fancyGraphics = debugFlags.fancyGraphics;
            application->play.fullscreen = windowFullscreen();
            savePreferences(*application);
        }
        ImGui::EndMenu();
    }
    ImGui::EndMainMenuBar();
}

void drawDebugWindows() {
    ImGui::SetNextWindowSize(ImVec2(650, 200), ImGuiCond_FirstUseEver);
    if (debugFlags.testWindowShown) ImGui::ShowDemoWindow(&debugFlags.testWindowShown);
    if (!debugFlags.debugWindowShown) return;
    if (ImGui::Begin("Debug Window", &debugFlags.debugWindowShown)) {
        // The count may grow while the loop runs: a new button shows in the same frame.
        for (int32_t i = 0; i < debugFlags.debugButtonCount; ++i) {
            ImGui::PushID(i);
            if (ImGui::Button("Button")) ++debugFlags.debugButtonCount;
            ImGui::PopID();
        }
        const ImVec2 position = ImGui::GetWindowPos();
        const ImVec2 size = ImGui::GetWindowSize();
        ImGui::Text("Position");
        ImGui::Text("X: %.0f", double(position.x));
        ImGui::Text("Y: %.0f", double(position.y));
        ImGui::Text("Scale");
        ImGui::Text("X: %.0f", double(size.x));
        ImGui::Text("Y: %.0f", double(size.y));
    }
    ImGui::End();
}

void switchNoteDrawer(AppContext& app, bool fancy) {
    NoteSprite* replacement = nullptr;
    if (fancy)
        replacement = new FancyNoteSprite();
    else
        replacement = new FastNoteSprite(app);
    delete app.noteSprite;
    app.noteSprite = replacement;
    app.noteSprite->loadTextures();
}
