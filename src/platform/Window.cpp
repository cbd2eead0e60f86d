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
#include "platform/SdlIcon.h"
#include "platform/SdlKeys.h"
#include "platform/Surface.h"

namespace plat {
namespace {

using internal::hs;
using internal::onSdl;

constexpr int kMaxSide = 16384;
// The idle yield. The system wakes a sleeper about a tenth of a millisecond
// late, so a plain 1 ms sleep would overshoot the 1 ms a due tick may wait.
constexpr auto kIdleYield = std::chrono::microseconds(800);
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
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
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

void releaseSdlWindow() {
    if (g().win.fullScreen && g().win.window) SDL_ShowCursor(SDL_ENABLE);
    if (g().win.texture) SDL_DestroyTexture(g().win.texture);
    if (g().win.renderer) SDL_DestroyRenderer(g().win.renderer);
    if (g().win.window) SDL_DestroyWindow(g().win.window);
    g().win.texture = nullptr;
    g().win.renderer = nullptr;
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

WindowResult createSdlWindow(const WindowSpec& spec) {
    if (!internal::sdlVideo()) return WindowResult::Failed;
    Uint32 flags = SDL_WINDOW_SHOWN;
    if (spec.fullScreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    // Nearest-neighbour scaling keeps the pixel art crisp in full screen.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    g().win.window = SDL_CreateWindow(spec.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                  spec.width, spec.height, flags);
    if (!g().win.window) return spec.fullScreen ? WindowResult::FullScreenRefused : WindowResult::Failed;
    g().win.fullScreen = spec.fullScreen;

    const Uint32 format = internal::surfacePixelFormat();
    g().win.renderer = SDL_CreateRenderer(g().win.window, -1, 0);
    if (g().win.renderer) {
        SDL_RenderSetLogicalSize(g().win.renderer, spec.width, spec.height);
        g().win.texture = SDL_CreateTexture(g().win.renderer, format, SDL_TEXTUREACCESS_STREAMING,
                                        spec.width, spec.height);
        if (!g().win.texture) {
            SDL_DestroyRenderer(g().win.renderer);
            g().win.renderer = nullptr;
        }
    }
    if (!g().win.renderer && !SDL_GetWindowSurface(g().win.window)) {
        releaseSdlWindow();
        return spec.fullScreen ? WindowResult::FullScreenRefused : WindowResult::Failed;
    }
    setIcon(g().win.window, spec.iconPath);
    SDL_DisableScreenSaver();
    if (spec.fullScreen) SDL_ShowCursor(SDL_DISABLE);
    SDL_RaiseWindow(g().win.window);
    return WindowResult::Ok;
}

void presentSdl() {
    const Surface& s = *g().win.surface;
    if (g().win.texture) {
        SDL_UpdateTexture(g().win.texture, nullptr, s.pixels(), s.pitch());
        SDL_RenderClear(g().win.renderer);
        SDL_RenderCopy(g().win.renderer, g().win.texture, nullptr, nullptr);
        SDL_RenderPresent(g().win.renderer);
        return;
    }
    SDL_Surface* dst = SDL_GetWindowSurface(g().win.window);
    if (!dst) return;
    // Unscaled and centred; only reached when no renderer could be made.
    SDL_FillRect(dst, nullptr, SDL_MapRGB(dst->format, 0, 0, 0));
    int w = std::min(s.width(), dst->w);
    int h = std::min(s.height(), dst->h);
    int x = (dst->w - w) / 2;
    int y = (dst->h - h) / 2;
    if (SDL_MUSTLOCK(dst)) SDL_LockSurface(dst);
    auto* out = static_cast<uint8_t*>(dst->pixels) + y * dst->pitch + x * dst->format->BytesPerPixel;
    SDL_ConvertPixels(w, h, internal::surfacePixelFormat(), s.pixels(), s.pitch(), dst->format->format,
                      out, dst->pitch);
    if (SDL_MUSTLOCK(dst)) SDL_UnlockSurface(dst);
    SDL_UpdateWindowSurface(g().win.window);
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

void pumpSdl() {
    if (!onSdl() || SDL_WasInit(SDL_INIT_VIDEO) == 0) return;
    bool closeQueued = false;
    SDL_Event e;
    while (SDL_PollEvent(&e)) translate(e, &closeQueued);
}

bool timerDue(uint32_t now) {
    return g().timer.active && static_cast<int32_t>(now - g().timer.nextDue) >= 0;
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
        std::this_thread::sleep_for(kIdleYield);
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
