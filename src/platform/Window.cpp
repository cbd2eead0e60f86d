#include "platform/Window.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <deque>
#include <memory>
#include <thread>

#include "platform/Clock.h"
#include "platform/InternalState.h"
#include "platform/PresentPath.h"
#include "platform/SdlRendererProbe.h"
#include "platform/SdlIcon.h"
#include "platform/SdlKeys.h"
#include "platform/Surface.h"

namespace plat {
namespace {

using internal::hs;
using internal::onSdl;

constexpr int kMaxSide = 16384;
// The idle yield in the last millisecond before a tick. The system wakes a
// sleeper about a tenth of a millisecond late, so a plain 1 ms sleep would
// overshoot the 1 ms a due tick may wait.
constexpr auto kIdleYield = std::chrono::microseconds(800);
// The longest idle sleep before the events are looked at again: short
// enough that a key tap (tens of milliseconds) is never missed.
constexpr int kIdleWaitMs = 4;
// Like a Windows thread queue, posting stops at a fixed limit instead of
// growing without bound.
constexpr std::size_t kQueueLimit = 10000;

struct TimerState {
    bool active = false;
    uint32_t id = 0;
    uint32_t period = 1;
    TimerProc proc = nullptr;
    uint32_t nextDue = 0;
};

struct WindowState {
    bool exists = false;
    WindowSpec spec;
    WindowProc proc = nullptr;
    void* user = nullptr;
    std::unique_ptr<Surface> surface;
    bool minimised = false;
    bool fullScreen = false;
    SDL_Window* window = nullptr;
    // Presenting through a renderer: both set. Through the window's own
    // surface: both null, and frameView lends SDL the picture's pixels.
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    SDL_Surface* frameView = nullptr;
    // The window surface last drawn to; a different one (or an exposed
    // window) is painted whole, bars included, instead of only the picture.
    const SDL_Surface* shownOn = nullptr;
    int shownW = 0, shownH = 0;
    bool repaintAll = true;
};

struct Globals {
    WindowState win;
    TimerState timer;
    std::deque<Message> queue;
    // The virtual-key code each held key reported when it went down, so its
    // release reports the same code even if Num Lock changed in between.
    std::array<int, 512> downVk{};
};

// Never destroyed: objects destroyed at exit may still post or peek.
Globals& g() {
    static Globals* globals = new Globals;
    return *globals;
}

void releaseRenderer() {
    if (g().win.texture) SDL_DestroyTexture(g().win.texture);
    if (g().win.renderer) SDL_DestroyRenderer(g().win.renderer);
    g().win.texture = nullptr;
    g().win.renderer = nullptr;
}

void releaseSdlWindow() {
    if (g().win.fullScreen && g().win.window) SDL_ShowCursor(SDL_ENABLE);
    releaseRenderer();
    if (g().win.frameView) SDL_FreeSurface(g().win.frameView);
    if (g().win.window) SDL_DestroyWindow(g().win.window);
    g().win.frameView = nullptr;
    g().win.window = nullptr;
}

void setIcon(SDL_Window* window, const std::string& path) {
    internal::IconImage icon;
    if (path.empty() || !internal::readIconFile(path, &icon)) return;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(icon.argb.data(), icon.width, icon.height,
                                                        32, icon.width * 4,
                                                        SDL_PIXELFORMAT_ARGB8888);
    if (!s) return;
    SDL_SetWindowIcon(window, s);
    SDL_FreeSurface(s);
}

// Hidden until the way to present is settled, which may take a new window.
SDL_Window* openSdlWindow(const WindowSpec& spec) {
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (spec.fullScreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    return SDL_CreateWindow(spec.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, spec.width,
                            spec.height, flags);
}

bool makeRenderer(const WindowSpec& spec) {
    g().win.renderer = SDL_CreateRenderer(g().win.window, -1, 0);
    if (!g().win.renderer) return false;
    g().win.texture = SDL_CreateTexture(g().win.renderer, internal::surfacePixelFormat(),
                                        SDL_TEXTUREACCESS_STREAMING, spec.width, spec.height);
    if (g().win.texture) return true;
    releaseRenderer();
    return false;
}

// Picks how frames reach the screen (see PresentPath.h): a renderer where
// a graphics card serves it or where SDL_RENDER_DRIVER asks for one,
// otherwise the window's own surface.
bool choosePresentPath(const WindowSpec& spec) {
    const internal::RendererKind kind = internal::probeRenderer();
    if (kind != internal::RendererKind::Software && makeRenderer(spec)) {
        if (kind != internal::RendererKind::Unknown || !internal::drawsInSoftware(g().win.renderer)) return true;
        releaseRenderer();
        // Found out here after all: GL is released with the window it was
        // loaded for, where the system lets it go.
        SDL_DestroyWindow(g().win.window);
        g().win.window = openSdlWindow(spec);
        if (!g().win.window) return false;
    }
    const Surface& frame = *g().win.surface;
    g().win.frameView = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<uint32_t*>(frame.pixels()), frame.width(), frame.height(), 32, frame.pitch(),
        internal::surfacePixelFormat());
    if (g().win.frameView && SDL_GetWindowSurface(g().win.window)) return true;
    // A video driver without window surfaces: any renderer beats none.
    return makeRenderer(spec);
}

WindowResult createSdlWindow(const WindowSpec& spec) {
    if (!internal::sdlVideo()) return WindowResult::Failed;
    // Nearest-neighbour scaling keeps the pixel art crisp in full screen.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    // A window surface is plain memory the X server copies from; left to
    // itself SDL would back it with a GL texture, loading GL after all.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    g().win.window = openSdlWindow(spec);
    if (!g().win.window) return spec.fullScreen ? WindowResult::FullScreenRefused : WindowResult::Failed;
    g().win.fullScreen = spec.fullScreen;
    if (!choosePresentPath(spec)) {
        releaseSdlWindow();
        return spec.fullScreen ? WindowResult::FullScreenRefused : WindowResult::Failed;
    }
    setIcon(g().win.window, spec.iconPath);
    SDL_DisableScreenSaver();
    if (spec.fullScreen) SDL_ShowCursor(SDL_DISABLE);
    SDL_ShowWindow(g().win.window);
    SDL_RaiseWindow(g().win.window);
    return WindowResult::Ok;
}

void presentThroughRenderer(const Surface& s) {
    int outW = 0, outH = 0;
    if (SDL_GetRendererOutputSize(g().win.renderer, &outW, &outH) != 0) return;
    const internal::ScreenRect r = internal::letterbox(s.width(), s.height(), outW, outH);
    const SDL_Rect to{r.x, r.y, r.w, r.h};
    SDL_UpdateTexture(g().win.texture, nullptr, s.pixels(), s.pitch());
    SDL_SetRenderDrawColor(g().win.renderer, 0, 0, 0, 255);
    SDL_RenderClear(g().win.renderer);
    SDL_RenderCopy(g().win.renderer, g().win.texture, nullptr, &to);
    SDL_RenderPresent(g().win.renderer);
}

void presentThroughSurface(const Surface& s) {
    WindowState& win = g().win;
    SDL_Surface* out = SDL_GetWindowSurface(win.window);
    if (!out || !win.frameView) return;
    const internal::ScreenRect r = internal::letterbox(s.width(), s.height(), out->w, out->h);
    if (r.w <= 0 || r.h <= 0) return;
    const bool whole = win.repaintAll || out != win.shownOn || out->w != win.shownW || out->h != win.shownH;
    if (whole) SDL_FillRect(out, nullptr, SDL_MapRGB(out->format, 0, 0, 0));
    SDL_Rect to{r.x, r.y, r.w, r.h};
    if (r.w == s.width() && r.h == s.height()) {
        SDL_BlitSurface(win.frameView, nullptr, out, &to);
    } else if (out->format->format == internal::surfacePixelFormat() && !SDL_MUSTLOCK(out)) {
        auto* corner = static_cast<uint8_t*>(out->pixels) + std::size_t(r.y) * out->pitch + std::size_t(r.x) * 4;
        internal::scaleNearest(s.pixels(), s.width(), s.height(), s.pitch(), reinterpret_cast<uint32_t*>(corner),
                               r.w, r.h, out->pitch);
    } else {
        SDL_BlitScaled(win.frameView, nullptr, out, &to);  // also nearest neighbour, with conversion
    }
    const SDL_Rect changed{r.x, r.y, r.w, r.h};
    if (whole)
        SDL_UpdateWindowSurface(win.window);
    else
        SDL_UpdateWindowSurfaceRects(win.window, &changed, 1);
    win.shownOn = out;
    win.shownW = out->w;
    win.shownH = out->h;
    win.repaintAll = false;
}

void presentSdl() {
    if (g().win.texture)
        presentThroughRenderer(*g().win.surface);
    else
        presentThroughSurface(*g().win.surface);
}

void setMinimised(bool minimised) {
    if (g().win.minimised == minimised) return;
    g().win.minimised = minimised;
    internal::queueMessage({MsgType::Activate, minimised ? 1u : 0u, 0});
}

void translate(const SDL_Event& e, bool* closeQueued) {
    switch (e.type) {
        case SDL_QUIT:
            // Closing the last window also sends SDL_QUIT; one Close is enough.
            if (!*closeQueued) internal::queueMessage({MsgType::Close, 0, 0});
            *closeQueued = true;
            break;
        case SDL_WINDOWEVENT:
            if (!g().win.window || e.window.windowID != SDL_GetWindowID(g().win.window)) break;
            switch (e.window.event) {
                case SDL_WINDOWEVENT_CLOSE:
                    if (!*closeQueued) internal::queueMessage({MsgType::Close, 0, 0});
                    *closeQueued = true;
                    break;
                case SDL_WINDOWEVENT_MINIMIZED:
                    setMinimised(true);
                    break;
                // The bars around the picture are painted only when asked.
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    g().win.repaintAll = true;
                    break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    internal::queueMessage({MsgType::FocusLost, 0, 0});
                    break;
                // Some window managers restore without a RESTORED event.
                case SDL_WINDOWEVENT_RESTORED:
                case SDL_WINDOWEVENT_SHOWN:
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    setMinimised(false);
                    break;
                default:
                    break;
            }
            break;
        case SDL_KEYDOWN: {
            int sc = e.key.keysym.scancode;
            if (sc < 0 || sc >= int(g().downVk.size())) break;
            // Alt combinations and F10 are system keys: never plain key messages.
            if ((e.key.keysym.mod & KMOD_ALT) || internal::isSystemKey(sc)) break;
            int vk = internal::messageVkFromSdlScancode(sc, (e.key.keysym.mod & KMOD_NUM) != 0);
            if (vk == 0) break;
            g().downVk[sc] = vk;
            internal::queueMessage({MsgType::KeyDown, uint32_t(vk), e.key.repeat ? 1 : 0});
            break;
        }
        case SDL_KEYUP: {
            // Releases always arrive, even with Alt held, so no key stays down.
            int sc = e.key.keysym.scancode;
            if (sc < 0 || sc >= int(g().downVk.size())) break;
            int& down = g().downVk[sc];
            int vk = down ? down
                          : internal::messageVkFromSdlScancode(sc, (e.key.keysym.mod & KMOD_NUM) != 0);
            down = 0;
            if (vk != 0) internal::queueMessage({MsgType::KeyUp, uint32_t(vk), 0});
            break;
        }
        default:
            break;
    }
}

// Translates every waiting event.
void pumpSdl() {
    if (!onSdl() || SDL_WasInit(SDL_INIT_VIDEO) == 0) return;
    bool closeQueued = false;
    SDL_Event e;
    while (SDL_PollEvent(&e)) translate(e, &closeQueued);
}

bool timerDue(uint32_t now) {
    return g().timer.active && static_cast<int32_t>(now - g().timer.nextDue) >= 0;
}

// Nothing to hand out: sleeps in slices of a few milliseconds up to a
// millisecond before the next tick is due, then in short yields up to the
// tick; the next peek takes whatever input arrived. Waking about a thousand
// times a second instead cost several percent of a core in an otherwise
// idle game. SDL_WaitEventTimeout would wake at once on input, but on X11 it
// answers events that arrive during the wait with a wake-up message sent
// over a second connection: when the window closes at that moment, the
// server can see the window destroyed before that message, and the X
// error that follows ends the process with exit code 1.
void idleWait(uint32_t now) {
    int waitMs = g().timer.active ? static_cast<int32_t>(g().timer.nextDue - now) - 1 : kIdleWaitMs;
    if (waitMs < 1 || !g().win.window) {
        std::this_thread::sleep_for(kIdleYield);
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(std::min(waitMs, kIdleWaitMs)));
}

}  // namespace

namespace internal {

void queueMessage(const Message& msg) {
    if (g().queue.size() < kQueueLimit) g().queue.push_back(msg);
}

void resetWindowState() {
    destroyWindow();
    g().timer = TimerState{};
    g().queue.clear();
    g().downVk.fill(0);
}

bool windowHasFocus() {
    if (!onSdl()) return hs().focus;
    return g().win.window && SDL_GetKeyboardFocus() == g().win.window;
}

SDL_Window* sdlWindow() { return g().win.window; }

}  // namespace internal

WindowResult createWindow(const WindowSpec& spec, WindowProc proc, void* user) {
    if (g().win.exists) return WindowResult::Failed;
    if (spec.width < 1 || spec.height < 1 || spec.width > kMaxSide || spec.height > kMaxSide)
        return WindowResult::Failed;
    if (!onSdl()) {
        if (hs().failWindow) return WindowResult::Failed;
        if (spec.fullScreen && hs().refuseFullScreen) return WindowResult::FullScreenRefused;
    }
    g().win.surface = Surface::create(spec.width, spec.height);
    if (!g().win.surface) return WindowResult::Failed;
    if (onSdl()) {
        WindowResult r = createSdlWindow(spec);
        if (r != WindowResult::Ok) {
            g().win = WindowState{};
            return r;
        }
    }
    g().win.exists = true;
    g().win.spec = spec;
    g().win.proc = proc;
    g().win.user = user;
    if (onSdl()) presentSdl();  // black until the first frame
    return WindowResult::Ok;
}

void destroyWindow() {
    releaseSdlWindow();
    g().win = WindowState{};
    // A window's timer dies with it.
    g().timer = TimerState{};
}

bool windowExists() { return g().win.exists; }

void screenSize(int* w, int* h) {
    int sw = 0, sh = 0;
    if (!onSdl()) {
        sw = hs().screenW;
        sh = hs().screenH;
    } else if (internal::sdlVideo()) {
        SDL_DisplayMode mode;
        if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
            sw = mode.w;
            sh = mode.h;
        }
    }
    if (w) *w = sw;
    if (h) *h = sh;
}

Surface* windowSurface() { return g().win.surface.get(); }

void presentWindow() {
    if (!g().win.exists) return;
    if (onSdl())
        presentSdl();
    else
        ++hs().presents;
}

bool setTimer(uint32_t id, int periodMs, TimerProc proc) {
    if (!onSdl() && hs().failTimer) return false;
    g().timer.active = true;
    g().timer.id = id;
    g().timer.period = periodMs < 1 ? 1u : uint32_t(periodMs);
    g().timer.proc = proc;
    g().timer.nextDue = tickCount() + g().timer.period;
    return true;
}

void killTimer(uint32_t id) {
    if (g().timer.active && g().timer.id == id) g().timer = TimerState{};
}

bool peekMessage(Message* out) {
    pumpSdl();
    if (!g().queue.empty()) {
        if (out) *out = g().queue.front();
        g().queue.pop_front();
        return true;
    }
    uint32_t now = tickCount();
    if (timerDue(now)) {
        TimerState& t = g().timer;
        // Stay on the period's grid; after a stall, skip the missed ticks
        // instead of delivering a burst.
        t.nextDue += t.period;
        if (static_cast<int32_t>(now - t.nextDue) >= 0) t.nextDue = now + t.period;
        if (out) *out = {MsgType::Timer, t.id, 0};
        return true;
    }
    if (onSdl())
        idleWait(now);
    else
        ++hs().ticks;
    return false;
}

void dispatchMessage(const Message& msg) {
    if (msg.type == MsgType::Quit) return;
    if (msg.type == MsgType::Timer) {
        if (!g().timer.active || g().timer.id != msg.wParam) return;  // killed since it was taken
        if (g().timer.proc) {
            g().timer.proc();
            return;
        }
    }
    if (g().win.exists && g().win.proc) g().win.proc(msg, g().win.user);
}

void postQuit(int exitCode) {
    internal::queueMessage({MsgType::Quit, static_cast<uint32_t>(exitCode), 0});
}

namespace headless {

const WindowSpec* windowSpec() {
    if (onSdl() || !g().win.exists) return nullptr;
    return &g().win.spec;
}

}  // namespace headless
}  // namespace plat
