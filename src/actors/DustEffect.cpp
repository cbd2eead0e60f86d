#include "actors/DustEffect.h"

#include "world/TileGrid.h"

DustEffect::DustEffect() : AnimatedObject() {}

DustEffect::DustEffect(const DustEffect& other) : DustEffect() { DustEffect::copy(other); }

DustEffect::~DustEffect() = default;

void DustEffect::copy(const DustEffect& other) { AnimatedObject::copy(other); }

DustEffect DustEffect::operator=(const DustEffect& other) {
    if (this != &other) copy(other);
    return *this;
}

GridObject* DustEffect::clone() { return new DustEffect(*this); }

void DustEffect::initAnimated(int newValue, int newTileSize, int newCol, int newRow, int newWidth,
                              int newHeight, int newLayer, TileGrid* newGrid,
                              Animation newAnimation) {
    // A puff is put down with value 0 on the powerup layer: it must not
    // wipe a powerup lying there, or a player walking through the puff
    // would miss the pick-up that then vanishes under it.
    const int under = newGrid ? newGrid->getTile(newLayer, newCol, newRow) : 0;
    AnimatedObject::initAnimated(newValue, newTileSize, newCol, newRow, newWidth, newHeight,
                                 newLayer, newGrid, newAnimation);
    if (newValue == 0) writeTile(layer, col, row, under);
}

void DustEffect::draw(plat::Surface& target) {
    animation.x = x;
    animation.y = y;
    animation.draw(target);
    // The puff marks its cell only with a real value, never with a 0 that
    // would hide what lies there.
    if (value != 0) writeTile(layer, col, row, value);
    if (!animation.isFinished()) return;
    active = false;
    if (value != 0 && tileAt(layer, col, row) == value) writeTile(layer, col, row, 0);
}
