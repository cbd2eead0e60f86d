// The checker screen transition: it opens the program and runs around page
// changes and stage intros, covering the screen cell by cell at random
// (cover) or uncovering it (reveal).
#pragma once

#include <cstdint>

#include "graphics/Bitmap.h"

constexpr int kTransitionMaskWidth = 640;
constexpr int kTransitionMaskHeight = 480;

extern Bitmap checkerBitmap;
extern int32_t checkerCellSize;
extern int32_t transitionCountdown;
extern uint32_t transitionLastStep;
extern bool transitionRunning;
extern bool transitionReveal;
// Indexed [x][y] at the top-left corners of the cells: 1 once a cell settled.
extern int32_t transitionMask[kTransitionMaskWidth][kTransitionMaskHeight];
extern bool introCoverStarted;
extern bool introRevealStarted;

namespace plat {
class Surface;
}

// Restarts the transition: countdown 100, every cell unsettled.
void startTransition(bool reveal);

// One step of a running transition, drawn over target: the countdown moves
// with the time since the last step, then every cell of the right x bottom
// area is drawn or settled. Does nothing while no transition runs.
void stepTransition(plat::Surface& target, int right, int bottom);
