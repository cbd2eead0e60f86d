// The SDL back end's present path on SDL's dummy video driver, a system
// with no graphics card: frames must go to the window's own surface, with
// no renderer, one pixel for one windowed and scaled to nearest pixels in
// full screen.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

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

TEST(SdlPresent, SoftwareOnlySystemsShowFramesThroughTheWindowSurface) {
    ScopedEnv driver("SDL_VIDEODRIVER", "dummy");
    ScopedEnv renderer("SDL_RENDER_DRIVER", nullptr);
    init(Backend::Sdl);
    WindowSpec spec;
    spec.title = "Emberhaunt test";
    ASSERT_EQ(createWindow(spec, nullptr, nullptr), WindowResult::Ok);
    EXPECT_EQ(SDL_GetRenderer(internal::sdlWindow()), nullptr);
    drawCoordinates(*windowSurface());
    presentWindow();
    SDL_Surface* shown = SDL_GetWindowSurface(internal::sdlWindow());
    ASSERT_NE(shown, nullptr);
    ASSERT_EQ(shown->w, 640);
    ASSERT_EQ(shown->h, 480);
    for (int y = 0; y < 480; y += 7)
        for (int x = 0; x < 640; x += 3) ASSERT_EQ(shownPixel(shown, x, y), windowSurface()->pixel(x, y));
    destroyWindow();

    // Full screen: scaled up with every shown pixel a copy of the source
    // pixel nearest to it, no blend of neighbours.
    spec.fullScreen = true;
    ASSERT_EQ(createWindow(spec, nullptr, nullptr), WindowResult::Ok);
    EXPECT_EQ(SDL_GetRenderer(internal::sdlWindow()), nullptr);
    drawCoordinates(*windowSurface());
    presentWindow();
    shown = SDL_GetWindowSurface(internal::sdlWindow());
    ASSERT_NE(shown, nullptr);
    ASSERT_GT(shown->w, 640);
    const internal::ScreenRect r = internal::letterbox(640, 480, shown->w, shown->h);
    for (int y = 0; y < shown->h; y += 5) {
        for (int x = 0; x < shown->w; x += 3) {
            const uint32_t p = shownPixel(shown, x, y);
            if (x < r.x || y < r.y || x >= r.x + r.w || y >= r.y + r.h) {
                ASSERT_EQ(p, 0u) << "bar at " << x << "," << y;
                continue;
            }
            const int sx = int((p >> 16) & 255) | int(p & 15) << 8;
            const int sy = int((p >> 8) & 255) | int((p >> 4) & 15) << 8;
            ASSERT_LE(std::abs(sx - (x - r.x) * 640.0 / r.w), 1.0) << x << "," << y;
            ASSERT_LE(std::abs(sy - (y - r.y) * 480.0 / r.h), 1.0) << x << "," << y;
        }
    }
    destroyWindow();
    shutdown();
}

}  // namespace
