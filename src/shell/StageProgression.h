// What the player sees between stages: the checker cover over a stage's
// intro screen and the reveal onto its play field, and, when a stage is
// over, the choice of the next stage, a retry or a menu page.
#pragma once

namespace plat {
class Surface;
}
class Game;

// Starts the intro cover and reveal of the running stage when their moments
// come. Called on every draw tick while playing and not paused, right after
// the level has drawn.
void runIntroTransitions(Game& game);

// Cleans the finished level up and starts the next stage, restarts it, or
// returns to a menu page. Called on a draw tick when the level is over.
// May show the next stage's intro page at once, drawing it into backBuffer
// and presenting it, before the set-up loads its files.
void runStageProgression(Game& game, plat::Surface& backBuffer);
