#include <SDL.h>
#include <SDL_syswm.h>

#include <cstdio>

#include "platform/window_internal.h"

// The window system can take the window away from under the program: another client destroys
// it, or the server drops the connection. Xlib's default answer to either is to end the process
// at once, losing what shutdown would save; here both become a quit request instead.

#if defined(SDL_VIDEO_DRIVER_X11)

namespace {

Display* display = nullptr;
Window window = 0;
XErrorHandler previousHandler = nullptr;
XIOErrorHandler previousIoHandler = nullptr;
bool windowGone = false;
bool connectionLost = false;
bool lossReported = false;

int onError(Display* errorDisplay, XErrorEvent* error) {
    bool aboutOurWindow = (error->error_code == BadWindow || error->error_code == BadDrawable) &&
                          error->resourceid == window;
    // Once the window is gone every request still aimed at it fails; none of that matters now.
    if (windowGone || aboutOurWindow) {
        windowGone = true;
        return 0;
    }
    return previousHandler ? previousHandler(errorDisplay, error) : 0;
}

void onConnectionLost(Display*, void*) {
    // Returning leaves the connection dead but the process running; later calls on it do
    // nothing, and the main loop ends at its next event poll.
    windowGone = connectionLost = true;
}

// Xlib's own handler ends the process; this one only reports, and the exit handler of the
// window's connection then lets the program go on to its shutdown.
int onIoError(Display*) {
    std::fprintf(stderr, "The connection to the display was lost\n");
    return 0;
}

} // namespace

void watchWindowLoss(SDL_Window* sdlWindow) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(sdlWindow, &info) || info.subsystem != SDL_SYSWM_X11) return;
    display = info.info.x11.display;
    window = info.info.x11.window;
    windowGone = connectionLost = lossReported = false;
    previousHandler = XSetErrorHandler(onError);
    previousIoHandler = XSetIOErrorHandler(onIoError);
    XSetIOErrorExitHandler(display, onConnectionLost, nullptr);
}

void settleWindowLoss() {
    if (!display) return;
    // Errors of the requests made so far arrive while our handler still listens.
    if (!connectionLost) XSync(display, False);
    XSetErrorHandler(previousHandler);
    previousHandler = nullptr;
    if (!connectionLost) XSetIOErrorHandler(previousIoHandler);
    previousIoHandler = nullptr;
    display = nullptr;
    window = 0;
}

bool windowLost() {
    if (!windowGone || lossReported) return false;
    lossReported = true;
    return true;
}

bool displayConnectionLost() {
    return connectionLost;
}

int displayDescriptor() {
    if (!display || connectionLost) return -1;
    // Events Xlib has already read off the connection would not make it readable.
    if (XEventsQueued(display, QueuedAlready) > 0) return -2;
    return ConnectionNumber(display);
}

#else

void watchWindowLoss(SDL_Window*) {}
void settleWindowLoss() {}
bool windowLost() {
    return false;
}
bool displayConnectionLost() {
    return false;
}
int displayDescriptor() {
    return -1;
}

#endif
