// A grid object that draws an Animation instead of a single Bitmap
// (powerups, explosions, dust, and the base of everything that moves).
#pragma once

#include "graphics/Animation.h"
#include "world/GridObject.h"

class AnimatedObject : public GridObject {
public:
    AnimatedObject();
    AnimatedObject(const AnimatedObject& other);
    ~AnimatedObject() override;

    // Draws the animation at (x, y), advancing it by time, then writes the
    // cell value again.
    void draw(plat::Surface& target) override;
    GridObject* clone() override;

    // Added after GridObject's operations.
    // init with an empty image, then the animation is taken and started.
    virtual void initAnimated(int value, int tileSize, int col, int row, int width, int height,
                              int layer, TileGrid* grid, Animation animation);
    virtual void copy(const AnimatedObject& other);
    virtual AnimatedObject operator=(const AnimatedObject& other);

    using GridObject::copy;
    using GridObject::operator=;

    Animation animation;
};
