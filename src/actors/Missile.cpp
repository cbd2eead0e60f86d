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
      launchedAt(0),
      struck(false),
      struckCol(0),
      struckRow(0) {}

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
    struck = other.struck;
    struckCol = other.struckCol;
    struckRow = other.struckRow;
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
    struck = false;
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
    clearStrike();
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

bool Missile::strikes(int d, float step, const Box& box) {
    // The base move would refuse this attempt anyway.
    if (frozen || moveAttempts >= kMaxMoveAttempts || !grid) return false;
    const bool horizontal = d == dir::kRight || d == dir::kLeft;
    const int sign = (d == dir::kRight || d == dir::kDown) ? 1 : -1;
    const int lead = horizontal ? (sign > 0 ? box.right : box.left)
                                : (sign > 0 ? box.bottom : box.top);
    // The same cells the base move tests: the line ahead, at both sides.
    const int ahead = toGrid(int(float(lead) + float(sign) * step));
    const int sides[2] = {horizontal ? toGrid(box.top) : toGrid(box.left),
                          horizontal ? toGrid(box.bottom) : toGrid(box.right)};
    for (int side : sides) {
        const int c = horizontal ? ahead : side;
        const int r = horizontal ? side : ahead;
        if (!grid->isValidX(c) || !grid->isValidY(r)) continue;
        if (cell::isBlock(tileAt(layer, c, r)) || !isBlocked(c, r)) continue;
        struck = true;
        struckCol = c;
        struckRow = r;
        return true;
    }
    return false;
}

void Missile::moveRight(float step, Box box, bool slide) {
    if (strikes(dir::kRight, step, box)) {
        ++moveAttempts;  // the attempt is spent; nothing moves, so the frame ends blocked
        return;
    }
    MovingObject::moveRight(step, box, slide);
}

void Missile::moveLeft(float step, Box box, bool slide) {
    if (strikes(dir::kLeft, step, box)) {
        ++moveAttempts;
        return;
    }
    MovingObject::moveLeft(step, box, slide);
}

void Missile::moveUp(float step, Box box, bool slide) {
    if (strikes(dir::kUp, step, box)) {
        ++moveAttempts;
        return;
    }
    MovingObject::moveUp(step, box, slide);
}

void Missile::moveDown(float step, Box box, bool slide) {
    if (strikes(dir::kDown, step, box)) {
        ++moveAttempts;
        return;
    }
    MovingObject::moveDown(step, box, slide);
}

void Missile::explode() {
    if (exploded) return;

    col = toGrid(x + tileSize / 2);
    row = toGrid(y + tileSize / 2);
    remove();
    // Kept in its list, invisible, until the burst's sound has played.
    exploded = true;
    active = true;

    int burstCol = col;
    int burstRow = row;
    switch (direction) {
        case dir::kRight: ++burstCol; break;
        case dir::kLeft: --burstCol; break;
        case dir::kUp: --burstRow; break;
        case dir::kDown: ++burstRow; break;
        default: break;
    }
    const bool aheadInside = grid && grid->isValidX(burstCol) && grid->isValidY(burstRow);
    if (!aheadInside || tileAt(layer, burstCol, burstRow) == cell::kSolid) {
        burstCol = col;
        burstRow = row;
    }
    // Stopped by a player, an enemy or a bomb: burst on it, even when it
    // lies beside the centre's line (a homing missile off its cell line).
    if (struck) {
        burstCol = struckCol;
        burstRow = struckRow;
        struck = false;
    }

    if (explosions) {
        const Animation* look = library ? library->missileExplosionAnimation : nullptr;
        Explosion burst;
        burst.initAnimated(cell::kExplosion, tileSize, burstCol, burstRow, width, height,
                           layer::kExplosions, grid, look ? *look : Animation());
        explosions->push_front(burst);
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
