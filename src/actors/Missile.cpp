#include "actors/Missile.h"

#include "actors/Explosion.h"
#include "graphics/AnimationLibrary.h"
#include "platform/Clock.h"
#include "shell/FilePaths.h"
#include "shell/Sound.h"
#include "world/CellValues.h"
#include "world/TileGrid.h"

Missile::Missile()
    : MovingObject(),
      explosions(nullptr),
      library(nullptr),
      explosionSound(nullptr),
      exploded(false),
      explodedAt(0),
      pausedElapsed(0),
      launchedAt(0) {}

Missile::Missile(const Missile& other) : Missile() { Missile::copy(other); }

// The sound is not freed here: the prototype a shooter initialises hands
// its handle to the copy in the Level's list, which frees it after the
// burst (or releaseSound at the stage's end).
Missile::~Missile() = default;

GridObject* Missile::clone() { return new Missile(*this); }

void Missile::copy(const Missile& other) {
    MovingObject::copy(other);
    explosions = other.explosions;
    library = other.library;
    explosionSound = other.explosionSound;
    exploded = other.exploded;
    explodedAt = other.explodedAt;
    pausedElapsed = other.pausedElapsed;
    launchedAt = other.launchedAt;
}

Missile Missile::operator=(const Missile& other) {
    if (this != &other) copy(other);
    return *this;
}

void Missile::initMissile(int newValue, int newTileSize, int newCol, int newRow, int newWidth,
                          int newHeight, int newLayer, TileGrid* newGrid, bool newFrozen,
                          float newSpeed, const Animation* animations,
                          std::list<Explosion>* newExplosions, AnimationLibrary* newLibrary,
                          int newDirection) {
    initMoving(newValue, newTileSize, newCol, newRow, newWidth, newHeight, newLayer, newGrid,
               newFrozen, newSpeed, animations);
    explosionSound = loadSample(getPathString("audio", "explosion"));
    library = newLibrary;
    explosions = newExplosions;
    stopWhenIdle = true;
    direction = newDirection;
    setDirection(newDirection);
    launchedAt = plat::tickCount();
}

bool Missile::afterBurst() {
    if (!exploded) return false;
    if (plat::tickCount() - explodedAt > kAfterBurstMs) {
        releaseSound();
        active = false;
    }
    return true;
}

void Missile::draw(plat::Surface& target) {
    if (afterBurst()) return;
    MovingObject::draw(target);
    if (blocked) explode();
    if (hitboxTouches(layer::kExplosions, cell::kExplosion)) explode();
}

bool Missile::isBlocked(int c, int r) {
    // Beyond the rim of the field counts as a wall: a missile must never
    // fly on forever where nothing can stop it.
    if (!onGrid(c, r)) return true;
    const int v = tileAt(layer, c, r);
    if (v == cell::kEmpty || v == cell::kMissile) return false;
    if (v == cell::kPlayer || v == cell::kEnemy)
        return plat::tickCount() - launchedAt > kLaunchGraceMs;
    return true;
}

void Missile::explode() {
    if (!beginBurst()) return;
    // The cell ahead, or its own cell when that is a solid wall (or beyond
    // the rim of the field).
    int burstCol = col;
    int burstRow = row;
    switch (direction) {
        case dir::kRight: ++burstCol; break;
        case dir::kLeft: --burstCol; break;
        case dir::kUp: --burstRow; break;
        case dir::kDown: ++burstRow; break;
        default: break;
    }
    if (!onGrid(burstCol, burstRow) || tileAt(layer, burstCol, burstRow) == cell::kSolid) {
        burstCol = col;
        burstRow = row;
    }
    burst(burstCol, burstRow);
}

void Missile::explodeOn(int c, int r) {
    if (beginBurst()) burst(c, r);
}

bool Missile::beginBurst() {
    if (exploded) return false;
    col = toGrid(x + tileSize / 2);
    row = toGrid(y + tileSize / 2);
    remove();
    // Kept in its list, invisible, until the burst's sound has played.
    exploded = true;
    active = true;
    return true;
}

void Missile::burst(int c, int r) {
    if (explosions) {
        const Animation* look = library ? library->missileExplosionAnimation : nullptr;
        Explosion piece;
        piece.initAnimated(cell::kExplosion, tileSize, c, r, width, height, layer::kExplosions,
                           grid, look ? *look : Animation());
        explosions->push_front(piece);
    }
    playSample(explosionSound);
    explodedAt = plat::tickCount();
}

void Missile::pause() { pausedElapsed = plat::tickCount() - explodedAt; }

void Missile::resume() { explodedAt = plat::tickCount() - pausedElapsed; }

void Missile::releaseSound() {
    if (!explosionSound) return;
    freeSample(explosionSound);
    explosionSound = nullptr;
}
