#include "shell/debug_menu.h"

#include <imgui.h>

#include "app/app_context.h"
#include "app/preferences.h"
#include "game/note_sprite.h"
#include "platform/window.h"

void drawDebugMenuBar(DebugFlags& flags, AppContext* app) {
    bool menuOpen = false;
    if (app) app->debugMenuOpen = false;
    if (!ImGui::BeginMainMenuBar()) return;
    if (ImGui::BeginMenu("File")) {
        menuOpen = true;
        if (ImGui::Button("Test Window")) flags.testWindowShown = !flags.testWindowShown;
        if (ImGui::Button("Debug Window")) flags.debugWindowShown = !flags.debugWindowShown;
        ImGui::EndMenu();
    }
    if (ImGui::BeginMenu("Settings")) {
        menuOpen = true;
        bool changed = false;
        if (ImGui::Button("Toggle Fullscreen")) {
            toggleFullscreen();
            changed = true;
        }
        if (ImGui::MenuItem("Fancy Graphics", nullptr, flags.fancyGraphics)) {
            flags.fancyGraphics = !flags.fancyGraphics;
            if (app) switchNoteDrawer(*app, flags.fancyGraphics);
            changed = true;
        }
        if (changed && app) {
            app->play.fancyGraphics = flags.fancyGraphics;
            app->play.fullscreen = windowFullscreen();
            savePreferences(*app);
        }
        ImGui::EndMenu();
    }
    ImGui::EndMainMenuBar();
    if (app) app->debugMenuOpen = menuOpen;
}

void drawDebugWindows(DebugFlags& flags) {
    ImGui::SetNextWindowSize(ImVec2(650, 200), ImGuiCond_FirstUseEver);
    if (flags.testWindowShown) ImGui::ShowDemoWindow(&flags.testWindowShown);
    if (!flags.debugWindowShown) return;
    if (ImGui::Begin("Debug Window", &flags.debugWindowShown)) {
        // The count may grow while the loop runs: a new button shows in the same frame.
        for (int32_t i = 0; i < flags.debugButtonCount; ++i) {
            ImGui::PushID(i);
            if (ImGui::Button("Button")) ++flags.debugButtonCount;
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
        replacement = new FastNoteSprite(app.keyboardView);
    delete app.noteSprite;
    app.noteSprite = replacement;
    app.noteSprite->loadTextures();
}
