#pragma once
// Start-up and shutdown of the game role, phase by phase; shutdown runs each phase's pieces
// down in the reverse order.
#include "render/sprite_pass.h"

struct AppContext;

// Window, GL context, input, the renderers, the texture registry on "Data/Textures", the UI
// binding, the "Consolas" text and the mouse cursor the program draws. False, with the reason
// shown to the user and nothing left running, when the window or a renderer could not be made.
bool startWindowAndDevices(Sprite& cursor);
void stopWindowAndDevices();

// The application object with the atlas, settings, MIDI clients, palette, views and the song
// folder tree; stopApplication saves the settings and frees it.
AppContext* startApplication();
void stopApplication(AppContext*& app);

void startSoundOutputs(AppContext& app);
void stopSoundOutputs(AppContext& app);
