#include "actors/BreakableBlock.h"

#include "actors/Enemy.h"
#include "actors/Powerup.h"
#include "graphics/AnimationLibrary.h"
#include "platform/Clock.h"
#include "shell/Config.h"
#include "world/CellValues.h"
#include "world/Random.h"

BreakableBlock::BreakableBlock()
    : GridObject(),
      dropLevel(1),
      intact(false),
      spawnsEnemies(false),
      library(nullptr),
      powerups(nullptr),
      enemies(nullptr),
      spawnTick(0),
      spawnDelay(0),
      shaking(false),
      shakeStart(0),
      shakeStep(0.0f),
      lastShake(0),
      shakeLeft(false),
      enemyBreaks(false),
      spawnKind(0) {}

BreakableBlock::BreakableBlock(const BreakableBlock& other) : BreakableBlock() {
    BreakableBlock::copy(other);
}

BreakableBlock::~BreakableBlock() = default;

GridObject* BreakableBlock::clone() { return new BreakableBlock(*this); }

void BreakableBlock::copy(const BreakableBlock& other) {
    GridObject::copy(other);
    dropLevel = other.dropLevel;
    intact = other.intact;
    spawnsEnemies = other.spawnsEnemies;
    library = other.library;
    powerups = other.powerups;
    enemies = other.enemies;
    spawnTick = other.spawnTick;
    spawnDelay = other.spawnDelay;
    shaking = other.shaking;
    shakeStart = other.shakeStart;
    shakeStep = other.shakeStep;
    lastShake = other.lastShake;
    shakeLeft = other.shakeLeft;
    enemyBreaks = other.enemyBreaks;
    spawnKind = other.spawnKind;
}

BreakableBlock BreakableBlock::operator=(const BreakableBlock& other) {
    if (this != &other) copy(other);
    return *this;
}

void BreakableBlock::init(int newValue, int newTileSize, int newCol, int newRow, int newWidth,
                          int newHeight, int newLayer, Bitmap newImage, TileGrid* newGrid,
                          AnimationLibrary* newLibrary, std::list<Powerup>* newPowerups,
                          bool newSpawnsEnemies, std::list<Enemy>* newEnemies, int newSpawnKind) {
    GridObject::init(newValue, newTileSize, newCol, newRow, newWidth, newHeight, newLayer,
                     newImage, newGrid);
    intact = true;
    spawnsEnemies = newSpawnsEnemies;
    library = newLibrary;
    powerups = newPowerups;
    enemies = newEnemies;
    spawnKind = newSpawnKind;
    dropLevel = 1;
    spawnDelay = uint32_t(randomRange(kMinSpawnDelay, kMaxSpawnDelay));
    spawnTick = plat::tickCount();
}

void BreakableBlock::setEnemyCellCheck() { enemyBreaks = true; }

void BreakableBlock::clearIntact() { intact = false; }

int BreakableBlock::randomRange(int min, int max) {
    return int(double(min) + double(rand15()) * (double(max - min) / double(kRandom15Max)));
}

void BreakableBlock::draw(plat::Surface& target) {
    const uint32_t now = plat::tickCount();

    if (tileAt(layer::kExplosions, col, row) == cell::kExplosion) {
        // Broken, but it keeps its 2 in the grid (still an obstacle) and
        // drops nothing until the fire on its cell is out, so the drop
        // cannot burn in the explosion that freed it.
        intact = false;
    } else if (!intact) {
        remove();
        dropPowerup();
        return;
    } else if (enemyBreaks && tileAt(layer::kObjects, col, row) == cell::kEnemy) {
        intact = false;
        remove();
        dropPowerup();
        return;
    }
    if (!intact) return;

    GridObject::draw(target);

    if (now - spawnTick > spawnDelay || shaking) {
        if (spawnsEnemies) spawnEnemy();
        spawnTick = now;
        spawnDelay = uint32_t(randomRange(kMinSpawnDelay, kMaxSpawnDelay));
    }

    if (shaking) {
        if (now - lastShake > kShakeStepMs) {
            shakeStep = float((now - lastShake) / kShakeStepMs);
            lastShake = now;
            const int home = col * tileSize;
            if (!shakeLeft) {
                if (float(x) + shakeStep < float(home + kShakeReach))
                    x = int(float(x) + shakeStep);
                else
                    shakeLeft = true;
            } else {
                if (float(x) - shakeStep > float(home - kShakeReach))
                    x = int(float(x) - shakeStep);
                else
                    shakeLeft = false;
            }
        }
    } else {
        x = col * tileSize;
        y = row * tileSize;
    }
}

void BreakableBlock::dropPowerup() {
    if (!powerups) return;

    // Percentages scaled onto the generator's 0..32767.
    const long long unit = kRandom15Max / 100;
    const long long chance =
        unit * (static_cast<long long>(powerupFrequency) + 10LL * dropLevel - 10);
    if (rand15() >= chance) return;

    // Cumulative boundaries: each kind owns the values above the previous
    // boundary up to its own, so out-of-order boundaries leave kinds empty.
    struct Kind {
        int boundary;
        int value;
    };
    const Kind kinds[] = {
        {dynamitePowerupBoundary, cell::kDynamitePowerup},
        {missilePowerupBoundary, cell::kMissilePowerup},
        {hmissilePowerupBoundary, cell::kHomingPowerup},
        {kickPowerupBoundary, cell::kKickPowerup},
        {bombPowerupBoundary, cell::kBombPowerup},
        {explosionPowerupBoundary, cell::kFirePowerup},
        {healthPowerupBoundary, cell::kHealthPowerup},
        {hammerPowerupBoundary, cell::kHammerPowerup},
    };
    const long long r = rand15();
    int value = cell::kEmpty;
    for (std::size_t i = 0; i < sizeof kinds / sizeof kinds[0]; ++i) {
        const bool abovePrevious = i == 0 || r > unit * kinds[i - 1].boundary;
        if (abovePrevious && r <= unit * kinds[i].boundary) {
            value = kinds[i].value;
            break;
        }
    }
    if (value == cell::kEmpty) return;

    const Animation* look = Powerup::animationFor(library, value);
    Powerup powerup;
    powerup.initAnimated(value, tileSize, col, row, 32, 32, layer::kPowerups, grid,
                         look ? *look : Animation());
    powerups->push_front(powerup);
}

bool BreakableBlock::spawnEnemy() {
    const int roll = randomRange(0, replicateBlockChance + 100);
    const bool rollWins = roll >= 50 && roll <= replicateBlockChance + 50;
    if (!enemies || !(rollWins || shaking)) return false;

    int live = 0;
    Enemy* templateEnemy = nullptr;
    Enemy* candidate = nullptr;
    for (Enemy& e : *enemies) {
        if (e.active) {
            ++live;
            templateEnemy = &e;
        } else if (!e.isHead() && !e.isSegment()) {
            candidate = &e;
        }
    }

    if (live >= maxEnemies) {
        shaking = false;
        return false;
    }
    if (!candidate && !templateEnemy) return false;

    const uint32_t now = plat::tickCount();
    if (!shaking) {
        shaking = true;
        shakeStart = now;
        lastShake = now;
    }
    if (now - shakeStart <= kShakeTime) return false;

    if (candidate) {
        // A fallen enemy gets up where the block stood (at the block's
        // current, possibly shaken, position).
        Enemy& e = *candidate;
        e.x = x;
        e.y = y;
        e.col = col;
        e.row = row;
        e.posX = float(x);
        e.posY = float(y);
        e.prevCol = col;
        e.prevRow = row;
        e.active = true;
        e.health = enemyHealth;
        e.dead = false;
        e.held = false;
        e.deathAnimation.clearFinished();
        e.lastHitTick = 0;
        e.directionTick = 0;
        e.directionChangeInterval = uint32_t(directionChangeIntervalTime);
        e.stopWaitTime = uint32_t(::stopWaitTime);
        e.currentInterval = uint32_t(directionChangeIntervalTime);
        e.hasReplicated = false;
        e.searchTick = now;
        e.damageTick = now;
        e.shotTick = now;
        e.stopTick = now;
        e.hitSoundTick = now;
        e.replicateTick = now;
    } else {
        const Enemy& t = *templateEnemy;
        const int set = spawnKind == kSpawnLevel5Kind ? AnimationLibrary::SetEnemy5
                                                      : AnimationLibrary::SetEnemy4;
        // A library without the set still gives a working (invisible) enemy
        // rather than a read through a null pointer.
        Animation noWalk[dir::kCount];
        Animation noHit[dir::kCount];
        AnimationLibrary* lib = t.library;
        Animation* walk = lib && lib->enemyWalk[set] ? lib->enemyWalk[set] : noWalk;
        Animation* hit = lib && lib->enemyHit[set] ? lib->enemyHit[set] : noHit;
        Animation death = lib && lib->enemyDeath[set] ? *lib->enemyDeath[set] : Animation();

        Enemy spawned;
        spawned.init(cell::kEnemy, tileSize, col, row, 32, 32, layer::kObjects, grid, false,
                     enemySpeed, walk, hit, death, t.players, t.missiles, t.explosions,
                     t.enemies, lib, enemyHealth);
        spawned.animateWhenIdle = true;
        spawned.replicates = true;
        enemies->push_front(spawned);
    }
    remove();
    intact = false;
    return true;
}
