#include "world/AnimatedObject.h"

AnimatedObject::AnimatedObject() : GridObject(), animation() {}

AnimatedObject::AnimatedObject(const AnimatedObject& other) : AnimatedObject() {
    AnimatedObject::copy(other);
}

AnimatedObject::~AnimatedObject() = default;

void AnimatedObject::initAnimated(int newValue, int newTileSize, int newCol, int newRow,
                                  int newWidth, int newHeight, int newLayer, TileGrid* newGrid,
                                  Animation newAnimation) {
    GridObject::init(newValue, newTileSize, newCol, newRow, newWidth, newHeight, newLayer,
                     Bitmap(), newGrid);
    animation = newAnimation;
    animation.play();
}

void AnimatedObject::draw(plat::Surface& target) {
    animation.x = x;
    animation.y = y;
    animation.draw(target);
    writeTile(layer, col, row, value);
}

GridObject* AnimatedObject::clone() { return new AnimatedObject(*this); }

void AnimatedObject::copy(const AnimatedObject& other) {
    GridObject::copy(other);
    animation = other.animation;
}

AnimatedObject AnimatedObject::operator=(const AnimatedObject& other) {
    if (this != &other) copy(other);
    return *this;
}
