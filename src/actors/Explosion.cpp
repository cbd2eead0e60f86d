#include "actors/Explosion.h"

#include "platform/Clock.h"

Explosion::Explosion() : AnimatedObject(), pausedElapsed(0) {}

Explosion::Explosion(const Explosion& other) : Explosion() { Explosion::copy(other); }

Explosion::~Explosion() = default;

void Explosion::copy(const Explosion& other) {
    AnimatedObject::copy(other);
    pausedElapsed = other.pausedElapsed;
}

Explosion Explosion::operator=(const Explosion& other) {
    if (this != &other) copy(other);
    return *this;
}

GridObject* Explosion::clone() { return new Explosion(*this); }

void Explosion::initAnimated(int newValue, int newTileSize, int newCol, int newRow, int newWidth,
                             int newHeight, int newLayer, TileGrid* newGrid,
                             Animation newAnimation) {
    AnimatedObject::initAnimated(newValue, newTileSize, newCol, newRow, newWidth, newHeight,
                                 newLayer, newGrid, newAnimation);
    pausedElapsed = 0;
    // Any number of frames fills the same 900 ms. A set without frames
    // (its images missing) still burns for one 900 ms frame, unseen; a set
    // of more than 900 frames gets 1 ms each.
    const int frames = animation.getFrameCount();
    uint32_t perFrame = frames > 0 ? kBurnMs / uint32_t(frames) : kBurnMs;
    if (perFrame == 0) perFrame = 1;
    animation.frameTime = perFrame;
}

void Explosion::draw(plat::Surface& target) {
    bool burntOut;
    if (animation.getFrameCount() > 0) {
        AnimatedObject::draw(target);
        burntOut = animation.isFinished();
    } else {
        // Nothing to show, and the animation would report itself finished
        // at once: the piece keeps its own time instead.
        writeTile(layer, col, row, value);
        burntOut = plat::tickCount() - animation.startTick >= animation.frameTime;
    }
    if (!burntOut) return;
    active = false;
    // Clears only its own mark; another piece on the cell writes 8 again
    // when it is next drawn.
    if (tileAt(layer, col, row) == value) writeTile(layer, col, row, 0);
}

void Explosion::pause() { pausedElapsed = plat::tickCount() - animation.startTick; }

void Explosion::resume() { animation.startTick = plat::tickCount() - pausedElapsed; }
