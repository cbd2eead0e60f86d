// A destructible wall cell (value 2 on layer 3). An explosion on it breaks
// it; once the explosion on its cell has burnt out the block goes and may
// leave a powerup behind, so the explosion that broke it cannot destroy the
// drop. On some stages an enemy walking onto a block breaks it too, and on
// the late levels a block may start to shake and turn into an enemy.
#pragma once

#include <cstdint>
#include <list>

#include "world/GridObject.h"

class AnimationLibrary;
class Enemy;
class Powerup;

class BreakableBlock : public GridObject {
public:
    // Which enemy a spawning block turns into.
    static constexpr int kSpawnLevel5Kind = 0;  // the library's "enemy5" sets
    static constexpr int kSpawnLevel4Kind = 1;  // the library's "enemy4" sets

    // The wait between two spawn rolls is drawn from this range, ms.
    static constexpr int kMinSpawnDelay = 7000;
    static constexpr int kMaxSpawnDelay = 20000;
    // A shaking block turns into an enemy after this long, ms.
    static constexpr uint32_t kShakeTime = 2500;
    // Shake speed: one pixel per this many ms; the block stays strictly
    // within kShakeReach pixels of its cell.
    static constexpr uint32_t kShakeStepMs = 9;
    static constexpr int kShakeReach = 3;

    BreakableBlock();
    BreakableBlock(const BreakableBlock& other);
    ~BreakableBlock() override;

    // The per-frame step: breaking, removal with the powerup roll, drawing,
    // the spawn timer and the shake.
    void draw(plat::Surface& target) override;
    GridObject* clone() override;

    // Places the block (its value is written at once), intact, with a fresh
    // random spawn wait. enemies may be null (the block then spawns nothing).
    void init(int value, int tileSize, int col, int row, int width, int height, int layer,
              Bitmap image, TileGrid* grid, AnimationLibrary* library,
              std::list<Powerup>* powerups, bool spawnsEnemies, std::list<Enemy>* enemies,
              int spawnKind);
    using GridObject::init;

    // From now on an enemy on the block's cell breaks it.
    void setEnemyCellCheck();
    // Breaks the block without an explosion: it goes in its first frame.
    void clearIntact();

    // min + rand * (max - min) / 32767, truncated toward zero.
    static int randomRange(int min, int max);

    // Rolls for a powerup by powerupFrequency, dropLevel and the kind
    // boundaries, and puts it on the block's cell.
    void dropPowerup();
    // One step of turning into an enemy; true when an enemy was placed
    // (the block is then gone).
    bool spawnEnemy();

    void copy(const BreakableBlock& other);
    BreakableBlock operator=(const BreakableBlock& other);
    using GridObject::copy;
    using GridObject::operator=;

    int dropLevel;  // the drop chance is powerupFrequency + 10 * (dropLevel - 1) percent
    bool intact;
    bool spawnsEnemies;
    AnimationLibrary* library;     // powerup and enemy animations; not owned
    std::list<Powerup>* powerups;  // the Level's; not owned
    std::list<Enemy>* enemies;     // the Level's, or null; not owned
    uint32_t spawnTick;
    uint32_t spawnDelay;
    bool shaking;
    uint32_t shakeStart;
    float shakeStep;
    uint32_t lastShake;
    bool shakeLeft;
    bool enemyBreaks;
    int spawnKind;  // kSpawnLevel5Kind or kSpawnLevel4Kind
};
