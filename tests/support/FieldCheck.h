// What must hold on the play field after every frame of a soak run: every
// cell value known, every actor on the grid and drawn near its cell,
// players' health and bombs within bounds, the lists bounded, the clock
// between zero and where it started.
#pragma once

#include <string>

class Level;

// Empty when everything holds, else the first thing that does not.
// startSeconds: the round's clock when it was set up.
std::string fieldFault(const Level& level, int startSeconds);
