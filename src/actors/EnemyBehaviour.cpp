// The enemy's decision making: one call of draw() per draw tick picks a
// target, chooses between wandering and hunting, steers, aims and attacks,
// and then moves and draws the enemy. Dragon followers skip the decisions
// and jump along their leader's trail instead.
#include <cstdint>

#include "actors/DustEffect.h"
#include "actors/Enemy.h"
#include "actors/Explosion.h"
#include "actors/Missile.h"
#include "actors/PathSearch.h"
#include "actors/Player.h"
#include "graphics/AnimationLibrary.h"
#include "platform/Clock.h"
#include "shell/Config.h"
#include "shell/Sound.h"
#include "world/Random.h"
#include "world/TileGrid.h"

namespace {

// rand15() thresholds of chooseRandomDirection: a quarter of the range per
// direction, and the last three values choose nothing.
constexpr int kUpMax = 8191;
constexpr int kDownMax = 16382;
constexpr int kRightMax = 24573;
constexpr int kLeftMax = 32764;

int reverseOf(int d) {
    switch (d) {
        case dir::kRight: return dir::kLeft;
        case dir::kLeft: return dir::kRight;
        case dir::kUp: return dir::kDown;
        case dir::kDown: return dir::kUp;
        default: return -1;
    }
}

// The direction after one more turn: clockwise (side 0) or counter-clockwise.
int turnedFrom(int d, int side) {
    switch (d) {
        case dir::kUp: return side == 0 ? dir::kRight : dir::kLeft;
        case dir::kDown: return side == 0 ? dir::kLeft : dir::kRight;
        case dir::kRight: return side == 0 ? dir::kDown : dir::kUp;
        case dir::kLeft: return side == 0 ? dir::kUp : dir::kDown;
        default: return -1;
    }
}

// 0 clockwise, 1 counter-clockwise, -1 a reversal (or no turn).
int turnSense(int from, int to) {
    if (turnedFrom(from, 0) == to) return 0;
    if (turnedFrom(from, 1) == to) return 1;
    return -1;
}

}  // namespace

void Enemy::draw(plat::Surface& target) {
    if (!active) return;

    if (dead) {
        if (!deathAnimation.isFinished()) {
            deathAnimation.x = x;
            deathAnimation.y = y;
            deathAnimation.draw(target);
        } else {
            remove();
        }
        return;
    }

    if (segment) {
        followLeader();
    } else {
        Player* prey = chooseTarget();
        if (searchesPath && !pathFound && prey)
            pathFound = findPath(&Enemy::canPass, this, col, row, prey->getCol(),
                                 prey->getRow(), grid, path);
        decide(prey);
        if (wandering && !held)
            wander();
        else if (!held)
            hunt(prey);
        else
            clearDirections();
        if (firesMissiles) aimAndAttack(prey);
    }

    const int startX = x;
    const int startY = y;
    MovingObject::draw(target);
    if (head) afterHeadMove(startX, startY);

    if (!invulnerable) handleHit(target);

    for (auto it = dustEffects.begin(); it != dustEffects.end();) {
        if (it->active) it->draw(target);
        // A finished puff is never drawn again.
        if (!it->active)
            it = dustEffects.erase(it);
        else
            ++it;
    }

    const uint32_t now = plat::tickCount();
    if (lastHitTick != 0 && now - lastHitTick < kHealthBarShowMs) {
        healthBar.x = x;
        healthBar.y = y;
        healthBar.draw(target, health);
    }
}

// The nearest live player (the earlier one on a tie); the first player when
// none is alive; null without players.
Player* Enemy::chooseTarget() {
    if (!players || players->empty()) return nullptr;
    Player* best = nullptr;
    for (Player& p : *players) {
        if (!p.isDead()) {
            best = &p;
            break;
        }
    }
    if (!best) return &players->front();
    double bestDistance = getDistance(col, row, best->getCol(), best->getRow());
    for (Player& p : *players) {
        if (p.isDead() || &p == best) continue;
        const double d = getDistance(col, row, p.getCol(), p.getRow());
        if (d < bestDistance) {
            best = &p;
            bestDistance = d;
        }
    }
    return best;
}

void Enemy::decide(Player* prey) {
    if (!prey || prey->isDead() ||
        getDistance(col, row, prey->getCol(), prey->getRow()) >= double(attackDistance)) {
        wandering = true;
        return;
    }
    if (pathFound) {
        wandering = false;
        return;
    }
    const uint32_t now = plat::tickCount();
    if (now - searchTick > uint32_t(::searchIntervalTime)) {
        searchTick = now;
        if (searchesPath) {
            wandering = true;
            chooseRandomDirection();
        } else {
            // One hunting frame, whose own search may find the way.
            wandering = false;
        }
        return;
    }
    wandering = true;
}

void Enemy::wander() {
    if (blocked) chooseRandomDirection();

    const uint32_t now = plat::tickCount();
    if (!(now - directionTick > currentInterval)) return;
    directionTick = now;
    if (wanderNonstop) {
        chooseRandomDirection();
    } else if (isMoving()) {
        clearDirections();
        currentInterval = uint32_t(randomInt(0, int(stopWaitTime)));
        if (replicates && tryReplicate()) currentInterval = stopWaitTime;
    } else {
        chooseRandomDirection();
        currentInterval = uint32_t(randomInt(0, int(directionChangeInterval)));
    }
}

void Enemy::hunt(Player* prey) {
    if (prey)
        pathFound = findPath(&Enemy::canPass, this, col, row, prey->getCol(),
                             prey->getRow(), grid, path);

    nextStep = PathNode();
    nextStep.x = col;
    nextStep.y = row;
    nextStep.id = 1;
    for (const PathNode& node : path) {
        if (node.id > 0) {
            nextStep = node;
            break;
        }
    }

    const uint32_t now = plat::tickCount();
    if ((isMoving() || chaseNonstop) && now - stopTick > uint32_t(::missileStopWaitTime)) steer();

    if (now - directionTick > currentInterval) {
        directionTick = now;
        if (!chaseNonstop) {
            if (isMoving()) {
                clearDirections();
                currentInterval = uint32_t(randomInt(0, int(stopWaitTime)));
            } else {
                steer();
                currentInterval = uint32_t(randomInt(0, int(directionChangeInterval)));
            }
        }
    }
}

void Enemy::steer() {
    if (nextStep.x == col && nextStep.y == row) {
        clearDirections();
        return;
    }
    // Each call replaces the last, so a diagonal step keeps only the
    // vertical flag.
    if (nextStep.x < col) setDirection(dir::kLeft);
    if (nextStep.x > col) setDirection(dir::kRight);
    if (nextStep.y < row) setDirection(dir::kUp);
    if (nextStep.y > row) setDirection(dir::kDown);
}

void Enemy::aimAndAttack(Player* prey) {
    const uint32_t now = plat::tickCount();
    if (prey && !prey->isDead() && !aiming &&
        (prey->getCol() == col || prey->getRow() == row)) {
        if (now - shotTick > uint32_t(::enemyMissileIntervalTime) && !allyInLineOfFire()) {
            bool facing;
            if (prey->getRow() == row)
                facing = (prey->getCol() > col && direction == dir::kRight) ||
                         (prey->getCol() < col && direction == dir::kLeft);
            else
                facing = (prey->getRow() > row && direction == dir::kDown) ||
                         (prey->getRow() < row && direction == dir::kUp);
            if (facing) {
                aimTick = now;
                playSample(shoutSample);
                aiming = true;
            }
        }
    }

    if (aiming && now - aimTick < fireWaitTime) clearDirections();

    if (aiming && now - aimTick > fireWaitTime) {
        attack();
        aiming = false;
        clearDirections();
        stopTick = now;
        shotTick = now;
    }
}

void Enemy::chooseRandomDirection() {
    const int r = rand15();
    int d;
    if (r <= kUpMax)
        d = dir::kUp;
    else if (r <= kDownMax)
        d = dir::kDown;
    else if (r <= kRightMax)
        d = dir::kRight;
    else if (r <= kLeftMax)
        d = dir::kLeft;
    else
        return;
    // The head never doubles back into its body nor coils a third time.
    if (head && (d == forbiddenDirection || d == reverseOf(travelDirection))) return;
    setDirection(d);
}

bool Enemy::allyInLineOfFire() {
    if (!enemies) return false;
    for (const Enemy& other : *enemies) {
        if (!other.active || other.id == id) continue;
        switch (direction) {
            case dir::kRight:
                if (other.row == row && other.col >= col) return true;
                break;
            case dir::kLeft:
                if (other.row == row && other.col <= col) return true;
                break;
            case dir::kUp:
                if (other.col == col && other.row <= row) return true;
                break;
            case dir::kDown:
                if (other.col == col && other.row >= row) return true;
                break;
            default: return false;
        }
    }
    return false;
}

void Enemy::attack() {
    int c = col;
    int r = row;
    switch (direction) {
        case dir::kRight: ++c; break;
        case dir::kLeft: --c; break;
        case dir::kUp: --r; break;
        case dir::kDown: ++r; break;
        default: return;
    }
    // Beyond the field's rim there is nothing to shoot into.
    if (!grid || !grid->isValidX(c) || !grid->isValidY(r)) return;

    const int ahead = grid->getTile(layer, c, r);
    if (ahead == cell::kEmpty || ahead == cell::kEnemy) {
        if (!missiles) return;
        Missile shot;
        shot.initMissile(cell::kMissile, tileSize, c, r, 32, 32, layer, grid, false,
                         ::enemyMissileSpeed, library ? library->enemyMissile : nullptr,
                         explosions, library, direction);
        missiles->push_front(shot);

        const Animation* puff = library ? library->enemyMissileDust[direction] : nullptr;
        switch (direction) {
            case dir::kRight: spawnDust(x + width - 5, y, puff); break;
            case dir::kLeft: spawnDust(x - width + 5, y, puff); break;
            case dir::kUp: spawnDust(x, y - height, puff); break;
            default: spawnDust(x, y + height - 10, puff); break;
        }
        playSample(shotSample);
    } else if (ahead != cell::kSolid) {
        // Point blank: whatever stands next to the enemy burns at once.
        if (!explosions) return;
        Explosion blast;
        Animation burst;
        if (library && library->missileExplosionAnimation)
            burst = *library->missileExplosionAnimation;
        blast.initAnimated(cell::kExplosion, tileSize, c, r, width, height, layer::kExplosions,
                           grid, burst);
        explosions->push_front(blast);
        playSample(shotSample);
    }
}

void Enemy::followLeader() {
    const int startX = x;
    const int startY = y;
    const int left = x;
    const int right = x + width - 1;
    const int top = y;
    const int bottom = y + height - 1;

    // A dead leader hands its place in the chain to the part before it.
    for (int i = 0; leader && leader->dead && i < kMaxChainWalk; ++i) leader = leader->leader;

    if (leader && !leader->trail.empty()) {
        auto near = [this](int slack) {
            return leader->x - slack < x && x < leader->x + slack && leader->y - slack < y &&
                   y < leader->y + slack;
        };
        const PathNode& first = leader->trail.front();
        const bool usable = first.x > 0 && first.y > 0;
        const bool closeEnough = leader->x - kFollowSlack < first.x &&
                                 first.x < leader->x + kFollowSlack &&
                                 leader->y - kFollowSlack < first.y &&
                                 first.y < leader->y + kFollowSlack;
        if (usable && !closeEnough) {
            while (!leader->trail.empty()) {
                const PathNode& point = leader->trail.front();
                if (point.x <= 0 || point.y <= 0) break;
                x = point.x;
                y = point.y;
                posX = float(x);
                posY = float(y);
                leader->trail.pop_front();
                if (near(kFollowCatchUp)) break;
            }
        }
    }

    if (x != startX || y != startY) leaveTrail(startX, startY);

    if (x > startX) {
        travelDirection = direction = dir::kRight;
        clearCell(left, top);
    } else if (x < startX) {
        travelDirection = direction = dir::kLeft;
        clearCell(right, top);
    }
    if (y > startY) {
        travelDirection = direction = dir::kDown;
        clearCell(right, top);
    } else if (y < startY) {
        travelDirection = direction = dir::kUp;
        clearCell(left, bottom);
    }

    clearDirections();
}

void Enemy::afterHeadMove(int startX, int startY) {
    ignoresEnemies = true;
    if (x != startX || y != startY) leaveTrail(startX, startY);

    const int before = travelDirection;
    if (x > startX)
        travelDirection = dir::kRight;
    else if (x < startX)
        travelDirection = dir::kLeft;
    else if (y > startY)
        travelDirection = dir::kDown;
    else if (y < startY)
        travelDirection = dir::kUp;
    else {
        forbiddenDirection = -1;
        return;
    }
    direction = travelDirection;
    if (travelDirection == before) return;

    if (turnSide >= 0) dragonPreviousTurnSide = turnSide;
    turnSide = turnSense(before, travelDirection);
    // A reversal has no sense and never forbids anything.
    forbiddenDirection = (turnSide >= 0 && dragonPreviousTurnSide == turnSide)
                             ? turnedFrom(travelDirection, turnSide)
                             : -1;
}
