#pragma once
// For other files of the platform layer only: the SDL window behind window.h.
struct SDL_Window;
SDL_Window* platformWindow();
