// Breakable blocks: breaking under fire, the powerup roll, enemies breaking
// blocks, and blocks that shake and turn into enemies.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <list>
#include <memory>
#include <vector>

#include "actors/BreakableBlock.h"
#include "actors/Enemy.h"
#include "actors/Explosion.h"
#include "actors/Missile.h"
#include "actors/Player.h"
#include "actors/Powerup.h"
#include "graphics/AnimationLibrary.h"
#include "graphics/GraphicsFixture.h"
#include "shell/Config.h"
#include "world/Random.h"
#include "world/TileGrid.h"

namespace {

// A seed after which the next `count` values of rand15() satisfy `want`,
// so a test can force the rolls it needs.
unsigned seedWhere(int count, const std::function<bool(const std::vector<int>&)>& want) {
    std::vector<int> v(std::size_t(count), 0);
    for (unsigned seed = 1; seed < (1u << 26); ++seed) {
        std::srand(seed);
        for (int& r : v) r = rand15();
        if (want(v)) return seed;
    }
    ADD_FAILURE() << "no seed found";
    return 1;
}

// Rolls that drop something whatever the kind boundaries.
bool anyDrop(const std::vector<int>& v) { return v[0] < 30000 && v[1] < 30000; }

class BlockTest : public gfxtest::GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        resetConfig();
        grid.create(8, 6);
        screen = plat::Surface::create(256, 192);
        // Enemies built by a block load their health bar.
        addSet("enemyhealthbarBack", 1, "", 4, 2);
        addSet("enemyhealthbarTop", 1, "", 4, 2);
        library.loadPowerups();
        library.loadEnemy4();
        library.loadEnemy5();
    }
    void TearDown() override {
        enemies.clear();
        resetConfig();
        GraphicsTest::TearDown();
    }

    BreakableBlock makeBlock(int c, int r, bool spawns = false) {
        BreakableBlock b;
        b.init(cell::kBreakable, kTileSize, c, r, 32, 32, layer::kObjects, Bitmap(), &grid,
               &library, &powerups, spawns, spawns ? &enemies : nullptr,
               BreakableBlock::kSpawnLevel4Kind);
        return b;
    }

    // The value of the powerup one roll drops with the rolls `want` picks
    // (0: nothing dropped).
    int dropUnder(BreakableBlock& b, const std::function<bool(const std::vector<int>&)>& want) {
        powerups.clear();
        std::srand(seedWhere(2, want));
        b.dropPowerup();
        return powerups.empty() ? 0 : powerups.front().value;
    }

    Enemy& addEnemy(bool active) {
        Enemy e;
        e.active = active;
        e.library = &library;
        e.enemies = &enemies;
        e.players = &players;
        e.missiles = &missiles;
        e.explosions = &explosions;
        enemies.push_back(e);
        return enemies.back();
    }

    // Runs out the block's spawn wait with a roll inside the spawn window.
    void startShaking(BreakableBlock& b) {
        plat::headless::advance(20001);
        // 0..150 scaled: about 50 to 96.
        std::srand(seedWhere(1, [](const std::vector<int>& v) {
            return v[0] >= 11000 && v[0] <= 21000;
        }));
        b.draw(*screen);
    }

    int at(int c, int r, int layerIndex = layer::kObjects) const {
        return grid.getTile(layerIndex, c, r);
    }

    TileGrid grid;
    std::unique_ptr<plat::Surface> screen;
    AnimationLibrary library;
    std::list<Powerup> powerups;
    std::list<Enemy> enemies;
    std::list<Player> players;
    std::list<Missile> missiles;
    std::list<Explosion> explosions;
};

TEST_F(BlockTest, BreaksUnderFireButDropsOnlyOnceTheFireIsOut) {
    powerupFrequency = 100;
    BreakableBlock block = makeBlock(3, 2);
    ASSERT_EQ(at(3, 2), cell::kBreakable);

    // Burning: broken, not drawn, but still an obstacle in the grid.
    for (int frame = 0; frame < 3; ++frame) {
        grid.setTile(layer::kExplosions, 3, 2, cell::kExplosion);
        block.draw(*screen);
        EXPECT_TRUE(block.active);
        EXPECT_FALSE(block.intact);
        EXPECT_EQ(at(3, 2), cell::kBreakable);
        EXPECT_TRUE(powerups.empty());
        plat::headless::advance(300);
    }

    grid.setTile(layer::kExplosions, 3, 2, cell::kEmpty);
    std::srand(seedWhere(2, [](const std::vector<int>& v) { return v[0] < 30000 && v[1] == 0; }));
    block.draw(*screen);
    EXPECT_FALSE(block.active);
    EXPECT_EQ(at(3, 2), cell::kEmpty);
    ASSERT_EQ(powerups.size(), 1u);
    const Powerup& drop = powerups.front();
    EXPECT_EQ(drop.value, cell::kDynamitePowerup);
    EXPECT_EQ(drop.col, 3);
    EXPECT_EQ(drop.row, 2);
    EXPECT_EQ(drop.layer, layer::kPowerups);
    EXPECT_EQ(at(3, 2, layer::kPowerups), cell::kDynamitePowerup);
}

TEST_F(BlockTest, DropChanceFollowsFrequencyAndDropLevel) {
    BreakableBlock block = makeBlock(1, 1);
    auto first = [](int r1) {
        return [r1](const std::vector<int>& v) { return v[0] == r1 && v[1] < 30000; };
    };

    powerupFrequency = 100;  // every first roll below 327 * 100
    EXPECT_NE(dropUnder(block, first(32699)), 0);
    EXPECT_EQ(dropUnder(block, first(32700)), 0);

    powerupFrequency = 0;
    EXPECT_EQ(dropUnder(block, first(0)), 0);

    block.dropLevel = 3;  // +20 percentage points
    EXPECT_NE(dropUnder(block, first(6539)), 0);
    EXPECT_EQ(dropUnder(block, first(6540)), 0);
}

TEST_F(BlockTest, KindComesFromTheCumulativeBoundaries) {
    powerupFrequency = 100;
    BreakableBlock block = makeBlock(1, 1);
    auto second = [](int r2) {
        return [r2](const std::vector<int>& v) { return v[0] < 30000 && v[1] == r2; };
    };

    // Defaults 4, 7, 10, 18, 70, 89, 96, 100 percent of 327.
    EXPECT_EQ(dropUnder(block, second(1308)), cell::kDynamitePowerup);
    EXPECT_EQ(dropUnder(block, second(1309)), cell::kMissilePowerup);
    EXPECT_EQ(dropUnder(block, second(3270)), cell::kHomingPowerup);
    EXPECT_EQ(dropUnder(block, second(5886)), cell::kKickPowerup);
    EXPECT_EQ(dropUnder(block, second(5887)), cell::kBombPowerup);
    EXPECT_EQ(dropUnder(block, second(29000)), cell::kFirePowerup);
    EXPECT_EQ(dropUnder(block, second(31392)), cell::kHealthPowerup);
    EXPECT_EQ(dropUnder(block, second(32700)), cell::kHammerPowerup);
    EXPECT_EQ(dropUnder(block, second(32701)), 0);

    // A boundary below the one before it leaves its own kind empty.
    missilePowerupBoundary = 2;
    EXPECT_EQ(dropUnder(block, second(700)), cell::kDynamitePowerup);
    EXPECT_EQ(dropUnder(block, second(1309)), cell::kHomingPowerup);
}

TEST_F(BlockTest, EnemyOnTheCellBreaksOnlyACheckingBlock) {
    powerupFrequency = 100;
    BreakableBlock plain = makeBlock(2, 2);
    BreakableBlock checking = makeBlock(4, 2);
    checking.setEnemyCellCheck();
    grid.setTile(layer::kObjects, 2, 2, cell::kEnemy);
    grid.setTile(layer::kObjects, 4, 2, cell::kEnemy);

    plain.draw(*screen);
    EXPECT_TRUE(plain.active);
    EXPECT_TRUE(plain.intact);
    EXPECT_EQ(at(2, 2), cell::kBreakable);

    std::srand(seedWhere(2, anyDrop));
    checking.draw(*screen);
    EXPECT_FALSE(checking.active);
    ASSERT_EQ(powerups.size(), 1u);

    // The enemy still stands there: the drop vanishes on its first draw.
    grid.setTile(layer::kObjects, 4, 2, cell::kEnemy);
    powerups.front().draw(*screen);
    EXPECT_FALSE(powerups.front().active);
    EXPECT_EQ(at(4, 2, layer::kPowerups), cell::kEmpty);
}

TEST_F(BlockTest, BlockBuiltBrokenGoesInItsFirstFrame) {
    powerupFrequency = 100;
    BreakableBlock block = makeBlock(5, 3);
    block.clearIntact();
    std::srand(seedWhere(2, anyDrop));
    block.draw(*screen);
    EXPECT_FALSE(block.active);
    EXPECT_EQ(at(5, 3), cell::kEmpty);
    EXPECT_EQ(powerups.size(), 1u);
}

TEST_F(BlockTest, ShakesWithinItsCellThenTurnsIntoANewEnemy) {
    addEnemy(true);  // the template
    BreakableBlock block = makeBlock(3, 2, true);
    startShaking(block);
    ASSERT_TRUE(block.shaking);

    const int home = 3 * kTileSize;
    bool moved = false;
    for (uint32_t t = 10; t <= 2500; t += 10) {
        plat::headless::advance(10);
        block.draw(*screen);
        ASSERT_TRUE(block.active) << "at " << t << " ms";
        EXPECT_GT(block.x, home - 3);
        EXPECT_LT(block.x, home + 3);
        EXPECT_EQ(block.y, 2 * kTileSize);
        moved = moved || block.x != home;
    }
    EXPECT_TRUE(moved);
    EXPECT_EQ(enemies.size(), 1u);

    plat::headless::advance(10);
    block.draw(*screen);
    EXPECT_FALSE(block.active);
    EXPECT_FALSE(block.intact);
    ASSERT_EQ(enemies.size(), 2u);
    const Enemy& spawned = enemies.front();
    EXPECT_TRUE(spawned.active);
    EXPECT_EQ(spawned.col, 3);
    EXPECT_EQ(spawned.row, 2);
    EXPECT_EQ(spawned.value, cell::kEnemy);
    EXPECT_EQ(spawned.health, enemyHealth);
    EXPECT_TRUE(spawned.animateWhenIdle);
    EXPECT_TRUE(spawned.replicates);
    EXPECT_EQ(spawned.enemies, &enemies);
    EXPECT_TRUE(powerups.empty());
}

TEST_F(BlockTest, SpawnRevivesAFallenEnemyWhereTheBlockStood) {
    Enemy& fallen = addEnemy(false);
    fallen.dead = true;
    fallen.health = -4;
    fallen.hasReplicated = true;
    fallen.col = 7;
    BreakableBlock block = makeBlock(2, 4, true);
    startShaking(block);
    ASSERT_TRUE(block.shaking);
    const int shakenX = block.x;
    plat::headless::advance(2501);
    block.draw(*screen);

    EXPECT_FALSE(block.active);
    ASSERT_EQ(enemies.size(), 1u);
    EXPECT_TRUE(fallen.active);
    EXPECT_FALSE(fallen.dead);
    EXPECT_FALSE(fallen.hasReplicated);
    EXPECT_EQ(fallen.health, enemyHealth);
    EXPECT_EQ(fallen.col, 2);
    EXPECT_EQ(fallen.row, 4);
    EXPECT_EQ(fallen.x, shakenX);
    EXPECT_FLOAT_EQ(fallen.posX, float(shakenX));
    EXPECT_FLOAT_EQ(fallen.posY, float(4 * kTileSize));
}

TEST_F(BlockTest, NoSpawnAtTheEnemyLimitOrFromDragonPartsAlone) {
    // Only dead dragon parts: nothing to copy, nothing to revive.
    Enemy& head = addEnemy(false);
    head.head = true;
    Enemy& tail = addEnemy(false);
    tail.segment = true;
    BreakableBlock block = makeBlock(3, 3, true);
    startShaking(block);
    EXPECT_FALSE(block.shaking);
    EXPECT_TRUE(block.active);

    // A live enemy to copy: the block shakes, until the limit is reached.
    addEnemy(true);
    startShaking(block);
    ASSERT_TRUE(block.shaking);
    plat::headless::advance(20);
    block.draw(*screen);
    maxEnemies = 1;
    plat::headless::advance(20);
    block.draw(*screen);
    EXPECT_FALSE(block.shaking);
    plat::headless::advance(5000);
    block.draw(*screen);
    EXPECT_TRUE(block.active);
    EXPECT_TRUE(block.intact);
    EXPECT_EQ(block.x, 3 * kTileSize);
    EXPECT_EQ(enemies.size(), 3u);
}

}  // namespace
