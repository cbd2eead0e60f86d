// One burning cell (value 8 on layer 4): the only writer of that value, and
// so the way an explosion acts on everything else, which reads the grid.
// It lives for one run of its animation, stretched or squeezed to 900 ms,
// rewrites its cell on every draw and clears it when it goes out.
#pragma once

#include <cstdint>

#include "world/AnimatedObject.h"

class Explosion : public AnimatedObject {
public:
    // The whole run of a piece's animation.
    static constexpr uint32_t kBurnMs = 900;

    Explosion();
    Explosion(const Explosion& other);
    ~Explosion() override;

    // Draws, rewrites the cell, and once the animation has run out goes
    // inactive and clears the cell.
    void draw(plat::Surface& target) override;
    GridObject* clone() override;
    // Starts burning at once (the cell holds 8 before the first draw); the
    // frames are timed so that the run lasts 900 ms.
    void initAnimated(int value, int tileSize, int col, int row, int width, int height, int layer,
                      TileGrid* grid, Animation animation) override;

    // The burn does not run on behind the pause screen.
    void pause();
    void resume();

    void copy(const Explosion& other);
    Explosion operator=(const Explosion& other);
    using AnimatedObject::copy;
    using AnimatedObject::operator=;

    uint32_t pausedElapsed;  // ms of the run already burnt, kept across a pause
};
