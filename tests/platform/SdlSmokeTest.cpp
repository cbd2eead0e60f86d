// The SDL back end end to end; skipped where no display exists.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

#include "platform/Clock.h"
#include "platform/KeyboardDevice.h"
#include "platform/Platform.h"
#include "platform/Surface.h"
#include "platform/Window.h"

namespace {

using namespace plat;

int ticks = 0;
void onTick() { ++ticks; }

TEST(SdlSmoke, WindowTimerAndKeyboard) {
    // SDL's own software drawing: the desktop GL drivers keep allocations
    // past their unloading, which the leak check would blame on us.
    setenv("SDL_RENDER_DRIVER", "software", 0);
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 0);
    init(Backend::Sdl);
    WindowSpec spec;
    spec.title = "Emberhaunt test";
    WindowResult r = createWindow(spec, nullptr, nullptr);
    if (r != WindowResult::Ok) {
        shutdown();
        GTEST_SKIP() << "no display";
    }
    int w = 0, h = 0;
    screenSize(&w, &h);
    EXPECT_GT(w, 0);
    EXPECT_GT(h, 0);
    ASSERT_NE(windowSurface(), nullptr);
    EXPECT_EQ(windowSurface()->width(), 640);
    windowSurface()->fill(0, 0, 640, 480, rgb(200, 30, 30));
    presentWindow();
    EXPECT_EQ(windowSurface()->pixel(639, 479), rgb(200, 30, 30));

    EXPECT_TRUE(openInputSystem());
    KeyboardDevice k;
    EXPECT_TRUE(k.create() && k.setFormat() && k.setCooperative() && k.acquire());

    // A 5 ms timer ticks while the loop polls; the idle peeks yield the CPU.
    ticks = 0;
    ASSERT_TRUE(setTimer(1, 5, onTick));
    uint32_t start = tickCount();
    Message m;
    while (tickCount() - start < 100 && ticks < 5)
        if (peekMessage(&m)) dispatchMessage(m);
    EXPECT_GE(ticks, 5);
    killTimer(1);

    k.release();
    destroyWindow();
    EXPECT_FALSE(openInputSystem());
    shutdown();
}

}  // namespace
