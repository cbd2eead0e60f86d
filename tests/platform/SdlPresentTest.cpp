// The SDL back end's present path on SDL's dummy video driver, a system
// with no graphics card: frames must go to the window's own surface, with
// no renderer, one pixel for one windowed and scaled to nearest pixels in
// full screen, with black bars where the window's shape differs.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include "platform/InternalState.h"
#include "platform/Platform.h"
#include "platform/PresentPath.h"
#include "platform/Surface.h"
#include "platform/Window.h"

namespace {

using namespace plat;

// Sets an environment variable for the test's lifetime.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// Every pixel tells where it came from: column and row in its channels.
void drawCoordinates(Surface& s) {
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) s.setPixel(x, y, rgb(x & 255, y & 255, (x >> 8) | (y >> 8) << 4));
}

uint32_t shownPixel(SDL_Surface* shown, int x, int y) {
    const auto* row = static_cast<const uint8_t*>(shown->pixels) + y * shown->pitch;
    Uint32 raw = 0;
    SDL_memcpy(&raw, row + x * shown->format->BytesPerPixel, shown->format->BytesPerPixel);
    Uint8 r, g, b;
    SDL_GetRGB(raw, shown->format, &r, &g, &b);
    return rgb(r, g, b);
}

// Whether the window shows the frame of drawCoordinates scaled into the
// place letterbox gives it, every pixel a copy of the source pixel nearest
// to it (no blend of neighbours), and black everywhere else.
::testing::AssertionResult showsFrameWithinBlackBars(SDL_Surface* shown) {
    if (!shown) return ::testing::AssertionFailure() << "no window surface";
    const internal::ScreenRect r = internal::letterbox(640, 480, shown->w, shown->h);
    for (int y = 0; y < shown->h; y += 5) {
        for (int x = 0; x < shown->w; x += 3) {
            const uint32_t p = shownPixel(shown, x, y);
            if (x < r.x || y < r.y || x >= r.x + r.w || y >= r.y + r.h) {
                if (p == 0) continue;
                return ::testing::AssertionFailure() << "bar at " << x << "," << y << " is "
                                                     << (::testing::Message() << std::hex << p);
            }
            const int sx = int((p >> 16) & 255) | int(p & 15) << 8;
            const int sy = int((p >> 8) & 255) | int((p >> 4) & 15) << 8;
            if (std::abs(sx - (x - r.x) * 640.0 / r.w) > 1.0 || std::abs(sy - (y - r.y) * 480.0 / r.h) > 1.0)
                return ::testing::AssertionFailure() << "at " << x << "," << y << " source pixel " << sx << "," << sy;
        }
    }
    return ::testing::AssertionSuccess();
}

// What a window shows where the system has not been told what to draw:
// whatever covered it last.
void cover(SDL_Surface* shown) { SDL_FillRect(shown, nullptr, SDL_MapRGB(shown->format, 255, 255, 255)); }

// Lets the back end take the window events SDL has queued.
void takeEvents() {
    Message m;
    while (peekMessage(&m)) {
    }
}

// Windows on SDL's dummy video driver.
class SdlPresent : public ::testing::Test {
protected:
    void TearDown() override { shutdown(); }

    // Opens the window showing drawCoordinates' frame; null when it failed.
    static SDL_Window* openWindow(bool fullScreen) {
        init(Backend::Sdl);
        WindowSpec spec;
        spec.title = "Emberhaunt test";
        spec.fullScreen = fullScreen;
        if (createWindow(spec, nullptr, nullptr) != WindowResult::Ok) return nullptr;
        drawCoordinates(*windowSurface());
        presentWindow();
        return internal::sdlWindow();
    }

private:
    ScopedEnv driver_{"SDL_VIDEODRIVER", "dummy"};
};

TEST_F(SdlPresent, SoftwareOnlySystemsShowFramesThroughTheWindowSurface) {
    ScopedEnv renderer("SDL_RENDER_DRIVER", nullptr);
    SDL_Window* window = openWindow(false);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(SDL_GetRenderer(window), nullptr);
    SDL_Surface* shown = SDL_GetWindowSurface(window);
    ASSERT_NE(shown, nullptr);
    ASSERT_EQ(shown->w, 640);
    ASSERT_EQ(shown->h, 480);
    for (int y = 0; y < 480; y += 7)
        for (int x = 0; x < 640; x += 3) ASSERT_EQ(shownPixel(shown, x, y), windowSurface()->pixel(x, y));
    destroyWindow();

    // Full screen: scaled up to the dummy driver's desktop.
    window = openWindow(true);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(SDL_GetRenderer(window), nullptr);
    shown = SDL_GetWindowSurface(window);
    ASSERT_NE(shown, nullptr);
    ASSERT_GT(shown->w, 640);
    EXPECT_TRUE(showsFrameWithinBlackBars(shown));
}

// A window of another shape than the picture, after a resize and after it
// was covered and uncovered: the picture fills what it can, the rest is
// black, on the window surface and through a renderer (which draws the
// whole window every frame).
TEST_F(SdlPresent, BarsAndPictureAfterAResizeAndAnExpose) {
    for (const char* rendererName : {static_cast<const char*>(nullptr), "software"}) {
        SCOPED_TRACE(rendererName ? rendererName : "window surface");
        ScopedEnv renderer("SDL_RENDER_DRIVER", rendererName);
        SDL_Window* window = openWindow(false);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(SDL_GetRenderer(window) != nullptr, rendererName != nullptr);
        // Bars at the sides, then above and below.
        for (const auto& [w, h] : {std::pair{1000, 600}, std::pair{700, 700}}) {
            SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
            SDL_SetWindowSize(window, w, h);
            SDL_Surface* shown = SDL_GetWindowSurface(window);
            ASSERT_NE(shown, nullptr);
            ASSERT_EQ(shown->w, w);
            cover(shown);
            takeEvents();
            presentWindow();
            EXPECT_TRUE(showsFrameWithinBlackBars(SDL_GetWindowSurface(window)));
        }
        // Uncovered: the frames since the resize drew only the picture's place.
        cover(SDL_GetWindowSurface(window));
        SDL_Event exposed{};
        exposed.type = SDL_WINDOWEVENT;
        exposed.window.event = SDL_WINDOWEVENT_EXPOSED;
        exposed.window.windowID = SDL_GetWindowID(window);
        ASSERT_EQ(SDL_PushEvent(&exposed), 1);
        takeEvents();
        presentWindow();
        EXPECT_TRUE(showsFrameWithinBlackBars(SDL_GetWindowSurface(window)));
        // A new renderer is chosen only after a shutdown.
        shutdown();
    }
}

}  // namespace
