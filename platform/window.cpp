#include "platform/window.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "platform/frame_wake.h"
#include "platform/window_internal.h"

namespace {
SDL_Window* window = nullptr;
SDL_GLContext context = nullptr;
std::chrono::steady_clock::time_point lastPresent;
std::chrono::nanoseconds framePeriod{16'666'667};
constexpr std::chrono::milliseconds shortestFrameGap{4};
int renderWidth = 0, renderHeight = 0;
std::string lastError;

bool fail(const char* what) {
    lastError = std::string(what) + ": " + SDL_GetError();
    return false;
}
} // namespace

const char* windowError() {
    return lastError.c_str();
}

int centredPosition(int screenSize, int outerSize) {
    // Arithmetic shift, so a window larger than the screen starts at a negative position.
    return (screenSize - outerSize) >> 1;
}

SDL_Window* platformWindow() {
    return window;
}

bool createWindow(const char* title, int clientWidth, int clientHeight, bool hidden) {
    if (window) return true;
    lastError.clear();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return fail("Cannot start the video system");
    // Without a display SDL falls back to drivers that show nothing; a window nobody can see
    // or close is no use, unless one of them was asked for by name.
    const char* driver = SDL_GetCurrentVideoDriver();
    bool invisible =
        driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
    if (invisible && !SDL_getenv("SDL_VIDEODRIVER")) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        lastError = "No display is available";
        return false;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    // Everything is drawn flat at depth 0 in submission order, so no depth or stencil buffer:
    // clearing one each frame costs a software renderer a third of its idle time.
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);

    // Created hidden so it can be centred by its outer size before it is shown.
    window = SDL_CreateWindow(title, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, clientWidth,
                              clientHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window) {
        fail("Cannot create the window");
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    context = SDL_GL_CreateContext(window);
    if (!context) {
        fail("Cannot create an OpenGL 3.3 context");
        SDL_DestroyWindow(window);
        window = nullptr;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    SDL_GL_MakeCurrent(window, context);
    SDL_GL_SetSwapInterval(1);
    watchWindowLoss(window);

    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
        int outerW = 0, outerH = 0;
        windowOuterSize(outerW, outerH);
        int top = 0, left = 0, bottom = 0, right = 0;
        SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right);
        // SDL places the client area; the frame lies left of and above it.
        SDL_SetWindowPosition(window, centredPosition(mode.w, outerW) + left,
                              centredPosition(mode.h, outerH) + top);
    }
    if (!hidden) SDL_ShowWindow(window);
    SDL_GL_GetDrawableSize(window, &renderWidth, &renderHeight);
    glViewport(0, 0, renderWidth, renderHeight);
    // The display's refresh rate, where it tells one, paces frames that vsync does not.
    SDL_DisplayMode current;
    int refresh = SDL_GetWindowDisplayMode(window, &current) == 0 ? current.refresh_rate : 0;
    if (refresh < 30 || refresh > 500) refresh = 60;
    framePeriod = std::chrono::nanoseconds(1'000'000'000 / refresh);
    lastPresent = std::chrono::steady_clock::now();
    return true;
}

void destroyWindow() {
    if (!window) return;
    if (displayConnectionLost()) {
        // The server has already dropped the window and context; SDL would wait on the dead
        // connection for them to go.
        context = nullptr;
        window = nullptr;
        return;
    }
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    settleWindowLoss();
    context = nullptr;
    window = nullptr;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool windowExists() {
    return window != nullptr;
}

void presentWindow() {
    using namespace std::chrono;
    if (!window) return;
    SDL_GL_SwapWindow(window);
    auto now = steady_clock::now();
    // A swap paced by the vertical blank comes a whole refresh period after the last one. One
    // that came clearly sooner did not wait (no vsync, as under Xvfb): hold the pace here, so
    // an idle game does not spin a core.
    if (now - lastPresent < framePeriod * 9 / 10) {
        // MIDI input ends the wait early, so a played note sounds without waiting out the
        // period; never sooner than the shortest gap, so a flood of it cannot spin a core.
        if (waitForFrameWake(lastPresent + framePeriod))
            std::this_thread::sleep_until(lastPresent + shortestFrameGap);
        now = steady_clock::now();
    }
    lastPresent = now;
}

void windowClientSize(int& width, int& height) {
    width = height = 0;
    if (window) SDL_GetWindowSize(window, &width, &height);
}

void windowOuterSize(int& width, int& height) {
    windowClientSize(width, height);
    int top = 0, left = 0, bottom = 0, right = 0;
    if (window && SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) == 0) {
        width += left + right;
        height += top + bottom;
    }
}

void renderSize(int& width, int& height) {
    width = renderWidth;
    height = renderHeight;
}

void toggleFullscreen() {
    if (!window) return;
    bool full = SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP;
    SDL_SetWindowFullscreen(window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
}
