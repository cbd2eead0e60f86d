#include "shell/Transition.h"

#include <cstdint>
#include <set>
#include <utility>

#include "platform/Clock.h"
#include "platform/Surface.h"
#include "shell/Game.h"

Bitmap checkerBitmap;
int32_t checkerCellSize = 0;
int32_t transitionCountdown = 0;
uint32_t transitionLastStep = 0;
bool transitionRunning = false;
bool transitionReveal = false;
int32_t transitionMask[kTransitionMaskWidth][kTransitionMaskHeight] = {};
bool introCoverStarted = false;
bool introRevealStarted = false;

namespace {

constexpr int32_t kCountdownStart = 100;
// The countdown moves one step per 5 ms.
constexpr uint32_t kStepMs = 5;
// Any countdown of 0 or less settles every cell; stopping far below that
// keeps a cover left running for weeks (or a huge jump of the clock) from
// overflowing the count.
constexpr int64_t kCountdownFloor = -1000000;

// Settled cells whose corner lies beyond the 640 x 480 mask: only a client
// area larger than the mask (or a cell smaller than the excess) has them.
// Keyed by the corner's pixel position; emptied by every start.
std::set<std::pair<int, int>> settledBeyondMask;

bool insideMask(int x, int y) {
    return x >= 0 && x < kTransitionMaskWidth && y >= 0 && y < kTransitionMaskHeight;
}

bool isSettled(int x, int y) {
    if (insideMask(x, y)) return transitionMask[x][y] == 1;
    return settledBeyondMask.count({x, y}) != 0;
}

void settle(int x, int y) {
    if (insideMask(x, y))
        transitionMask[x][y] = 1;
    else
        settledBeyondMask.insert({x, y});
}

void drawChecker(plat::Surface& target, int x, int y) {
    checkerBitmap.x = x;
    checkerBitmap.y = y;
    checkerBitmap.draw(target);
}

}  // namespace

void startTransition(bool reveal) {
    transitionCountdown = kCountdownStart;
    transitionLastStep = plat::tickCount();
    transitionRunning = true;
    transitionReveal = reveal;
    for (auto& column : transitionMask)
        for (int32_t& cell : column) cell = 0;
    settledBeyondMask.clear();
}

void stepTransition(plat::Surface& target, int right, int bottom) {
    if (!transitionRunning) return;

    const uint32_t now = plat::tickCount();
    const uint32_t elapsed = now - transitionLastStep;
    // Ticks 5 ms or less apart leave the countdown (and the last step) as
    // they are, so short ticks add up instead of being lost.
    if (elapsed > kStepMs) {
        int64_t countdown = int64_t(transitionCountdown) - int64_t(elapsed / kStepMs);
        if (countdown < kCountdownFloor) countdown = kCountdownFloor;
        transitionCountdown = int32_t(countdown);
        if (transitionCountdown < 1 && transitionReveal) transitionRunning = false;
        transitionLastStep = now;
    }

    // Without a usable cell size ("checker" missing its width) there are no
    // cells: nothing to draw, and no endless loop.
    const int cell = checkerCellSize;
    if (cell <= 0) return;

    for (int x = 0; x <= right - cell; x += cell) {
        for (int y = 0; y <= bottom - cell; y += cell) {
            // One draw per cell per tick, taken before the cell is looked at.
            const bool chance = Game::randomChance(transitionCountdown, 100);
            if (transitionReveal) {
                if (!chance && !isSettled(x, y))
                    drawChecker(target, x, y);
                else
                    settle(x, y);
            } else if (chance || isSettled(x, y)) {
                drawChecker(target, x, y);
                settle(x, y);
            }
        }
    }
}
