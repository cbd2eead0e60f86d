// What a player does to the field: bombs and dynamite, kicks, missiles,
// the hammer, pick-ups and dust. Every object made here is built as a
// local, initialised, and a copy is put at the front of the Level's list.
#include <list>

#include "actors/Bomb.h"
#include "actors/BreakableBlock.h"
#include "actors/DustEffect.h"
#include "actors/Enemy.h"
#include "actors/Explosion.h"
#include "actors/HomingMissile.h"
#include "actors/Missile.h"
#include "actors/Player.h"
#include "graphics/AnimationLibrary.h"
#include "platform/Clock.h"
#include "shell/Config.h"
#include "shell/Sound.h"
#include "world/TileGrid.h"

namespace {

constexpr int kObjectSize = 32;

// A config interval that went negative counts as no wait at all.
uint32_t intervalMs(int configured) { return configured > 0 ? uint32_t(configured) : 0; }

}  // namespace

void Player::dropBomb() {
    if (!bombs) return;
    const uint32_t now = plat::tickCount();

    // A second bomb on the cell of the last one waits out the first one's
    // fuse, so a held key does not stack bombs.
    if (col == lastBombColumn && row == lastBombRow) {
        if (now - lastBombTick > intervalMs(bombTime)) {
            lastBombColumn = 0;
            lastBombRow = 0;
        } else {
            return;
        }
    }
    if (bombsPlaced >= bombCount) return;

    const Animation* animations = nullptr;
    if (library) animations = dynamite ? library->dynamite : library->bomb;
    Bomb bomb;
    bomb.init(cell::kBomb, tileSize, col, row, kObjectSize, kObjectSize, layer, grid, false,
              bombSpeed, animations, explosions, library, bombPower, this, dynamite);
    bombs->push_front(bomb);
    playSample(bombDropSample);
    ++bombsPlaced;
    lastBombColumn = col;
    lastBombRow = row;
    lastBombTick = now;
}

void Player::bombExploded() {
    if (bombsPlaced > 0) --bombsPlaced;
}

void Player::kickBombs() {
    if (!grid) return;
    static const int stepX[dir::kCount] = {1, -1, 0, 0};
    static const int stepY[dir::kCount] = {0, 0, -1, 1};
    for (int d = 0; d < dir::kCount; ++d) {
        const int c = col + stepX[d];
        const int r = row + stepY[d];
        if (grid->getTile(layer, c, r) != cell::kBomb || !directionFlags[d]) continue;

        // The kicked bomb leaves its cell, so a new one may go there at once.
        lastBombColumn = 0;
        lastBombRow = 0;
        if (!bombs) continue;
        for (Bomb& bomb : *bombs) {
            if (!bomb.active || bomb.col != c || bomb.row != r) continue;
            bomb.setDirection(d);
            const uint32_t now = plat::tickCount();
            if (now - kickSoundTick > kKickSoundIntervalMs) {
                playSample(kickSample);
                kickSoundTick = now;
            }
        }
    }
}

void Player::shootMissile() {
    const uint32_t now = plat::tickCount();
    if (now - missileTick <= intervalMs(missileIntervalTime)) return;
    missileTick = now;

    const int maximum = maxMissileCount();
    if (missilesFired < maximum) {
        if (missile)
            fireMissile();
        else if (homingMissile)
            fireHomingMissile();
        // A shot into a wall counts too.
        ++missilesFired;
    }
    if (missilesFired >= maximum) {
        missile = false;
        homingMissile = false;
        missilesFired = 0;
    }
}

namespace {

// What a shot does at the cell ahead.
enum class ShotTarget { Launch, Nothing, Burst };

ShotTarget shotTargetAt(const TileGrid* grid, int layerIndex, int c, int r) {
    // Beyond the rim a missile would fly on for ever: no shot there.
    if (!grid || !grid->isValidX(c) || !grid->isValidY(r)) return ShotTarget::Nothing;
    const int v = grid->getTile(layerIndex, c, r);
    if (v == cell::kEmpty || v == cell::kPlayer) return ShotTarget::Launch;
    if (v == cell::kSolid) return ShotTarget::Nothing;
    return ShotTarget::Burst;
}

// A shot at an occupied neighbour cell bursts there at once: a missile
// launched into it would have nowhere to fly.
void burstAt(Player& player, int c, int r) {
    if (!player.explosions) return;
    Animation burst;
    if (player.library && player.library->missileExplosionAnimation)
        burst = *player.library->missileExplosionAnimation;
    Explosion explosion;
    explosion.initAnimated(cell::kExplosion, player.tileSize, c, r, player.width, player.height,
                           layer::kExplosions, player.grid, burst);
    player.explosions->push_front(explosion);
}

}  // namespace

namespace {

// A shot from the cell ahead: nothing beyond the rim or into a wall, an
// instant burst at an occupied neighbour, else `launch` puts the missile
// there (false when it could not). Every shot taken plays the sound.
template <class Launch>
void fireShot(Player& player, Launch launch) {
    const int c = player.aheadColumn();
    const int r = player.aheadRow();
    switch (shotTargetAt(player.grid, player.layer, c, r)) {
        case ShotTarget::Nothing:
            return;
        case ShotTarget::Burst:
            burstAt(player, c, r);
            break;
        case ShotTarget::Launch:
            if (!launch(c, r)) return;
            break;
    }
    playSample(player.missileSample);
}

}  // namespace

void Player::fireMissile() {
    fireShot(*this, [this](int c, int r) {
        if (!missiles) return false;
        Missile shot;
        shot.initMissile(cell::kMissile, tileSize, c, r, kObjectSize, kObjectSize, layer, grid, false,
                         missileSpeed, library ? library->missile : nullptr, explosions, library,
                         direction);
        missiles->push_front(shot);
        return true;
    });
}

void Player::fireHomingMissile() {
    fireShot(*this, [this](int c, int r) {
        if (!homingMissiles) return false;
        HomingMissile shot;
        shot.initHomingMissile(cell::kMissile, tileSize, c, r, kObjectSize, kObjectSize, layer, grid,
                               false, missileSpeed, library ? library->homingmissile : nullptr,
                               explosions, library, direction, players, enemies, versus, number);
        homingMissiles->push_front(shot);
        return true;
    });
}

namespace {

// Whether an active mover of the list has its hitbox on cell (c, r). Asked
// of the objects, not of the cell's mark: a mark may be another mover's,
// or wiped by a neighbour's step until its owner writes it again.
template <class Movers>
bool hitboxOnCell(const std::list<Movers>* movers, int c, int r, int tileSize) {
    if (!movers) return false;
    const int left = c * tileSize;
    const int top = r * tileSize;
    for (const Movers& m : *movers) {
        if (!m.active) continue;
        const MovingObject::Box hit = m.getHitbox();
        if (hit.right >= left && hit.left < left + tileSize && hit.bottom >= top &&
            hit.top < top + tileSize)
            return true;
    }
    return false;
}

}  // namespace

void Player::useHammer() {
    const int c = aheadColumn();
    const int r = aheadRow();
    if (!grid || !grid->isValidX(c) || !grid->isValidY(r)) return;
    const int v = grid->getTile(layer, c, r);

    if (v == cell::kEmpty || v == cell::kPlayer) {
        if (!blocks) return;
        // A block built over a player or an enemy (the swinging player's own
        // hitbox included) would shut it in.
        if (hitboxOnCell(players, c, r, tileSize) || hitboxOnCell(enemies, c, r, tileSize))
            return;
        Bitmap image;
        if (library && library->levelBitmap) image = *library->levelBitmap;
        // An ordinary block: no enemy inside, the usual drop chances.
        BreakableBlock block;
        block.init(cell::kBreakable, tileSize, c, r, kObjectSize, kObjectSize, layer, image, grid,
                   library, powerups, false, nullptr, 1);
        blocks->push_front(block);
        playSample(blockSample);
    } else if (v == cell::kBreakable) {
        hitObjectsAt(c, r);
        playSample(blockSample);
    }
}

void Player::hitObjectsAt(int c, int r) {
    if (!blocks) return;
    for (BreakableBlock& block : *blocks) {
        if (block.active && block.col == c && block.row == r) block.remove();
    }
}

void Player::collectPowerups() {
    auto touches = [this](int v) { return hitboxTouches(layer::kPowerups, v); };

    if (touches(cell::kBombPowerup)) {
        ++bombCount;
        playSample(powerupSample);
    }
    if (touches(cell::kFirePowerup)) {
        ++bombPower;
        playSample(powerupSample);
    }
    if (touches(cell::kKickPowerup)) {
        kick = true;
        playSample(powerupSample);
    }
    if (touches(cell::kHealthPowerup)) {
        dynamite = hammer = missile = homingMissile = false;
        health = startingHealth();
        playSample(healthSample);
    }
    if (touches(cell::kDynamitePowerup)) {
        dynamite = true;
        missile = homingMissile = hammer = false;
        playSample(powerupSample);
    }
    if (touches(cell::kHammerPowerup)) {
        hammer = true;
        dynamite = missile = homingMissile = false;
        playSample(powerupSample);
    }
    if (touches(cell::kMissilePowerup)) {
        missile = true;
        homingMissile = hammer = dynamite = false;
        missilesFired = 0;
        playSample(powerupSample);
    }
    if (touches(cell::kHomingPowerup)) {
        homingMissile = true;
        missile = hammer = dynamite = false;
        missilesFired = 0;
        playSample(powerupSample);
    }
}

void Player::spawnDust() {
    Animation puff;
    if (library && library->dust) puff = *library->dust;
    DustEffect dust;
    dust.initAnimated(cell::kEmpty, tileSize, col, row, width, height, layer::kPowerups, grid,
                      puff);
    dust.x = x;
    dust.y = y;
    dustEffects.push_front(dust);
}
