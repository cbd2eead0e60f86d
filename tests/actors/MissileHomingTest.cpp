// Homing missiles: which target they pick, how they turn onto the route, and
// where they burst.
#include <gtest/gtest.h>

#include <list>
#include <memory>

#include "actors/Enemy.h"
#include "actors/Explosion.h"
#include "actors/HomingMissile.h"
#include "actors/Player.h"
#include "world/WorldFixture.h"

namespace {

class HomingMissileTest : public worldtest::WorldTest {
protected:
    HomingMissile launch(int c, int r, int d, bool versus = false, int shooter = 1) {
        HomingMissile m;
        m.initHomingMissile(cell::kMissile, kTileSize, c, r, 32, 32, layer::kObjects, &grid, false,
                            2.5f, nullptr, &explosions, nullptr, d, &players, &enemies, versus,
                            shooter);
        return m;
    }
    void addEnemy(int c, int r) {
        Enemy e;
        e.active = true;
        e.col = c;
        e.row = r;
        enemies.push_back(e);
    }
    void addPlayer(int number, int c, int r, bool dead = false) {
        Player p;
        p.number = number;
        p.dead = dead;
        p.col = c;
        p.row = r;
        p.x = c * kTileSize;
        p.y = r * kTileSize;
        p.width = p.height = 32;
        players.push_back(p);
    }
    // One 15 ms frame; the direction the missile then flies in (-1 none).
    int step(HomingMissile& m) {
        plat::headless::advance(15);
        m.draw(*screen);
        for (int d = 0; d < dir::kCount; ++d)
            if (m.directionFlags[d]) return d;
        return -1;
    }
    bool flyUntilBurst(HomingMissile& m, int maxFrames = 300) {
        for (int i = 0; i < maxFrames && !m.exploded; ++i) step(m);
        return m.exploded;
    }
    std::pair<int, int> burstCell() const {
        EXPECT_EQ(explosions.size(), 1u);
        if (explosions.empty()) return {-1, -1};
        return {explosions.front().col, explosions.front().row};
    }

    std::list<Explosion> explosions;
    std::list<Enemy> enemies;
    std::list<Player> players;
    std::unique_ptr<plat::Surface> screen = plat::Surface::create(320, 256);
};

TEST_F(HomingMissileTest, NearestEnemyWinsAndTiesGoToTheFirstInTheList) {
    addEnemy(2, 5);  // distance 9, to the left
    addEnemy(8, 5);  // distance 9, to the right
    HomingMissile first = launch(5, 5, dir::kUp);
    EXPECT_EQ(step(first), dir::kLeft);

    enemies.reverse();
    HomingMissile second = launch(5, 5, dir::kUp);
    EXPECT_EQ(step(second), dir::kRight);

    // A nearer enemy later in the list wins; an inactive one never counts.
    enemies.reverse();
    addEnemy(5, 6);  // the cell behind it: inactive
    enemies.back().active = false;
    addEnemy(7, 5);
    HomingMissile third = launch(5, 5, dir::kUp);
    EXPECT_EQ(step(third), dir::kRight);
    EXPECT_EQ(third.nextStep.x, 6);
}

TEST_F(HomingMissileTest, VersusNeverHuntsTheShooterOrTheDead) {
    addPlayer(1, 6, 5);        // the shooter, nearest
    addPlayer(2, 5, 6, true);  // dead
    addPlayer(3, 5, 1);
    HomingMissile m = launch(5, 5, dir::kRight, true, 1);
    EXPECT_EQ(step(m), dir::kUp);
    EXPECT_FALSE(m.noTarget);

    // With only the shooter alive it has no target and flies straight on.
    players.back().dead = true;
    HomingMissile lonely = launch(5, 5, dir::kRight, true, 1);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(step(lonely), dir::kRight);
    EXPECT_TRUE(lonely.noTarget);
}

TEST_F(HomingMissileTest, NeverReversesAndBurstsWhereItIsBlocked) {
    addEnemy(1, 5);  // straight behind it
    put(8, 5, cell::kSolid);
    HomingMissile m = launch(5, 5, dir::kRight);
    for (int i = 0; i < 300 && !m.exploded; ++i) ASSERT_EQ(step(m), dir::kRight);
    ASSERT_TRUE(m.exploded);
    EXPECT_EQ(burstCell(), std::make_pair(7, 5));
}

TEST_F(HomingMissileTest, TurnsOntoTheRouteAndFollowsAMovingTarget) {
    addEnemy(2, 1);
    HomingMissile m = launch(2, 5, dir::kRight);
    EXPECT_EQ(step(m), dir::kUp);
    EXPECT_EQ(step(m), dir::kUp);
    // The route is searched again every frame.
    enemies.front().col = 7;
    enemies.front().row = m.row;
    EXPECT_EQ(step(m), dir::kRight);
    EXPECT_FALSE(m.exploded);
}

TEST_F(HomingMissileTest, BurstsIntoTheTargetItFliesAt) {
    addEnemy(2, 1);
    put(2, 1, cell::kEnemy);
    HomingMissile m = launch(2, 5, dir::kUp);
    ASSERT_TRUE(flyUntilBurst(m));
    EXPECT_EQ(burstCell(), std::make_pair(2, 1));
}

// A turn leaves the missile off its cell line, so it meets a target with
// one side of its box; it must burst on the target, not slide round it.
TEST_F(HomingMissileTest, ReachesAStandingEnemyAnywhereAheadInAnOpenField) {
    for (int c = 3; c < 9; ++c) {
        for (int r = 0; r < 8; ++r) {
            // Right after launch a missile passes actors' marks (its
            // shooter's): an enemy on the very next cell is flown into.
            if (c == 3 && r == 5) continue;
            grid.create(10, 8);
            explosions.clear();
            enemies.clear();
            addEnemy(c, r);
            put(c, r, cell::kEnemy);
            HomingMissile m = launch(2, 5, dir::kRight);
            ASSERT_TRUE(flyUntilBurst(m, 600)) << "enemy at " << c << "," << r;
            EXPECT_EQ(burstCell(), std::make_pair(c, r)) << "enemy at " << c << "," << r;
        }
    }
}

// Off its cell line after a turn, a missile meets things with one side of
// its box. It bursts on the target it hunts, on the target's own cell even
// when its centre lies in the next row; round anything else it slides like
// any mover: a teammate, or in versus its shooter.
TEST_F(HomingMissileTest, BurstsOnItsTargetAndSlidesRoundTheRest) {
    // From (c, r) flying d, offset pixels off its line (below a row, right
    // of a column); the burst.
    auto fly = [&](bool versus, int offset, int c = 2, int r = 5, int d = dir::kRight) {
        HomingMissile m = launch(c, r, d, versus, 1);
        if (d == dir::kRight || d == dir::kLeft) {
            m.y = r * kTileSize + offset;
            m.posY = float(m.y);
        } else {
            m.x = c * kTileSize + offset;
            m.posX = float(m.x);
        }
        EXPECT_TRUE(flyUntilBurst(m));
        return burstCell();
    };
    auto reset = [&] {
        grid.create(10, 8);
        explosions.clear();
        enemies.clear();
        players.clear();
    };
    auto stand = [&](int c, int r, int v) {
        if (v == cell::kEnemy) addEnemy(c, r);
        put(c, r, v);
    };
    const auto target = std::make_pair(8, 5);
    const auto rim = std::make_pair(9, 5);

    // Past a teammate to the enemy.
    stand(8, 5, cell::kEnemy);
    put(4, 6, cell::kPlayer);
    EXPECT_EQ(fly(false, 10), target);
    EXPECT_EQ(at(4, 6, layer::kExplosions), cell::kEmpty);

    // Versus: past its shooter to player 2; with player 2 dead it has no
    // target and flies on past its shooter like a plain missile.
    for (bool targetAlive : {true, false}) {
        SCOPED_TRACE(targetAlive);
        reset();
        addPlayer(1, 4, 6);
        put(4, 6, cell::kPlayer);
        addPlayer(2, 8, 5, !targetAlive);
        if (targetAlive) put(8, 5, cell::kPlayer);
        EXPECT_EQ(fly(true, 10), targetAlive ? target : rim);
    }

    // Versus, the other player (its shooter or a bystander) beside the line
    // in the hunted player's column: slid round on the way to the target
    // above the line. The two stand as far from the line, and the target,
    // first in the list, wins the tie; a wall along row 4 keeps the route on
    // row 5 up to the target's column.
    for (int other : {1, 3}) {
        SCOPED_TRACE(other);
        reset();
        for (int c = 0; c < 8; ++c) put(c, 4, cell::kSolid);
        addPlayer(2, 8, 4);
        put(8, 4, cell::kPlayer);
        if (other != 1) addPlayer(1, 0, 0);
        addPlayer(other, 8, 6);
        put(8, 6, cell::kPlayer);
        EXPECT_EQ(fly(true, 10), std::make_pair(8, 4));
    }
    // In the hunted player's row: the target at (8, 6) beside the line, its
    // shooter beside it too at (4, 6); walls under the rest of the way keep
    // the route on row 5.
    reset();
    for (int c = 5; c < 8; ++c) put(c, 6, cell::kSolid);
    addPlayer(1, 4, 6);
    put(4, 6, cell::kPlayer);
    addPlayer(2, 8, 6);
    put(8, 6, cell::kPlayer);
    EXPECT_EQ(fly(true, 10), std::make_pair(8, 6));

    // Its centre in row 6, stopped by the target's corner in row 5: the
    // burst goes on the target, not on the empty cell ahead of its centre.
    for (bool versus : {false, true}) {
        SCOPED_TRACE(versus);
        reset();
        if (versus) addPlayer(2, 8, 5);
        stand(8, 5, versus ? cell::kPlayer : cell::kEnemy);
        EXPECT_EQ(fly(versus, 20), target);
    }

    // Versus, the target mid-walk: its box covers two cells, and meeting
    // either one is reaching it, not only the cell under its centre.
    // Between columns 7 and 8, its centre in column 8, met in column 7.
    reset();
    addPlayer(2, 8, 5);
    players.back().x = 7 * kTileSize + 20;
    put(7, 5, cell::kPlayer);
    put(8, 5, cell::kPlayer);
    EXPECT_EQ(fly(true, 10), std::make_pair(7, 5));
    // Met on its second cell, neither its centre's nor its top-left one.
    // Between rows 4 and 5, its centre in row 4, met in row 5 from the left.
    reset();
    for (int c = 0; c < 8; ++c) put(c, 4, cell::kSolid);
    addPlayer(2, 8, 4);
    players.back().y = 4 * kTileSize + 12;
    put(8, 4, cell::kPlayer);
    put(8, 5, cell::kPlayer);
    EXPECT_EQ(fly(true, 10), target);
    // Between columns 7 and 8, its centre in column 7, met in column 8 from
    // above; a wall down column 7 keeps the route in column 8.
    reset();
    for (int r = 0; r < 5; ++r) put(7, r, cell::kSolid);
    addPlayer(2, 7, 5);
    players.back().x = 7 * kTileSize + 12;
    put(7, 5, cell::kPlayer);
    put(8, 5, cell::kPlayer);
    EXPECT_EQ(fly(true, 10, 8, 1, dir::kDown), target);
}

TEST_F(HomingMissileTest, TargetOnItsOwnCellBurstsAtOnce) {
    addEnemy(5, 5);
    HomingMissile open = launch(5, 5, dir::kUp);
    step(open);
    ASSERT_TRUE(open.exploded);
    EXPECT_FALSE(open.isMoving());
    EXPECT_EQ(burstCell(), std::make_pair(5, 4));

    // In front of a wall the burst stays on its own cell.
    explosions.clear();
    put(5, 4, cell::kSolid);
    HomingMissile walled = launch(5, 5, dir::kUp);
    step(walled);
    ASSERT_TRUE(walled.exploded);
    EXPECT_EQ(burstCell(), std::make_pair(5, 5));
}

}  // namespace
