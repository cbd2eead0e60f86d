// The program's entry: the one global Game and the loop that drives it.
#pragma once

#include "platform/Window.h"

class Game;

extern Game game;

// The draw timer's callback: one draw tick of the global game.
void timerProc();

// Starts g and runs the non-blocking loop until it quits: each pass takes at
// most one message (a quit message sets the quit flag instead of being
// dispatched), then updates the game. A CException from start-up or from
// anything the loop runs ends the loop with a box showing its text.
// Returns the quit message's code, 0 when the game quit by itself, 1 after a
// CException.
int runMainLoop(Game& g, plat::TimerProc timerCallback);

// The whole program on the real platform.
int gameMain();
