#pragma once
// Start-up and shutdown of the game role, phase by phase; shutdown runs each phase's pieces
// down in the reverse order.
#include "render/sprite_pass.h"

// The mouse cursor the program draws over everything each frame.
extern Sprite cursor;

// Window, GL context, input, the renderers, the texture registry on "Data/Textures", the UI
// binding, the "Consolas" text and the cursor. False, with the reason shown to the user and
// nothing left running, when the window or a renderer could not be made.
bool startWindowAndDevices();
void stopWindowAndDevices();

// The application object with the atlas, settings, MIDI clients, palette, views and the song
// folder tree.
void startApplication();
void stopApplication();

void startSoundOutputs();
void stopSoundOutputs();
