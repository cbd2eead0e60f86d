// State of the checker screen transition that is to open the program and run
// around page changes and stage intros. The transition step itself is not
// built yet: for now Game only resets this state on construction and loads
// the checker image at start-up.
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
