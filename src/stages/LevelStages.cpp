// The tutorial and levels 1 to 5: 20 x 13 single-player and co-op stages,
// each built by buildStage from its map, tile layout, start cells, time
// limit and enemies. Every stage reads its enemy tuning from its own
// config.cfg section (by difficulty) before its first enemy is built; the
// values stay in force until another stage reads its own.
#include <string>
#include <utility>
#include <vector>

#include "actors/Enemy.h"
#include "shell/Config.h"
#include "stages/StageMaps.h"
#include "stages/StageSetup.h"
#include "world/CellValues.h"
#include "world/Level.h"

namespace {

using Set = AnimationLibrary::EnemySet;

struct Cell {
    int col;
    int row;
};

// The seven keys every stage with enemies reads first.
const std::vector<std::string>& basicEnemyKeys() {
    static const std::vector<std::string> keys = {
        "searchIntervalTime",          "attackDistance", "healthDamage", "enemySpeed",
        "directionChangeIntervalTime", "stopWaitTime",   "enemyHealth"};
    return keys;
}

std::vector<std::string> basicKeysAnd(const std::vector<std::string>& more) {
    std::vector<std::string> keys = basicEnemyKeys();
    keys.insert(keys.end(), more.begin(), more.end());
    return keys;
}

// The common part of every level: 20 x 13, not versus, players at the four
// corners.
StageSetup levelStage(int number, Bitmap* AnimationLibrary::*intro,
                      Bitmap* AnimationLibrary::*background, const char* music,
                      const int* floor, const int* blocks, TileTable tiles,
                      const char* blockSection, int timeLimit) {
    StageSetup stage;
    stage.width = kWideMapWidth;
    stage.height = kWideMapHeight;
    stage.stageNumber = number;
    stage.versus = false;
    stage.introScreen = intro;
    stage.backgroundScreen = background;
    stage.musicKey = music;
    stage.floorLayer = floor;
    stage.blockLayer = blocks;
    stage.tiles = std::move(tiles);
    stage.breakableBlockSection = blockSection;
    stage.timeLimit = timeLimit;
    return stage;
}

// An enemy of a loaded set on (col, row), before its kind's flags.
Enemy makeEnemy(Level& level, Set set, const Animation* walk, Cell at, float speed, int health) {
    AnimationLibrary* library = level.library;
    Animation death;
    if (library->enemyDeath[set]) death = *library->enemyDeath[set];
    Enemy enemy;
    enemy.init(cell::kEnemy, kTileSize, at.col, at.row, kTileSize, kTileSize, layer::kObjects,
               &level.grid, false, speed, walk, library->enemyHit[set], death, &level.players,
               &level.missiles, &level.explosions, &level.enemies, library, health);
    return enemy;
}

}  // namespace

void Level::loadTutorial(int players, int difficulty) {
    TileTable tiles = walledTiles("tutoriallevel", "tutoriallevel");
    addTutorialPickups(tiles);
    StageSetup stage = levelStage(0, &AnimationLibrary::introTutorialLevel,
                                  &AnimationLibrary::backTutorialLevel, "tutorialLevelbgm",
                                  kTutorialFloor, kTutorialBlocks, std::move(tiles),
                                  "breakableblocktutoriallevel", 300);
    stage.tutorialHints = true;
    // Everyone starts in the first room, without bombs until the pickups.
    for (auto& start : stage.startCells) {
        start[0] = 1;
        start[1] = 1;
    }
    stage.playersStartWithoutBombs = true;
    stage.buildEnemies = [difficulty](Level& level) {
        readEnemyTuning("enemyGrunt", difficulty,
                        basicKeysAnd({"maxEnemies", "replicateChance", "replicateWaitTime"}));
        const Animation* walk = level.library->loadEnemy();
        for (Cell at : {Cell{7, 7}, Cell{3, 7}, Cell{7, 10}}) {
            Enemy grunt = makeEnemy(level, AnimationLibrary::SetEnemy, walk, at, enemySpeed,
                                    enemyHealth);
            grunt.wanderNonstop = true;
            grunt.chaseNonstop = true;
            grunt.stopWhenIdle = true;
            level.enemies.push_front(grunt);
        }
    };
    buildStage(*this, stage, players, difficulty);
}

void Level::loadLevel1(int players, int difficulty) {
    StageSetup stage = levelStage(1, &AnimationLibrary::introLevel1, &AnimationLibrary::backLevel1,
                                  "level1bgm", kLevel1Floor, kLevel1Blocks,
                                  standardTiles("level1"), "breakableblockLevel1", 180);
    stage.buildEnemies = [difficulty](Level& level) {
        readEnemyTuning("enemy", difficulty, basicEnemyKeys());
        const Animation* walk = level.library->loadEnemy1();
        for (Cell at : {Cell{9, 5}, Cell{9, 6}, Cell{10, 7}, Cell{10, 5}, Cell{9, 8}, Cell{9, 7}}) {
            Enemy walker = makeEnemy(level, AnimationLibrary::SetEnemy1, walk, at, enemySpeed,
                                     enemyHealth);
            walker.animateWhenIdle = true;
            level.enemies.push_front(walker);
        }
    };
    buildStage(*this, stage, players, difficulty);
}

namespace {

// Levels 2 and 3: the missile-firing kinds.
const std::vector<std::string>& missileEnemyKeys() {
    static const std::vector<std::string> keys = {
        "searchIntervalTime", "attackDistance", "healthDamage", "enemySpeed",
        "directionChangeIntervalTime", "stopWaitTime", "enemyMissileIntervalTime", "enemyHealth",
        "enemyMissileSpeed", "missileStopWaitTime", "missileFireWaitTime"};
    return keys;
}

}  // namespace

void Level::loadLevel2(int players, int difficulty) {
    StageSetup stage = levelStage(2, &AnimationLibrary::introLevel2, &AnimationLibrary::backLevel2,
                                  "level2bgm", kLevel2Floor, kLevel2Blocks,
                                  standardTiles("level2"), "breakableblocklevel2", 180);
    stage.buildEnemies = [difficulty](Level& level) {
        readEnemyTuning("enemyMech", difficulty, missileEnemyKeys());
        const Animation* walk = level.library->loadEnemy2();
        level.library->loadEnemyMissile();
        // The second mech is a little quicker than the first.
        const Cell cells[] = {{11, 5}, {9, 6}};
        const float speeds[] = {enemySpeed, enemySpeed + 0.2f};
        for (int i = 0; i < 2; ++i) {
            Enemy mech = makeEnemy(level, AnimationLibrary::SetEnemy2, walk, cells[i], speeds[i],
                                   enemyHealth);
            mech.firesMissiles = true;
            mech.chaseNonstop = true;
            mech.searchesPath = true;
            mech.stopWhenIdle = true;
            mech.fireWaitTime = static_cast<uint32_t>(missileFireWaitTime);
            mech.setRobotHitSound();
            level.enemies.push_front(mech);
        }
    };
    buildStage(*this, stage, players, difficulty);
}

void Level::loadLevel3(int players, int difficulty) {
    StageSetup stage = levelStage(3, &AnimationLibrary::introLevel3, &AnimationLibrary::backLevel3,
                                  "level3bgm", kLevel3Floor, kLevel3Blocks, pillarTiles(),
                                  "breakableblockLevel3", 150);
    stage.buildEnemies = [difficulty](Level& level) {
        readEnemyTuning("enemyGrunt2", difficulty, missileEnemyKeys());
        level.library->loadEnemyMissile3();
        const Animation* walk = level.library->loadEnemy3();
        for (Cell at : {Cell{10, 5}, Cell{9, 6}, Cell{10, 6}}) {
            Enemy ninja = makeEnemy(level, AnimationLibrary::SetEnemy3, walk, at, enemySpeed,
                                    enemyHealth);
            ninja.stopWhenIdle = true;
            ninja.firesMissiles = true;
            ninja.fireWaitTime = static_cast<uint32_t>(missileFireWaitTime);
            ninja.startStopDust = true;
            ninja.setNinjaSounds();
            level.enemies.push_front(ninja);
        }
    };
    buildStage(*this, stage, players, difficulty);
}

void Level::loadLevel4(int players, int difficulty) {
    StageSetup stage = levelStage(4, &AnimationLibrary::introLevel4, &AnimationLibrary::backLevel4,
                                  "level4bgm", kLevel4Floor, kLevel4Blocks,
                                  standardTiles("Level4"), "breakableblockLevel4", 160);
    // Ice: players slide on; the blocks hatch replicating enemies.
    stage.playersOnIce = true;
    stage.blocksSpawnEnemies = true;
    stage.blockSpawnKind = 1;
    stage.buildEnemies = [difficulty](Level& level) {
        readEnemyTuning("replicatingEnemy", difficulty,
                        basicKeysAnd({"maxEnemies", "replicateChance", "replicateWaitTime",
                                      "replicateBlockChance"}));
        const Animation* walk = level.library->loadEnemy4();
        Enemy replicator = makeEnemy(level, AnimationLibrary::SetEnemy4, walk, Cell{9, 5},
                                     enemySpeed, enemyHealth);
        replicator.animateWhenIdle = true;
        replicator.replicates = true;
        level.enemies.push_front(replicator);
    };
    buildStage(*this, stage, players, difficulty);
}

void Level::loadLevel5(int players, int difficulty) {
    StageSetup stage = levelStage(5, &AnimationLibrary::introLevel5, &AnimationLibrary::backLevel5,
                                  "level5bgm", kLevel5Floor, kLevel5Blocks,
                                  standardTiles("Level5"), "breakableblockLevel5", 240);
    stage.startCells[1][0] = 17;
    stage.startCells[3][0] = 17;
    stage.blocksSpawnEnemies = true;
    stage.blockSpawnKind = 0;
    stage.blockEnemyCellCheck = true;
    stage.buildEnemies = [difficulty](Level& level) {
        readEnemyTuning("dragonEnemy", difficulty,
                        basicKeysAnd({"dragonLength", "maxEnemies", "replicateChance",
                                      "replicateWaitTime", "replicateBlockChance", "dragonHealth",
                                      "dragonSpeed", "dragonSpeedIncrement"}));
        AnimationLibrary* library = level.library;
        const Cell start{9, 5};

        // The head leads; it is the list's last element.
        const Animation* headWalk = library->loadEnemy5Head();
        Enemy head = makeEnemy(level, AnimationLibrary::SetEnemy5Head, headWalk, start,
                               dragonSpeed, enemyHealth);
        head.animateWhenIdle = true;
        head.setDragonHead();
        head.invulnerable = true;
        head.setDragonHitSound();
        level.enemies.push_back(head);

        // Each part follows the one built just before it (the list's front).
        // A new dragon starts with no followers.
        dragonSegmentCount = 0;
        const Animation* bodyWalk = library->loadEnemy5Body();
        for (int i = 0; i < dragonLength; ++i) {
            Enemy body = makeEnemy(level, AnimationLibrary::SetEnemy5Body, bodyWalk, start,
                                   dragonSpeed, enemyHealth);
            body.animateWhenIdle = true;
            body.invulnerable = true;
            body.followSegment(&level.enemies.front());
            body.setDragonHitSound();
            level.enemies.push_front(body);
        }

        // Only the tail can be hurt; its death opens up the rest.
        const Animation* tailWalk = library->loadEnemy5Tail();
        Enemy tail = makeEnemy(level, AnimationLibrary::SetEnemy5Tail, tailWalk, start,
                               dragonSpeed, dragonHealth);
        tail.animateWhenIdle = true;
        tail.invulnerable = false;
        tail.isTail = true;
        tail.followSegment(&level.enemies.front());
        tail.setDragonHitSound();
        level.enemies.push_front(tail);

        // What the blocks hatch.
        library->loadEnemy5();
    };
    buildStage(*this, stage, players, difficulty);
}
