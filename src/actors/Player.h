// One human player (number 1 to 4): a walker with cell value 4 on layer 3,
// six key bindings, health, bombs and their reach, five special abilities
// and its own block of the on-screen display.
//
// Level::draw calls draw() every frame (damage, death, movement, dust,
// kicking, pick-ups, HUD); Level::handleInput calls handleInput() every pass
// of the main loop while the round runs (keys, momentum, bombs, specials).
// Every key is polled on its own timer, so the pass rate of the main loop
// does not change how fast a player drops bombs or fires.
//
// The actions on the field (bombs, kick, missiles, hammer, pick-ups, dust)
// live in PlayerActions.cpp.
#pragma once

#include <cstdint>
#include <list>

#include "graphics/Animation.h"
#include "graphics/BitmapText.h"
#include "graphics/HealthBar.h"
#include "platform/Audio.h"
#include "world/MovingObject.h"

class AnimationLibrary;
class Bomb;
class BreakableBlock;
class DustEffect;
class Enemy;
class Explosion;
class HomingMissile;
class Input;
class Missile;
class Powerup;

class Player : public MovingObject {
public:
    // Key slots, in the order the player holds its bindings.
    enum Key { KeyUp, KeyDown, KeyLeft, KeyRight, KeyPrimary, KeySecondary, KeyCount };

    // Poll intervals of the keys, ms.
    static constexpr uint32_t kDirectionPollMs = 10;
    static constexpr uint32_t kBombKeyPollMs = 60;
    static constexpr uint32_t kDetonationPollMs = 120;
    // Damage: this much per step, at most one step per interval.
    static constexpr int kDamagePerStep = 5;
    static constexpr uint32_t kDamageIntervalMs = 100;
    static constexpr uint32_t kDeathFrameMs = 170;
    static constexpr uint32_t kKickSoundIntervalMs = 500;

    Player();
    Player(const Player& other);
    ~Player() override;

    // A new player copied from this one.
    GridObject* clone() override;

    // The first eleven arguments go to initMoving; walkAnimations and
    // hitAnimationSet point to four animations each (right, left, up, down);
    // playerKeys holds six codes: up, down, left, right, primary, secondary.
    void init(int value, int tileSize, int col, int row, int width, int height, int layer,
              TileGrid* grid, bool frozen, float speed, const Animation* walkAnimations,
              Animation death, const Animation* hitAnimationSet, const int* playerKeys,
              std::list<Bomb>* bombList, std::list<Explosion>* explosionList,
              std::list<BreakableBlock>* blockList, std::list<Powerup>* powerupList,
              std::list<Missile>* missileList, std::list<HomingMissile>* homingMissileList,
              std::list<Enemy>* enemyList, std::list<Player>* playerList,
              AnimationLibrary* animationLibrary, bool versusFlag, int playerNumber);

    // Damage, death, movement, dust, kick, pick-ups; the HUD always.
    void draw(plat::Surface& target) override;
    void drawHud(plat::Surface& target);
    // The player's box overlaps a living enemy's.
    bool touchesEnemy();
    // Players walk through each other and through enemies.
    bool isBlocked(int c, int r) override;

    // Reads the keys through the keyboard device, or through the window's
    // key table when there is none.
    void handleInput(Input* input);
    void handleWindowInput();

    void releaseSounds();

    bool isDead() const { return dead; }
    int getNumber() const { return number; }
    void setBombCount(int count) { bombCount = count; }

    // Actions (PlayerActions.cpp).
    void dropBomb();
    // One of its bombs has gone off; never below 0.
    void bombExploded();
    void kickBombs();
    // The timed shot of the secondary key while a missile ability is held.
    void shootMissile();
    void fireMissile();
    void fireHomingMissile();
    void useHammer();
    // Removes (without destruction or pick-up) every active block on (c, r).
    void hitObjectsAt(int c, int r);
    void collectPowerups();
    void spawnDust();

    // The most missiles one missile ability gives, by mode.
    int maxMissileCount() const;
    // The health a player starts with and a health pick-up restores.
    int startingHealth() const;

    // The cell next to the player's in its facing direction.
    int aheadColumn() const;
    int aheadRow() const;

    void copy(const Player& other);
    Player operator=(const Player& other);
    using MovingObject::copy;
    using MovingObject::operator=;

    int keys[KeyCount];
    uint32_t momentum;  // ms per lost speed unit after release
    uint32_t inputTick;
    uint32_t bombKeyTick;
    uint32_t detonationTick;
    uint32_t missileTick;
    int bombPower;
    std::list<Bomb>* bombs;
    std::list<Explosion>* explosions;
    std::list<BreakableBlock>* blocks;
    std::list<Powerup>* powerups;
    std::list<Missile>* missiles;
    std::list<HomingMissile>* homingMissiles;
    std::list<Enemy>* enemies;
    std::list<Player>* players;
    std::list<DustEffect> dustEffects;
    AnimationLibrary* library;
    int lastBombColumn;  // (0, 0): no re-drop guard
    int lastBombRow;
    uint32_t lastBombTick;
    int bombCount;
    uint32_t momentumTick;
    int missilesFired;
    int bombsPlaced;
    int health;
    uint32_t hurtTick;
    bool kick;
    bool dynamite;
    bool hammer;
    bool missile;
    bool homingMissile;
    bool dead;
    Animation deathAnimation;
    HealthBar healthBar;
    int number;
    BitmapText label;
    bool versus;
    int baseSpeed;
    Animation hitAnimations[dir::kCount];
    bool hammerLatch;
    plat::AudioSample* blockSample;
    plat::AudioSample* bombDropSample;
    plat::AudioSample* deathSample;
    plat::AudioSample* healthSample;
    plat::AudioSample* kickSample;
    plat::AudioSample* missileSample;
    plat::AudioSample* powerupSample;
    plat::AudioSample* hurtSample;
    uint32_t kickSoundTick;
    BitmapText bombCountText;
    BitmapText bombPowerText;
    BitmapText missilesLeftText;

private:
    // Key state by code, in the mode the keys were read in.
    struct KeySource {
        Input* input;  // null: the window's key table
        bool down(int code) const;
        bool up(int code) const { return !down(code); }
    };
    void readKeys(const KeySource& source);
    void readDirectionKeys(const KeySource& source);
    void readSecondaryKey(const KeySource& source);
    // Remote detonation: with the dynamite ability, of every bomb of its own
    // (and, with the keyboard device, of dynamite that belongs to nobody);
    // without it, of its own dynamite left lying.
    void detonate(bool includeOwnerless);
    // Some of its dynamite lies unexploded on the field.
    bool ownsDynamiteOnField() const;
    void drawDust(plat::Surface& target);
    void setUpHud(int playerNumber);
};
