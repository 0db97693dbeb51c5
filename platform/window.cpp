#include "platform/window.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>

#include "platform/frame_wake.h"
#include "platform/gl.h"
#include "platform/window_internal.h"

#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xatom.h>
#endif

namespace {
SDL_Window* window = nullptr;
SDL_GLContext context = nullptr;
std::chrono::steady_clock::time_point lastPresent;
std::chrono::nanoseconds framePeriod{16'666'667};
constexpr std::chrono::milliseconds shortestFrameGap{4};
int renderWidth = 0, renderHeight = 0;
// The largest drawable on a side: the window's drawable is what GL draws into, and a software
// renderer fails on one far larger (a window made 32767 pixels square).
constexpr int drawableCap = 8192;
int largestDrawable = drawableCap;
std::string lastError;

bool fail(const char* what) {
    lastError = std::string(what) + ": " + SDL_GetError();
    return false;
}

// The primary screen less what panels and docks keep for themselves.
SDL_Rect usableDesktop() {
    SDL_Rect area{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(0, &area) == 0 && area.w > 0 && area.h > 0) return area;
    if (SDL_GetDisplayBounds(0, &area) == 0) return area;
    return SDL_Rect{0, 0, renderWidth, renderHeight};
}

void frameBorders(int& top, int& left, int& bottom, int& right) {
    top = left = bottom = right = 0;
    if (SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) != 0)
        top = left = bottom = right = 0;
}

// Sizes the client area to the frame or the largest of its aspect that fits the desktop with
// the window's frame, and centres the whole on it.
void placeOnDesktop(const SDL_Rect& desktop) {
    int top = 0, left = 0, bottom = 0, right = 0;
    frameBorders(top, left, bottom, right);
    int width = 0, height = 0;
    fittedClientSize(renderWidth, renderHeight, desktop.w - left - right, desktop.h - top - bottom,
                     width, height);
    int currentWidth = 0, currentHeight = 0;
    SDL_GetWindowSize(window, &currentWidth, &currentHeight);
    if (width != currentWidth || height != currentHeight) SDL_SetWindowSize(window, width, height);
    // SDL places the client area; the frame lies left of and above it.
    SDL_SetWindowPosition(window,
                          desktop.x + centredPosition(desktop.w, width + left + right) + left,
                          desktop.y + centredPosition(desktop.h, height + top + bottom) + top);
}

bool windowManagerRunning() {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return true;
    Display* display = info.info.x11.display;
    // A window manager following the desktop conventions names its check window on the root.
    Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None) return false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool found = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                                    XA_WINDOW, &type, &format, &count, &after, &data) == Success &&
                 type == XA_WINDOW && count == 1;
    if (data) XFree(data);
    return found;
#else
    return true;
#endif
}

// Waits a little for the window manager to frame the window; false when no frame came.
bool awaitWindowFrame() {
    if (!windowManagerRunning()) return false;
    const Uint64 deadline = SDL_GetTicks64() + 500;
    do {
        SDL_PumpEvents();
        int top = 0, left = 0, bottom = 0, right = 0;
        frameBorders(top, left, bottom, right);
        if (top || left || bottom || right) return true;
        SDL_Delay(2);
    } while (SDL_GetTicks64() < deadline);
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

ScreenRect letterbox(int frameWidth, int frameHeight, int areaWidth, int areaHeight) {
    ScreenRect rect;
    if (areaWidth <= 0 || areaHeight <= 0) return rect;
    rect.width = areaWidth;
    rect.height = areaHeight;
    if (frameWidth <= 0 || frameHeight <= 0) return rect;
    const int64_t fw = frameWidth, fh = frameHeight, aw = areaWidth, ah = areaHeight;
    // Rounded to the nearest pixel; the exact size never exceeds the area, so neither does this.
    if (aw * fh <= ah * fw)
        rect.height = static_cast<int>((2 * aw * fh + fw) / (2 * fw));
    else
        rect.width = static_cast<int>((2 * ah * fw + fh) / (2 * fh));
    rect.x = (areaWidth - rect.width) / 2;
    rect.y = (areaHeight - rect.height) / 2;
    return rect;
}

void fittedClientSize(int frameWidth, int frameHeight, int roomWidth, int roomHeight, int& width,
                      int& height) {
    width = frameWidth;
    height = frameHeight;
    if (frameWidth <= 0 || frameHeight <= 0 || (width <= roomWidth && height <= roomHeight)) return;
    const int64_t fw = frameWidth, fh = frameHeight;
    const int64_t rw = std::max(roomWidth, 1), rh = std::max(roomHeight, 1);
    // Rounded down: the window must fit.
    if (rw * fh <= rh * fw) {
        width = static_cast<int>(rw);
        height = static_cast<int>(rw * fh / fw);
    } else {
        height = static_cast<int>(rh);
        width = static_cast<int>(rh * fw / fh);
    }
    width = std::max(width, 1);
    height = std::max(height, 1);
}

SDL_Window* platformWindow() {
    return window;
}

bool createWindow(const char* title, int frameWidth, int frameHeight, bool hidden) {
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

    renderWidth = frameWidth;
    renderHeight = frameHeight;
    const SDL_Rect desktop = usableDesktop();
    int clientWidth = 0, clientHeight = 0;
    fittedClientSize(frameWidth, frameHeight, desktop.w, desktop.h, clientWidth, clientHeight);
    // Created hidden so it can be sized and centred before it is shown.
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
    GLint viewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    largestDrawable = std::min({drawableCap, viewport[0] > 0 ? viewport[0] : drawableCap,
                                viewport[1] > 0 ? viewport[1] : drawableCap});
    SDL_SetWindowMaximumSize(window, largestDrawable, largestDrawable);
    watchWindowLoss(window);

    placeOnDesktop(desktop);
    if (!hidden) {
        SDL_ShowWindow(window);
        // The window manager tells the frame's size only once it has the window; with it known,
        // the window may have to shrink to keep its frame on the desktop.
        if (awaitWindowFrame()) placeOnDesktop(desktop);
    }
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

bool drawableWithinBounds() {
    if (!window) return true;
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(window, &width, &height);
    if (width <= largestDrawable && height <= largestDrawable) return true;
    // Grown past the bound anyway (no window manager keeps to the hint): back within it, and no
    // frame drawn until it is. Waiting a frame's time keeps this from spinning.
    int clientWidth = 0, clientHeight = 0;
    SDL_GetWindowSize(window, &clientWidth, &clientHeight);
    const double scale =
        std::max(width / double(largestDrawable), height / double(largestDrawable));
    if (!windowFullscreen())
        SDL_SetWindowSize(window, std::max(1, int(clientWidth / scale)),
                          std::max(1, int(clientHeight / scale)));
    std::this_thread::sleep_for(framePeriod);
    return false;
}

float framePeriodSeconds() {
    return std::chrono::duration<float>(framePeriod).count();
}

void windowClientSize(int& width, int& height) {
    width = height = 0;
    if (window) SDL_GetWindowSize(window, &width, &height);
}

void windowOuterSize(int& width, int& height) {
    windowClientSize(width, height);
    if (!window) return;
    int top = 0, left = 0, bottom = 0, right = 0;
    frameBorders(top, left, bottom, right);
    width += left + right;
    height += top + bottom;
}

void renderSize(int& width, int& height) {
    width = renderWidth;
    height = renderHeight;
}

ScreenRect pictureInWindow() {
    int width = 0, height = 0;
    windowClientSize(width, height);
    return letterbox(renderWidth, renderHeight, width, height);
}

ScreenRect pictureInDrawable(int& drawableWidth, int& drawableHeight) {
    drawableWidth = drawableHeight = 0;
    if (window) SDL_GL_GetDrawableSize(window, &drawableWidth, &drawableHeight);
    return letterbox(renderWidth, renderHeight, drawableWidth, drawableHeight);
}

void cursorBounds(int& width, int& height) {
    width = renderWidth;
    height = renderHeight;
    const ScreenRect picture = pictureInWindow();
    if (!window || windowFullscreen() || picture.width <= 0 || picture.height <= 0) return;
    int top = 0, left = 0, bottom = 0, right = 0;
    frameBorders(top, left, bottom, right);
    // The window frame as the picture's scale makes it; at full size the outer window exactly.
    auto toFrame = [](int units, int frame, int shown) {
        return static_cast<int>((2 * int64_t{units} * frame + shown) / (2 * int64_t{shown}));
    };
    width += toFrame(left + right, renderWidth, picture.width);
    height += toFrame(top + bottom, renderHeight, picture.height);
}

void toggleFullscreen() {
    if (!window) return;
    SDL_SetWindowFullscreen(window, windowFullscreen() ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
}

bool windowFullscreen() {
    return window && (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN);
}
