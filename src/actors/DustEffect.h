// A short puff of dust left by a player or an enemy that starts, stops or
// turns. It runs its animation once at the animation's own pace and then
// goes inactive. Its creators put it on layer 2 with value 0: it never
// hides anything for long, as a powerup there writes itself back each draw.
// It keeps no pause: a puff finishes in real time.
#pragma once

#include "world/AnimatedObject.h"

class DustEffect : public AnimatedObject {
public:
    DustEffect();
    DustEffect(const DustEffect& other);
    ~DustEffect() override;

    // Draws, rewrites the cell, and once the animation has run out goes
    // inactive and clears the cell.
    void draw(plat::Surface& target) override;
    GridObject* clone() override;
    void initAnimated(int value, int tileSize, int col, int row, int width, int height, int layer,
                      TileGrid* grid, Animation animation) override;

    void copy(const DustEffect& other);
    DustEffect operator=(const DustEffect& other);
    using AnimatedObject::copy;
    using AnimatedObject::operator=;
};
