#pragma once
// Start-up and shutdown of the game role, phase by phase; shutdown runs each phase's pieces
// down in the reverse order.
#include "platform/user_folders.h"
#include "render/sprite_pass.h"

// The mouse cursor the program draws over everything each frame.
extern Sprite cursor;

// Window, GL context, input, the renderers, the texture registry on the textures folder, the UI
// binding with its "imgui.ini" in the config folder, the "Consolas" text and the cursor. False,
// with the reason shown to the user and nothing left running, when the window or a renderer could
// not be made.
bool startWindowAndDevices(const UserFolders& folders = {});
void stopWindowAndDevices();

// The application object with the folders, the atlas, settings, MIDI clients, palette, views and
// the song folder tree.
void startApplication(const UserFolders& folders = {});
void stopApplication();

void startSoundOutputs();
void stopSoundOutputs();
