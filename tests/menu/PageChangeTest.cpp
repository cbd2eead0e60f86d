// A page change on the real clock (SDL's dummy video driver: no display
// needed). The headless clock stands still while a page change draws, so
// only here do its two halves run as they do for the player.
#include <cstdlib>

#include "menu/Menu.h"
#include "menu/MenuItem.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "platform/Surface.h"
#include "platform/Window.h"
#include "shell/Game.h"
#include "shell/ShellFixture.h"
#include "shell/Transition.h"

namespace {

using PageChangeTest = shelltest::GameTest;

// The checker closes over the whole screen before the new page shows, and
// opens again completely before the change returns: the countdown of each
// half runs from 100 to below 1 at one step per 5 ms, so each takes at
// least 500 ms.
TEST_F(PageChangeTest, ThePageChangesBehindAFullCoverAndIsFullyRevealedBeforePlayGoesOn) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("SDL_RENDER_DRIVER", "software", 0);
    plat::init(plat::Backend::Sdl);
    writeStartupImages();
    write("config.cfg", "[input]\nlastUsedDI=1\n");
    startGame();
    ASSERT_NE(plat::windowSurface(), nullptr) << "no window on the dummy video driver";

    // The credits page notes the moment it opens.
    const uint32_t start = plat::tickCount();
    game->menu.items[1]->changePage(kPageCredits);
    const uint32_t end = plat::tickCount();
    const uint32_t switched = game->menu.creditsTick;

    EXPECT_EQ(game->menu.page, kPageCredits);
    EXPECT_GE(switched - start, 500u);
    EXPECT_GE(end - switched, 500u);
    EXPECT_FALSE(transitionRunning);
    // The last frame shows no checker cell (the checker is the only red).
    const plat::Surface* window = plat::windowSurface();
    int covered = 0;
    for (int y = 0; y < 480; y += 4)
        for (int x = 0; x < 640; x += 4) covered += window->pixel(x, y) == plat::rgb(200, 40, 40);
    EXPECT_EQ(covered, 0);
}

}  // namespace
