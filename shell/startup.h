#pragma once
// Start-up and shutdown of the game role, phase by phase; shutdown runs each phase's pieces
// down in the reverse order.
#include <string>
#include <thread>

#include "platform/user_folders.h"
#include "render/sprite_pass.h"

struct AppContext;

// Window, GL context, input, the renderers, the texture registry on the textures folder, the UI
// binding with its "imgui.ini" in the config folder, the "Consolas" text and the mouse cursor the
// program draws. False, with the reason shown to the user and nothing left running, when the
// window or a renderer could not be made; with failure given, the message is kept there instead
// of shown.
bool startWindowAndDevices(Sprite& cursor, const UserFolders& folders = {},
                           std::string* failure = nullptr);
void stopWindowAndDevices();

// The application object, made in two steps: beginApplication reads the settings and starts the
// MIDI clients (and builds the Simple Synth's voices when no MIDI output port opens) on a thread
// of its own, so that this waiting runs while the window opens; finishApplication waits for it
// and adds the atlas, palette, views, song folder tree, preferences and history.
// stopApplication saves the settings and frees it; abandonApplication, for a window that never
// opened, frees what beginApplication made and saves nothing.
struct ApplicationStart {
    AppContext* app = nullptr;
    std::thread sound;
};
ApplicationStart beginApplication(const UserFolders& folders = {});
AppContext* finishApplication(ApplicationStart& start);
void abandonApplication(ApplicationStart& start);
void stopApplication(AppContext*& app);

void startSoundOutputs(AppContext& app);
void stopSoundOutputs(AppContext& app);
