#include "actors/HomingMissile.h"

#include "actors/Enemy.h"
#include "actors/PathSearch.h"
#include "actors/Player.h"
#include "world/CellValues.h"

HomingMissile::HomingMissile()
    : Missile(),
      players(nullptr),
      enemies(nullptr),
      shooterNumber(0),
      path(),
      nextStep(),
      targetsPlayers(false),
      noTarget(false),
      stoppedAtTarget(false),
      stopCol(0),
      stopRow(0),
      quarry(nullptr) {}

HomingMissile::HomingMissile(const HomingMissile& other) : HomingMissile() {
    HomingMissile::copy(other);
}

HomingMissile::~HomingMissile() = default;

GridObject* HomingMissile::clone() { return new HomingMissile(*this); }

void HomingMissile::copy(const HomingMissile& other) {
    Missile::copy(other);
    players = other.players;
    enemies = other.enemies;
    shooterNumber = other.shooterNumber;
    path = other.path;
    nextStep = other.nextStep;
    targetsPlayers = other.targetsPlayers;
    noTarget = other.noTarget;
    stoppedAtTarget = other.stoppedAtTarget;
    stopCol = other.stopCol;
    stopRow = other.stopRow;
    quarry = other.quarry;
}

HomingMissile HomingMissile::operator=(const HomingMissile& other) {
    if (this != &other) copy(other);
    return *this;
}

void HomingMissile::initHomingMissile(int newValue, int newTileSize, int newCol, int newRow,
                                      int newWidth, int newHeight, int newLayer,
                                      TileGrid* newGrid, bool newFrozen, float newSpeed,
                                      const Animation* animations,
                                      std::list<Explosion>* newExplosions,
                                      AnimationLibrary* newLibrary, int newDirection,
                                      std::list<Player>* newPlayers, std::list<Enemy>* newEnemies,
                                      bool newTargetsPlayers, int newShooterNumber) {
    initMissile(newValue, newTileSize, newCol, newRow, newWidth, newHeight, newLayer, newGrid,
                newFrozen, newSpeed, animations, newExplosions, newLibrary, newDirection);
    players = newPlayers;
    enemies = newEnemies;
    targetsPlayers = newTargetsPlayers;
    shooterNumber = newShooterNumber;
}

int HomingMissile::targetMark() const { return targetsPlayers ? cell::kPlayer : cell::kEnemy; }

bool HomingMissile::canPass(int c, int r) {
    const int v = tileAt(layer::kObjects, c, r);
    // Through a bomb the route is real only for the path: the missile is
    // stopped there and its burst sets the bomb off.
    return v == cell::kMissile || v == cell::kBomb || v == targetMark();
}

bool HomingMissile::isQuarryCell(int c, int r) const {
    if (!quarry || tileAt(layer, c, r) != targetMark()) return false;
    // In co-op every enemy is a foe worth bursting on; in versus the other
    // players, its shooter among them, are only in the way.
    if (!targetsPlayers) return true;
    const Box hit = quarry->getHitbox();
    return c >= toGrid(hit.left) && c <= toGrid(hit.right) && r >= toGrid(hit.top) &&
           r <= toGrid(hit.bottom);
}

bool HomingMissile::slidesRound(int c, int r) {
    if (!isQuarryCell(c, r)) return true;
    stoppedAtTarget = true;
    stopCol = c;
    stopRow = r;
    return false;
}

void HomingMissile::burstHere() {
    if (stoppedAtTarget)
        explodeOn(stopCol, stopRow);
    else
        explode();
}

const MovingObject* HomingMissile::chooseTarget() const {
    const MovingObject* found = nullptr;
    double best = 0.0;
    // Strictly nearer replaces, so among equals the one first in the list wins.
    auto consider = [&](const MovingObject& candidate) {
        const double d = getDistance(col, row, candidate.getCol(), candidate.getRow());
        if (!found || d < best) {
            found = &candidate;
            best = d;
        }
    };
    if (targetsPlayers) {
        if (!players) return nullptr;
        for (const Player& p : *players) {
            if (p.isDead() || p.getNumber() == shooterNumber) continue;
            consider(p);
        }
    } else {
        if (!enemies) return nullptr;
        for (const Enemy& e : *enemies) {
            if (e.active) consider(e);
        }
    }
    return found;
}

void HomingMissile::draw(plat::Surface& target) {
    if (afterBurst()) return;

    const int oldX = x;
    const int oldY = y;
    stoppedAtTarget = false;
    quarry = chooseTarget();
    MovingObject::draw(target);
    quarry = nullptr;

    noTarget = false;
    const MovingObject* prey = chooseTarget();
    if (!prey) {
        noTarget = true;
    } else {
        // Searched again every frame, so a moving target is followed.
        findPath(&HomingMissile::canPass, this, col, row, prey->getCol(), prey->getRow(), grid,
                 path);
        if (path.empty()) {
            nextStep = PathNode();
            nextStep.x = col;
            nextStep.y = row;
        } else {
            nextStep = path.front();
        }

        int moving = -1;
        if (x > oldX)
            moving = dir::kRight;
        else if (x < oldX)
            moving = dir::kLeft;
        else if (y > oldY)
            moving = dir::kDown;
        else if (y < oldY)
            moving = dir::kUp;
        // It only turns sideways onto the route, never back along its flight.
        const bool hold = moving < 0 || (moving == dir::kRight && nextStep.x < col) ||
                          (moving == dir::kLeft && nextStep.x > col) ||
                          (moving == dir::kUp && nextStep.y > row) ||
                          (moving == dir::kDown && nextStep.y < row);

        if (nextStep.x == col && nextStep.y == row) {
            // On the target's cell, or no route leads on.
            clearDirections();
            burstHere();
        } else if (!hold) {
            if (nextStep.x < col)
                setDirection(dir::kLeft);
            else if (nextStep.x > col)
                setDirection(dir::kRight);
            else if (nextStep.y < row)
                setDirection(dir::kUp);
            else if (nextStep.y > row)
                setDirection(dir::kDown);
        }
    }

    if (blocked) burstHere();
    if (hitboxTouches(layer::kExplosions, cell::kExplosion)) burstHere();
}
