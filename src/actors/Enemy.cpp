#include "actors/Enemy.h"

#include <cstdlib>

#include "actors/DustEffect.h"
#include "graphics/AnimationLibrary.h"
#include "platform/Clock.h"
#include "shell/Config.h"
#include "shell/FilePaths.h"
#include "shell/Sound.h"
#include "world/Random.h"
#include "world/TileGrid.h"

int enemyIdCounter = 0;
int dragonSegmentCount = 0;
int dragonPreviousTurnSide = -1;

namespace {

SampleHandle loadAudio(const char* name) { return loadSample(getPathString("audio", name)); }

// Replaces a kind sound, freeing the one it held.
void replaceSample(plat::AudioSample*& slot, const char* name) {
    SampleHandle fresh = loadAudio(name);
    freeSample(slot);
    slot = fresh;
}

}  // namespace

Enemy::Enemy()
    : MovingObject(),
      attackDistance(0),
      directionChangeInterval(0),
      wanderNonstop(false),
      chaseNonstop(false),
      firesMissiles(false),
      searchesPath(false),
      fireWaitTime(0),
      replicates(false),
      held(false),
      startStopDust(false),
      invulnerable(false),
      isTail(false),
      enemies(nullptr),
      players(nullptr),
      missiles(nullptr),
      explosions(nullptr),
      library(nullptr),
      pathFound(false),
      wandering(false),
      searchTick(0),
      health(0),
      damageTick(0),
      lastHitTick(0),
      directionTick(0),
      healthDamage(0),
      dead(false),
      currentInterval(0),
      stopWaitTime(0),
      shotTick(0),
      stopTick(0),
      aiming(false),
      aimTick(0),
      shoutSample(nullptr),
      shotSample(nullptr),
      hitSample(nullptr),
      deathSample(nullptr),
      hitSoundTick(0),
      replicateTick(0),
      hasReplicated(false),
      segment(false),
      leader(nullptr),
      head(false),
      travelDirection(0),
      id(0),
      ignoresEnemies(false),
      turnSide(0),
      forbiddenDirection(0) {}

Enemy::Enemy(const Enemy& other) : Enemy() { Enemy::copy(other); }

Enemy::~Enemy() = default;

GridObject* Enemy::clone() { return new Enemy(*this); }

void Enemy::copy(const Enemy& other) {
    MovingObject::copy(other);
    attackDistance = other.attackDistance;
    directionChangeInterval = other.directionChangeInterval;
    wanderNonstop = other.wanderNonstop;
    chaseNonstop = other.chaseNonstop;
    firesMissiles = other.firesMissiles;
    searchesPath = other.searchesPath;
    fireWaitTime = other.fireWaitTime;
    replicates = other.replicates;
    held = other.held;
    startStopDust = other.startStopDust;
    invulnerable = other.invulnerable;
    isTail = other.isTail;
    deathAnimation = other.deathAnimation;
    enemies = other.enemies;
    players = other.players;
    missiles = other.missiles;
    explosions = other.explosions;
    path = other.path;
    trail = other.trail;
    library = other.library;
    nextStep = other.nextStep;
    pathFound = other.pathFound;
    wandering = other.wandering;
    searchTick = other.searchTick;
    health = other.health;
    damageTick = other.damageTick;
    healthBar = other.healthBar;
    lastHitTick = other.lastHitTick;
    directionTick = other.directionTick;
    healthDamage = other.healthDamage;
    dead = other.dead;
    currentInterval = other.currentInterval;
    stopWaitTime = other.stopWaitTime;
    for (int d = 0; d < dir::kCount; ++d) hitAnimations[d] = other.hitAnimations[d];
    shotTick = other.shotTick;
    stopTick = other.stopTick;
    aiming = other.aiming;
    aimTick = other.aimTick;
    shoutSample = other.shoutSample;
    shotSample = other.shotSample;
    hitSample = other.hitSample;
    deathSample = other.deathSample;
    hitSoundTick = other.hitSoundTick;
    replicateTick = other.replicateTick;
    hasReplicated = other.hasReplicated;
    segment = other.segment;
    leader = other.leader;
    head = other.head;
    travelDirection = other.travelDirection;
    id = other.id;
    ignoresEnemies = other.ignoresEnemies;
    turnSide = other.turnSide;
    forbiddenDirection = other.forbiddenDirection;
}

Enemy Enemy::operator=(const Enemy& other) {
    if (this != &other) copy(other);
    return *this;
}

void Enemy::init(int newValue, int newTileSize, int newCol, int newRow, int newWidth,
                 int newHeight, int newLayer, TileGrid* newGrid, bool newFrozen, float newSpeed,
                 const Animation* walkAnimations, const Animation* newHitAnimations,
                 Animation newDeathAnimation, std::list<Player>* newPlayers,
                 std::list<Missile>* newMissiles, std::list<Explosion>* newExplosions,
                 std::list<Enemy>* newEnemies, AnimationLibrary* newLibrary, int newHealth) {
    initMoving(newValue, newTileSize, newCol, newRow, newWidth, newHeight, newLayer, newGrid,
               newFrozen, newSpeed, walkAnimations);
    if (newHitAnimations) {
        for (int d = 0; d < dir::kCount; ++d) hitAnimations[d] = newHitAnimations[d];
    }

    ++enemyIdCounter;
    id = enemyIdCounter;

    players = newPlayers;
    missiles = newMissiles;
    explosions = newExplosions;
    enemies = newEnemies;
    library = newLibrary;
    deathAnimation = newDeathAnimation;

    stopWhenIdle = false;
    animateWhenIdle = false;
    wandering = true;

    attackDistance = ::attackDistance;
    health = newHealth;
    healthDamage = ::healthDamage;
    wanderNonstop = false;
    chaseNonstop = false;
    directionChangeInterval = uint32_t(::directionChangeIntervalTime);
    stopWaitTime = uint32_t(::stopWaitTime);
    currentInterval = directionChangeInterval;

    isTail = false;
    segment = false;
    head = false;

    const char* back = "enemyhealthbarBack";
    healthBar.init(::getWidth(back), ::getHeight(back), getFrameFile(back, 1),
                   getFrameFile("enemyhealthbarTop", 1), x, y, newHealth);

    shoutSample = loadAudio("robot1");
    shotSample = loadAudio("missile");
    hitSample = loadAudio("hit");
    deathSample = loadAudio("enemyDeath");

    // Enemies set up within one second replay one random sequence.
    std::srand(static_cast<unsigned>(plat::calendarSeconds()));

    const uint32_t now = plat::tickCount();
    searchTick = now;
    damageTick = now;
    shotTick = now;
    stopTick = now;
    hitSoundTick = now;
    replicateTick = now;

    chooseRandomDirection();
}

void Enemy::setNinjaSounds() {
    replaceSample(shoutSample, "ninjaShout");
    replaceSample(shotSample, "ninjaThrow");
}

void Enemy::setRobotHitSound() { replaceSample(hitSample, "robotHit"); }

void Enemy::setDragonHitSound() { replaceSample(hitSample, "dragonHit"); }

void Enemy::releaseSounds() {
    // Nulled, so that a second release frees nothing twice.
    for (plat::AudioSample** s : {&shoutSample, &shotSample, &hitSample, &deathSample}) {
        freeSample(*s);
        *s = nullptr;
    }
}

void Enemy::followSegment(Enemy* newLeader) {
    leader = newLeader;
    segment = true;
    head = false;
    ++dragonSegmentCount;
}

void Enemy::handleHit(plat::Surface& target) {
    if (!hitboxTouches(layer::kExplosions, cell::kExplosion)) return;

    const int facing = (direction >= 0 && direction < dir::kCount) ? direction : dir::kDown;
    Animation& hit = hitAnimations[facing];
    const Animation& walk = directionAnimations[facing];
    // The overlay shows the walk's own frame, whatever its own pace.
    hit.playing = walk.playing;
    hit.setCurrentFrame(walk.getCurrentFrame());
    hit.x = x;
    hit.y = y;
    hit.draw(target);

    const uint32_t now = plat::tickCount();
    if (now - damageTick > kDamageStepMs) {
        damageTick = now;
        health -= healthDamage;
        if (now - hitSoundTick > kHitSoundGapMs) {
            playSample(hitSample);
            hitSoundTick = now;
        }
    }

    if (health <= 0) {
        if (isTail) clearChainFlag();
        if (segment) {
            --dragonSegmentCount;
            setChainSpeed(speed + ::dragonSpeedIncrement);
            if (dragonSegmentCount == 0) {
                // The last follower is gone: the head can be killed now.
                Enemy* part = leader;
                for (int i = 0; part && i < kMaxChainWalk; ++i) {
                    part->invulnerable = false;
                    part->health = -1;
                    part = part->leader;
                }
            }
        }
        playSample(deathSample);
        dead = true;
        deathAnimation.play();
    }

    lastHitTick = now;
}

void Enemy::clearChainFlag() {
    invulnerable = false;
    Enemy* part = leader;
    for (int i = 0; part && part->segment && i < kMaxChainWalk; ++i) {
        part->invulnerable = false;
        part = part->leader;
    }
}

void Enemy::setChainSpeed(float v) {
    speed = v;
    Enemy* part = leader;
    for (int i = 0; part && i < kMaxChainWalk; ++i) {
        part->speed = v;
        part = part->leader;
    }
}

int Enemy::randomInt(int min, int max) {
    return static_cast<int>(min + rand15() * ((max - min) / double(kRandom15Max)));
}

bool Enemy::isTileOccupied(int c, int r) {
    if (ignoresEnemies || moveRefused || !enemies) return false;
    for (auto it = enemies->rbegin(); it != enemies->rend(); ++it) {
        const Enemy& other = *it;
        if (other.id != id && !other.dead && other.col == c && other.row == r) return true;
    }
    return false;
}

void Enemy::spawnDust(int px, int py, const Animation* anim) {
    DustEffect dust;
    dust.initAnimated(0, tileSize, toGrid(px), toGrid(py), width, height, layer::kPowerups, grid,
                      anim ? *anim : Animation());
    dust.x = px;
    dust.y = py;
    dustEffects.push_front(dust);
}

void Enemy::remove() {
    MovingObject::markHitbox(0);
    active = false;
}

void Enemy::setDirection(int d) {
    const bool wasStill = !isMoving();
    for (bool& flag : directionFlags) flag = false;
    if (wasStill && startStopDust && library && library->ninjaDust2)
        spawnDust(x, y, library->ninjaDust2);
    if (d >= 0 && d < dir::kCount) directionFlags[d] = true;
}

void Enemy::markHitbox(int v) {
    if (dead) return;
    MovingObject::markHitbox(v);
}

void Enemy::clearDirections() {
    if (startStopDust && isMoving() && library && library->ninjaDust)
        spawnDust(x, y, library->ninjaDust);
    MovingObject::clearDirections();
}

bool Enemy::canPass(int c, int r) {
    if (!grid) return false;
    const int v = grid->getTile(layer::kObjects, c, r);
    if (v != cell::kPlayer && v != cell::kEnemy) return false;
    if (grid->getTile(layer::kExplosions, c, r) == cell::kExplosion) return false;
    return !isTileOccupied(c, r);
}

bool Enemy::isBlocked(int c, int r) {
    // Beyond the rim of the field is a wall, as for players and missiles.
    if (!onGrid(c, r)) return true;
    const int v = grid->getTile(layer, c, r);
    const bool dragonPart = head || segment;
    if (v == cell::kEmpty || v == cell::kPlayer || v == cell::kEnemy ||
        (v == cell::kBreakable && dragonPart))
        return isTileOccupied(c, r);
    return true;
}

bool Enemy::tryReplicate() {
    const uint32_t now = plat::tickCount();
    if (!(now - replicateTick > uint32_t(::replicateWaitTime)) || hasReplicated) return false;
    if (!enemies) return false;

    int activeCount = 0;
    Enemy* spare = nullptr;
    for (Enemy& other : *enemies) {
        if (other.active)
            ++activeCount;
        else if (!other.isHead() && !other.isSegment())
            spare = &other;
    }

    const int roll = randomInt(0, ::replicateChance + 100);
    if (roll < 50 || roll > ::replicateChance + 50 || activeCount >= ::maxEnemies) return false;

    if (spare) {
        revive(*spare);
        hasReplicated = true;
        return true;
    }
    addReplica();
    replicateTick = now;
    hasReplicated = true;
    return true;
}

void Enemy::revive(Enemy& other) {
    const uint32_t now = plat::tickCount();
    other.x = col * tileSize;
    other.y = row * tileSize;
    other.col = col;
    other.row = row;
    other.posX = float(x);
    other.posY = float(y);
    other.prevCol = prevCol;
    other.prevRow = prevRow;
    other.active = true;
    other.health = ::enemyHealth;
    other.dead = false;
    other.held = false;
    other.deathAnimation.clearFinished();
    other.lastHitTick = 0;
    other.directionTick = 0;
    other.directionChangeInterval = uint32_t(::directionChangeIntervalTime);
    other.stopWaitTime = uint32_t(::stopWaitTime);
    other.currentInterval = directionChangeInterval;
    other.hasReplicated = false;
    other.searchTick = now;
    other.damageTick = now;
    other.shotTick = now;
    other.stopTick = now;
    other.hitSoundTick = now;
    other.replicateTick = now;
}

void Enemy::addReplica() {
    Enemy child;
    child.init(cell::kEnemy, tileSize, col, row, 32, 32, layer::kObjects, grid, false,
               ::enemySpeed, directionAnimations, hitAnimations, deathAnimation, players,
               missiles, explosions, enemies, library, ::enemyHealth);
    child.animateWhenIdle = animateWhenIdle;
    child.firesMissiles = firesMissiles;
    child.fireWaitTime = fireWaitTime;
    child.directionChangeInterval = directionChangeInterval;
    child.attackDistance = attackDistance;
    child.wanderNonstop = wanderNonstop;
    child.chaseNonstop = chaseNonstop;
    child.searchesPath = searchesPath;
    child.replicates = replicates;
    enemies->push_front(child);
}

void Enemy::leaveTrail(int px, int py) {
    PathNode point;
    point.x = px;
    point.y = py;
    trail.push_back(point);
    while (trail.size() > kMaxTrail) trail.pop_front();
}

void Enemy::clearCell(int px, int py) {
    if (!grid) return;
    const int c = toGrid(px);
    const int r = toGrid(py);
    if (!cell::isBlock(grid->getTile(layer, c, r))) grid->setTile(layer, c, r, cell::kEmpty);
}
