#pragma once
// For other files of the platform layer only: the SDL window behind window.h.
struct SDL_Window;
SDL_Window* platformWindow();

// Turns the window's destruction by someone else, or the loss of the display connection, into a
// quit request instead of the process ending on the spot.
void watchWindowLoss(SDL_Window* window);
// Called with the window already destroyed, before the video system closes.
void settleWindowLoss();
// True once, after the window or the display connection was lost.
bool windowLost();
// The connection to the display is gone: nothing of the window can be released any more.
bool displayConnectionLost();
// The display connection's descriptor, to sleep on until the window system sends something; -2
// when events wait already, -1 when there is no connection to wait on.
int displayDescriptor();
