#include "shell/Transition.h"

Bitmap checkerBitmap;
int32_t checkerCellSize = 0;
int32_t transitionCountdown = 0;
uint32_t transitionLastStep = 0;
bool transitionRunning = false;
bool transitionReveal = false;
int32_t transitionMask[kTransitionMaskWidth][kTransitionMaskHeight] = {};
bool introCoverStarted = false;
bool introRevealStarted = false;
