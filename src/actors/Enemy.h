// Every computer-controlled opponent: grunts, walkers, missile-firing mechs,
// star-throwing ninja grunts, replicating enemies and the parts of the
// dragon. All kinds are this one class; a kind is the set of flags and
// sounds the stage set-up writes after init().
//
// An enemy lives by value in the Level's enemy list and is driven entirely
// by draw(), called once per draw tick: it picks the nearest live player,
// wanders or hunts along a searched route, aims and attacks, moves, takes
// damage from explosions and shows its health bar. Dragon body segments and
// the tail decide nothing: each jumps along the trail of the part before it.
// The decision making lives in EnemyBehaviour.cpp.
//
// Fields are public: the set-ups write the kind flags, the Level writes
// `held`, and enemies revive each other in place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>

#include "actors/PathNode.h"
#include "graphics/Animation.h"
#include "graphics/HealthBar.h"
#include "platform/Audio.h"
#include "world/MovingObject.h"

class AnimationLibrary;
class DustEffect;
class Explosion;
class Missile;
class Player;

// Shared by every enemy. Ids count from 1 upward and are never reused.
extern int enemyIdCounter;
// Followers (body segments and tail) of the current dragon still alive; the
// dragon's set-up sets it to 0 before building the chain.
extern int dragonSegmentCount;
// The dragon head's turn sense before its latest turn (0 clockwise, 1
// counter-clockwise, -1 none): two turns in one sense forbid a third. A new
// dragon needs no reset: its head is built with turn side 0 and hands that
// on at its first turn.
extern int dragonPreviousTurnSide;

class Enemy : public MovingObject {
public:
    // How long the health bar stays up after the last hit.
    static constexpr uint32_t kHealthBarShowMs = 2500;
    // Contact time per damage step, and the least gap between hit sounds.
    static constexpr uint32_t kDamageStepMs = 100;
    static constexpr uint32_t kHitSoundGapMs = 400;
    // A dragon part within this many pixels of its leader (both axes) stays
    // put; once it jumps, it follows the trail until this close.
    static constexpr int kFollowSlack = 17;
    static constexpr int kFollowCatchUp = 22;
    // Trail points kept per part: far more than a follower ever lags behind,
    // and a bound for the parts nobody follows.
    static constexpr std::size_t kMaxTrail = 512;
    // Leader chains are short and straight; the bound on a walk up a chain
    // only keeps a miswired one (a part that leads itself) from hanging.
    static constexpr int kMaxChainWalk = 10000;

    Enemy();
    Enemy(const Enemy& other);
    // The samples stay: releaseSounds() frees them, once, for the list copy.
    ~Enemy() override;

    // The per-frame step (EnemyBehaviour.cpp).
    void draw(plat::Surface& target) override;
    GridObject* clone() override;
    // Clears the hitbox cells (even when dead) and goes inactive.
    void remove() override;
    // Only flag d; a ninja starting from a standstill raises dust.
    void setDirection(int d) override;
    // A dead enemy's cells are no longer marked.
    void markHitbox(int v) override;
    // A ninja stopping raises dust.
    void clearDirections() override;
    // The route search may cross players and enemies' cells, never a
    // burning cell or one where another live enemy stands.
    bool canPass(int c, int r) override;
    // Empty cells and players' and enemies' cells do not stop an enemy
    // unless another live enemy stands there; dragon parts also cross
    // breakable blocks.
    bool isBlocked(int c, int r) override;

    void copy(const Enemy& other);
    Enemy operator=(const Enemy& other);
    using MovingObject::copy;
    using MovingObject::operator=;
    using MovingObject::init;

    // The moving object's eleven values, then the hit animations (four),
    // the death animation, the Level's lists and library, and the health.
    void init(int value, int tileSize, int col, int row, int width, int height, int layer,
              TileGrid* grid, bool frozen, float speed, const Animation* walkAnimations,
              const Animation* hitAnimations, Animation deathAnimation,
              std::list<Player>* players, std::list<Missile>* missiles,
              std::list<Explosion>* explosions, std::list<Enemy>* enemies,
              AnimationLibrary* library, int health);

    // Kind sounds; each frees the sample it replaces.
    void setNinjaSounds();
    void setRobotHitSound();
    void setDragonHitSound();
    // Frees the four samples; safe to call more than once.
    void releaseSounds();

    bool isHead() const { return head; }
    bool isSegment() const { return segment; }
    bool isDead() const { return dead; }
    void setDragonHead() { head = true; }
    // Becomes a dragon follower of newLeader (an element of the same list).
    void followSegment(Enemy* newLeader);

    // Damage and death from an explosion under the hitbox.
    void handleHit(plat::Surface& target);
    // At most once per life: revives a removed enemy or adds a new one.
    bool tryReplicate();
    // The tail's death: this part and the segments before it become
    // vulnerable.
    void clearChainFlag();
    // This part and every leader up to the head take speed v.
    void setChainSpeed(float v);

    // min + r * (max - min) / 32767 for r in 0..32767, truncated toward 0.
    static int randomInt(int min, int max);
    // Another live enemy stands on (col, row).
    bool isTileOccupied(int c, int r);
    // A dust puff at exactly (px, py), drawn by this enemy.
    void spawnDust(int px, int py, const Animation* anim);

    // Behaviour (EnemyBehaviour.cpp).
    void chooseRandomDirection();
    bool allyInLineOfFire();
    void attack();

    // The steps of draw() (EnemyBehaviour.cpp), callable one by one.
    Player* chooseTarget();
    void decide(Player* target);
    void wander();
    void hunt(Player* target);
    void steer();
    void aimAndAttack(Player* target);
    // A dragon follower's jump along its leader's trail.
    void followLeader();
    // Appends a left position to the trail, dropping the oldest past the
    // bound.
    void leaveTrail(int px, int py);
    // The head's direction, trail and turn bookkeeping after its move from
    // (startX, startY).
    void afterHeadMove(int startX, int startY);

    int attackDistance;
    uint32_t directionChangeInterval;
    bool wanderNonstop;
    bool chaseNonstop;
    bool firesMissiles;
    bool searchesPath;
    uint32_t fireWaitTime;
    bool replicates;
    bool held;
    bool startStopDust;
    bool invulnerable;
    bool isTail;
    Animation deathAnimation;
    std::list<Enemy>* enemies;          // the Level's; not owned
    std::list<Player>* players;         // the Level's; not owned
    std::list<Missile>* missiles;       // the Level's; not owned
    std::list<Explosion>* explosions;   // the Level's; not owned
    std::list<PathNode> path;
    std::list<DustEffect> dustEffects;  // not copied: a copy starts without dust
    std::list<PathNode> trail;          // pixel positions left (x, y), oldest first
    AnimationLibrary* library;          // not owned
    PathNode nextStep;
    bool pathFound;
    bool wandering;
    uint32_t searchTick;
    int health;
    uint32_t damageTick;
    HealthBar healthBar;
    uint32_t lastHitTick;  // 0: never hit
    uint32_t directionTick;
    int healthDamage;
    bool dead;
    uint32_t currentInterval;
    uint32_t stopWaitTime;
    Animation hitAnimations[dir::kCount];
    uint32_t shotTick;
    uint32_t stopTick;
    bool aiming;
    uint32_t aimTick;
    plat::AudioSample* shoutSample;
    plat::AudioSample* shotSample;
    plat::AudioSample* hitSample;
    plat::AudioSample* deathSample;
    uint32_t hitSoundTick;
    uint32_t replicateTick;
    bool hasReplicated;
    bool segment;
    Enemy* leader;  // the part this one follows; null unless a segment
    bool head;
    int travelDirection;
    int id;
    bool ignoresEnemies;
    int turnSide;
    int forbiddenDirection;

private:
    // Sets a cell of the own layer to 0 unless it holds a block.
    void clearCell(int px, int py);
    // An Enemy::init-built new enemy at this one's cell (replication).
    void addReplica();
    void revive(Enemy& other);
};
