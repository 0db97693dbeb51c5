#pragma once
// Start-up and shutdown of the game role, phase by phase; shutdown runs each phase's pieces
// down in the reverse order.
#include "platform/user_folders.h"
#include "render/sprite_pass.h"

struct AppContext;

// Window, GL context, input, the renderers, the texture registry on the textures folder, the UI
// binding with its "imgui.ini" in the config folder, the "Consolas" text and the mouse cursor the
// program draws. False, with the reason shown to the user and nothing left running, when the
// window or a renderer could not be made.
bool startWindowAndDevices(Sprite& cursor, const UserFolders& folders = {});
void stopWindowAndDevices();

// The application object with the folders, the atlas, settings, MIDI clients, palette, views and
// the song folder tree; stopApplication saves the settings and frees it.
AppContext* startApplication(const UserFolders& folders = {});
void stopApplication(AppContext*& app);

void startSoundOutputs(AppContext& app);
void stopSoundOutputs(AppContext& app);
