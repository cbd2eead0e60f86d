// Straight missiles: flight, what stops them, where the burst lands, and the
// wait after the burst across a pause.
#include <gtest/gtest.h>

#include <list>
#include <memory>

#include "actors/BreakableBlock.h"
#include "actors/Explosion.h"
#include "actors/Missile.h"
#include "actors/Powerup.h"
#include "world/WorldFixture.h"

namespace {

class MissileTest : public worldtest::WorldTest {
protected:
    Missile fire(int c, int r, int d) {
        Missile m;
        m.initMissile(cell::kMissile, kTileSize, c, r, 32, 32, layer::kObjects, &grid, false, 2.5f,
                      nullptr, &explosions, nullptr, d);
        return m;
    }
    // 15 ms frames until the missile bursts; false when it never does.
    bool flyUntilBurst(Missile& m, int maxFrames = 300) {
        for (int i = 0; i < maxFrames && !m.exploded; ++i) {
            plat::headless::advance(15);
            m.draw(*screen);
        }
        return m.exploded;
    }
    // The single burst's cell.
    std::pair<int, int> burstCell() const {
        EXPECT_EQ(explosions.size(), 1u);
        if (explosions.empty()) return {-1, -1};
        return {explosions.front().col, explosions.front().row};
    }

    std::list<Explosion> explosions;
    std::unique_ptr<plat::Surface> screen = plat::Surface::create(320, 256);
};

TEST_F(MissileTest, BurstsBeforeASolidWallAndIntoABreakableBlock) {
    put(5, 2, cell::kSolid);
    Missile m = fire(3, 2, dir::kRight);
    ASSERT_TRUE(flyUntilBurst(m));
    EXPECT_EQ(burstCell(), std::make_pair(4, 2));
    EXPECT_EQ(at(4, 2, layer::kExplosions), cell::kExplosion);
    EXPECT_TRUE(m.active);  // invisible until its sound has played
    EXPECT_EQ(at(4, 2), cell::kEmpty);
    EXPECT_EQ(at(3, 2), cell::kEmpty);

    explosions.clear();
    std::list<Powerup> powerups;
    BreakableBlock block;
    block.init(cell::kBreakable, kTileSize, 5, 5, 32, 32, layer::kObjects, Bitmap(), &grid,
               nullptr, &powerups, false, nullptr, BreakableBlock::kSpawnLevel4Kind);
    Missile intoBlock = fire(3, 5, dir::kRight);
    ASSERT_TRUE(flyUntilBurst(intoBlock));
    EXPECT_EQ(burstCell(), std::make_pair(5, 5));
    block.draw(*screen);
    EXPECT_FALSE(block.intact);
}

TEST_F(MissileTest, WhatStopsAMissile) {
    Missile m = fire(3, 2, dir::kRight);
    put(5, 2, cell::kPlayer);
    put(5, 3, cell::kEnemy);
    put(6, 2, cell::kMissile);
    put(6, 3, cell::kBomb);
    put(7, 2, cell::kBreakable);

    // Its shooter's marks around the launch cell let a fresh missile out.
    plat::headless::advance(90);
    EXPECT_FALSE(m.isBlocked(5, 2));
    EXPECT_FALSE(m.isBlocked(5, 3));
    plat::headless::advance(1);
    EXPECT_TRUE(m.isBlocked(5, 2));
    EXPECT_TRUE(m.isBlocked(5, 3));

    EXPECT_FALSE(m.isBlocked(6, 2));
    EXPECT_FALSE(m.isBlocked(0, 0));
    EXPECT_TRUE(m.isBlocked(6, 3));
    EXPECT_TRUE(m.isBlocked(7, 2));
    // Past the rim of the field.
    EXPECT_TRUE(m.isBlocked(10, 2));
    EXPECT_TRUE(m.isBlocked(3, -1));
}

// A missile that meets a player, an enemy or a bomb with one side of its box
// slides round it like any mover and flies on to the rim.
TEST_F(MissileTest, SlidesRoundActorsAndBombsItGrazes) {
    for (int v : {cell::kPlayer, cell::kEnemy, cell::kBomb}) {
        for (int side : {-1, 1}) {
            SCOPED_TRACE(testing::Message() << "value " << v << ", side " << side);
            grid.create(10, 8);
            explosions.clear();
            put(5, 4 + side, v);
            Missile m = fire(2, 4, dir::kRight);
            m.y = 4 * kTileSize + side * 10;  // reaching into the obstacle's row
            m.posY = float(m.y);
            ASSERT_TRUE(flyUntilBurst(m));
            EXPECT_EQ(burstCell(), std::make_pair(9, 4));
            EXPECT_EQ(at(5, 4 + side), v);
        }
    }
}

TEST_F(MissileTest, MissilesMeetingHeadOnPassThroughEachOther) {
    Missile right = fire(2, 2, dir::kRight);
    Missile left = fire(6, 2, dir::kLeft);
    for (int i = 0; i < 40; ++i) {
        plat::headless::advance(15);
        right.draw(*screen);
        left.draw(*screen);
    }
    EXPECT_FALSE(right.exploded);
    EXPECT_FALSE(left.exploded);
    EXPECT_GT(right.x, left.x);
}

TEST_F(MissileTest, BurstsExactlyOnceWhenTouchingAnExplosion) {
    Missile m = fire(3, 2, dir::kRight);
    put(3, 2, cell::kExplosion, layer::kExplosions);
    plat::headless::advance(15);
    m.draw(*screen);
    ASSERT_TRUE(m.exploded);
    EXPECT_EQ(burstCell(), std::make_pair(4, 2));
    m.explode();
    plat::headless::advance(15);
    m.draw(*screen);
    EXPECT_EQ(explosions.size(), 1u);
}

TEST_F(MissileTest, PauseHoldsTheWaitAfterTheBurst) {
    Missile m = fire(3, 2, dir::kDown);
    m.explode();
    plat::headless::advance(300);
    m.pause();
    plat::headless::advance(10000);
    m.resume();
    plat::headless::advance(400);
    m.draw(*screen);
    EXPECT_TRUE(m.active);
    plat::headless::advance(1);
    m.draw(*screen);
    EXPECT_FALSE(m.active);
    EXPECT_EQ(m.explosionSound, nullptr);
}

// The test grid has no edge ring: the rim of the grid stops a missile on
// every side, without letting it hang over the edge.
TEST_F(MissileTest, BurstsOnItsOwnCellAtTheRimOfTheField) {
    Missile m = fire(8, 2, dir::kRight);
    ASSERT_TRUE(flyUntilBurst(m));
    EXPECT_EQ(burstCell(), std::make_pair(9, 2));

    explosions.clear();
    Missile left = fire(2, 2, dir::kLeft);
    ASSERT_TRUE(flyUntilBurst(left));
    EXPECT_GE(left.x, 0);
    EXPECT_EQ(burstCell(), std::make_pair(0, 2));

    explosions.clear();
    Missile up = fire(4, 2, dir::kUp);
    ASSERT_TRUE(flyUntilBurst(up));
    EXPECT_GE(up.y, 0);
    EXPECT_EQ(burstCell(), std::make_pair(4, 0));
}

}  // namespace
