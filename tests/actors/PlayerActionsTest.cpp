// What a player does to the field: bombs, kicks, dynamite, missiles, the
// hammer and pick-ups.
#include "actors/PlayerFixture.h"

namespace playertest {
namespace {

using PlayerActionsTest = PlayerTest;

int bombsAt(const std::list<Bomb>& bombs, int c, int r) {
    return int(std::count_if(bombs.begin(), bombs.end(), [&](const Bomb& b) {
        return b.active && !b.exploded && b.col == c && b.row == r;
    }));
}

TEST_F(PlayerActionsTest, TheBombCountLimitsBombsUntilOneExplodes) {
    ASSERT_TRUE(input.init());
    Player& p = addPlayer(3, 3);
    hold(Player::KeyPrimary, true, true);
    pass(p, 30);  // the bomb key is polled every 60 ms
    EXPECT_TRUE(bombs.empty());
    pass(p, 31);
    ASSERT_EQ(bombs.size(), 1u);
    const Bomb& bomb = bombs.front();
    EXPECT_EQ(bomb.owner, &p);
    EXPECT_EQ(bomb.power, 1);
    EXPECT_FALSE(bomb.isDynamite);
    EXPECT_EQ(bombsAt(bombs, 3, 3), 1);
    EXPECT_EQ(p.bombsPlaced, 1);
    EXPECT_EQ(plays("bombDrop"), 1);

    // Held on, and walked elsewhere: nothing more while the bomb lies.
    for (int i = 0; i < 50; ++i) pass(p, 61);
    moveTo(p, 5 * 32, 3 * 32);
    pass(p, 61);
    EXPECT_EQ(bombs.size(), 1u);

    p.bombExploded();
    pass(p, 61);
    EXPECT_EQ(bombsAt(bombs, 5, 3), 1);

    p.bombExploded();
    p.bombExploded();
    p.bombExploded();
    EXPECT_EQ(p.bombsPlaced, 0);
}

TEST_F(PlayerActionsTest, ASecondBombOnTheSameCellWaitsForTheFuseTime) {
    Player& p = addPlayer(3, 3);
    p.setBombCount(3);
    p.dropBomb();
    plat::headless::advance(uint32_t(bombTime));
    p.dropBomb();
    EXPECT_EQ(bombs.size(), 1u);
    plat::headless::advance(1);
    p.dropBomb();
    EXPECT_EQ(bombsAt(bombs, 3, 3), 2);

    // Another cell at once.
    moveTo(p, 4 * 32, 3 * 32);
    p.dropBomb();
    EXPECT_EQ(bombsAt(bombs, 4, 3), 1);
    EXPECT_EQ(p.bombsPlaced, 3);
}

TEST_F(PlayerActionsTest, KickingSlidesTheBombAheadAndLiftsTheReDropGuard) {
    Player& p = addPlayer(4, 3);
    p.kick = true;
    p.setBombCount(2);
    p.dropBomb();
    moveTo(p, 3 * 32, 3 * 32);
    put(4, 3, cell::kBomb);  // the bomb marks its cell once the player is off it
    EXPECT_EQ(p.lastBombColumn, 4);

    // Only a bomb in the walking direction is kicked.
    p.setDirection(dir::kUp);
    p.kickBombs();
    EXPECT_FALSE(bombs.front().isMoving());

    p.setDirection(dir::kRight);
    p.kickBombs();
    EXPECT_TRUE(bombs.front().directionFlags[dir::kRight]);
    EXPECT_EQ(p.lastBombColumn, 0);
    EXPECT_EQ(p.lastBombRow, 0);
    EXPECT_EQ(plays("kick"), 0);  // within 500 ms of set-up
    plat::headless::advance(501);
    p.kickBombs();
    p.kickBombs();
    EXPECT_EQ(plays("kick"), 1);

    // The old cell takes a new bomb at once.
    moveTo(p, 4 * 32, 3 * 32);
    p.dropBomb();
    EXPECT_EQ(bombs.size(), 2u);
}

// Walking right into a bomb, frame by frame as in a round: without the
// ability the bomb only stops the player; with it, the bomb on the cell
// ahead slides off and stops at the next bomb. Bombs on other cells of the
// same row or column stay.
TEST_F(PlayerActionsTest, AWalkingPlayerKicksOnlyWithTheAbilityAndOnlyTheBombAhead) {
    ASSERT_TRUE(input.init());
    Player& p = addPlayer(2, 3);
    auto stick = [&](int c, int r) -> Bomb& {
        Bomb b;
        b.init(cell::kBomb, kTileSize, c, r, 32, 32, layer::kObjects, &grid, false, bombSpeed,
               nullptr, &explosions, &lib, 1, nullptr, true);
        bombs.push_front(b);
        return bombs.front();
    };
    Bomb& ahead = stick(4, 3);
    Bomb& below = stick(4, 5);
    Bomb& further = stick(6, 3);

    hold(Player::KeyRight, true, true);
    for (int i = 0; i < 40; ++i) {
        pass(p, 15);
        fieldFrame(0);
    }
    EXPECT_EQ(p.col, 3);
    EXPECT_LE(p.x + 31, 4 * 32 - 1);  // stopped by the bomb
    EXPECT_FALSE(ahead.isMoving());
    EXPECT_EQ(ahead.x, 4 * 32);
    EXPECT_EQ(plays("kick"), 0);

    p.kick = true;
    bool slid = false;
    for (int i = 0; i < 60 && !(slid && !ahead.isMoving()); ++i) {
        pass(p, 15);
        fieldFrame(0);
        slid = slid || ahead.isMoving();
    }
    EXPECT_TRUE(slid);
    EXPECT_FALSE(ahead.isMoving());
    EXPECT_EQ(ahead.col, 5);
    EXPECT_EQ(at(5, 3), cell::kBomb);
    for (Bomb* other : {&below, &further}) {
        EXPECT_FALSE(other->isMoving());
        EXPECT_EQ(other->x, other->col * 32);
    }
    EXPECT_EQ(below.col, 4);
    EXPECT_EQ(below.row, 5);
    EXPECT_EQ(further.col, 6);
    EXPECT_EQ(plays("kick"), 1);
}

// Powerups lying in the way, walked over frame by frame as in a round: each
// applies once, with its sound, and is gone from the field.
TEST_F(PlayerActionsTest, WalkingOverPowerupsPicksEachUpOnce) {
    ASSERT_TRUE(input.init());
    Player& p = addPlayer(2, 3);
    const int laid[][2] = {{4, cell::kBombPowerup}, {5, cell::kFirePowerup}, {7, cell::kKickPowerup}};
    for (const auto& [c, v] : laid) {
        Powerup powerup;
        powerup.initAnimated(v, kTileSize, c, 3, 32, 32, layer::kPowerups, &grid, Animation());
        powerups.push_front(powerup);
    }

    hold(Player::KeyRight, true, true);
    for (int i = 0; i < 200 && p.x < 7 * 32; ++i) {
        pass(p, 15);
        fieldFrame(0);
    }
    hold(Player::KeyRight, false, true);
    for (int i = 0; i < 20; ++i) {
        pass(p, 15);
        fieldFrame(0);
    }
    EXPECT_EQ(p.bombCount, 2);
    EXPECT_EQ(p.bombPower, 2);
    EXPECT_TRUE(p.kick);
    EXPECT_EQ(plays("powerup"), 3);
    for (const Powerup& powerup : powerups) EXPECT_FALSE(powerup.active) << powerup.col;
    for (const auto& [c, v] : laid) EXPECT_EQ(at(c, 3, layer::kPowerups), cell::kEmpty) << c;
}

TEST_F(PlayerActionsTest, DynamiteGoesOffByRemoteAndOwnerlessOnlyWithTheDevice) {
    ASSERT_TRUE(input.init());
    for (bool device : {true, false}) {
        SCOPED_TRACE(device ? "keyboard device" : "window messages");
        bombs.clear();
        explosions.clear();
        Player& p = addPlayer(3, 3, 1, 3.0f, false, device ? kDeviceKeys : kWindowKeys);
        p.dynamite = true;
        p.dropBomb();
        ASSERT_TRUE(bombs.front().isDynamite);
        Bomb& mine = bombs.front();
        Bomb nobodys;
        nobodys.init(cell::kBomb, kTileSize, 6, 5, 32, 32, layer::kObjects, &grid, false,
                     bombSpeed, nullptr, &explosions, &lib, 3, nullptr, true);
        bombs.push_front(nobodys);
        Bomb& ownerless = bombs.front();

        hold(Player::KeySecondary, true, device);
        pass(p, 100, device);  // the detonator is polled every 120 ms
        EXPECT_FALSE(mine.exploded);
        pass(p, 21, device);
        EXPECT_TRUE(mine.exploded);
        EXPECT_EQ(ownerless.exploded, device);
        EXPECT_EQ(p.bombsPlaced, 0);
        hold(Player::KeySecondary, false, device);
    }
}

// Giving up dynamite leaves the sticks lying: they still count against the
// bomb count, and their owner's secondary key still sets them off.
TEST_F(PlayerActionsTest, DynamiteLeftBehindStillCountsAndStillGoesOffByRemote) {
    ASSERT_TRUE(input.init());
    Player& p = addPlayer(3, 3);
    p.dynamite = true;
    p.dropBomb();
    ASSERT_EQ(bombs.size(), 1u);
    Bomb& stick = bombs.front();
    ASSERT_TRUE(stick.isDynamite);

    put(3, 3, cell::kHealthPowerup, layer::kPowerups);
    p.collectPowerups();
    ASSERT_FALSE(p.dynamite);
    EXPECT_EQ(p.bombsPlaced, 1);
    moveTo(p, 5 * 32, 3 * 32);
    p.dropBomb();
    EXPECT_EQ(bombs.size(), 1u);  // a bomb count of 1 and one stick lying

    // A stick that belongs to nobody needs the ability itself.
    Bomb nobodys;
    nobodys.init(cell::kBomb, kTileSize, 6, 5, 32, 32, layer::kObjects, &grid, false, bombSpeed,
                 nullptr, &explosions, &lib, 3, nullptr, true);
    bombs.push_back(nobodys);
    const Bomb& ownerless = bombs.back();

    hold(Player::KeySecondary, true, true);
    pass(p, 121);
    EXPECT_TRUE(stick.exploded);
    EXPECT_EQ(stick.owner, &p);
    EXPECT_FALSE(ownerless.exploded);
    EXPECT_EQ(p.bombsPlaced, 0);
    p.dropBomb();
    ASSERT_EQ(bombs.size(), 3u);
    EXPECT_FALSE(bombs.front().isDynamite);

    // Without dynamite the key leaves ordinary bombs to their fuse.
    pass(p, 121);
    EXPECT_FALSE(bombs.front().exploded);
    EXPECT_EQ(p.bombsPlaced, 1);
}

TEST_F(PlayerActionsTest, MissileAbilityGivesItsShotsOnePerInterval) {
    ASSERT_TRUE(input.init());
    maxMissiles = 3;
    Player& p = addPlayer(3, 3);
    p.direction = dir::kRight;  // facing right, standing
    p.missile = true;
    hold(Player::KeySecondary, true, true);

    pass(p, 1000);
    EXPECT_TRUE(missiles.empty());
    pass(p, 1);
    ASSERT_EQ(missiles.size(), 1u);
    EXPECT_EQ(missiles.front().col, 4);
    EXPECT_TRUE(missiles.front().directionFlags[dir::kRight]);
    EXPECT_EQ(p.missilesFired, 1);
    put(4, 3, cell::kEmpty);  // it has flown on

    pass(p, 500);
    EXPECT_EQ(missiles.size(), 1u);
    pass(p, 501);
    put(4, 3, cell::kEmpty);
    pass(p, 1001);
    EXPECT_EQ(missiles.size(), 3u);
    EXPECT_EQ(plays("missile"), 3);
    EXPECT_FALSE(p.missile);
    EXPECT_EQ(p.missilesFired, 0);
    pass(p, 1001);
    EXPECT_EQ(missiles.size(), 3u);

    // Homing: its own list, hunting for the shooter.
    put(4, 3, cell::kEmpty);
    p.homingMissile = true;
    pass(p, 1001);
    ASSERT_EQ(homingMissiles.size(), 1u);
    EXPECT_EQ(homingMissiles.front().shooterNumber, 1);
    EXPECT_FALSE(homingMissiles.front().targetsPlayers);
    EXPECT_EQ(p.missilesFired, 1);

    // With no shots configured the ability goes at the first try.
    maxMissiles = 0;
    p.homingMissile = false;
    p.missile = true;
    pass(p, 1001);
    EXPECT_FALSE(p.missile);
    EXPECT_EQ(missiles.size(), 3u);
}

TEST_F(PlayerActionsTest, AShotAtANeighbourBurstsThereOrIsSpentOnAWall) {
    Player& p = addPlayer(1, 3);
    p.direction = dir::kLeft;  // the wall
    p.missile = true;
    p.fireMissile();
    EXPECT_TRUE(missiles.empty());
    EXPECT_TRUE(explosions.empty());
    EXPECT_EQ(plays("missile"), 0);

    p.direction = dir::kRight;
    put(2, 3, cell::kBreakable);
    p.fireMissile();
    EXPECT_TRUE(missiles.empty());
    ASSERT_EQ(explosions.size(), 1u);
    EXPECT_EQ(at(2, 3, layer::kExplosions), cell::kExplosion);
    put(2, 3, cell::kEnemy);
    p.fireHomingMissile();
    EXPECT_TRUE(homingMissiles.empty());
    EXPECT_EQ(explosions.size(), 2u);
    EXPECT_EQ(plays("missile"), 2);

    // A shot through the timer at the wall still costs one.
    p.direction = dir::kLeft;
    plat::headless::advance(1001);
    p.shootMissile();
    EXPECT_EQ(p.missilesFired, 1);
}

TEST_F(PlayerActionsTest, TheHammerBuildsOrBreaksOncePerPress) {
    ASSERT_TRUE(input.init());
    Player& p = addPlayer(3, 3);
    p.direction = dir::kRight;
    p.hammer = true;
    hold(Player::KeySecondary, true, true);
    for (int i = 0; i < 5; ++i) pass(p, 11);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(at(4, 3), cell::kBreakable);
    EXPECT_EQ(blocks.front().image.width, 32);
    EXPECT_EQ(plays("block"), 1);

    hold(Player::KeySecondary, false, true);
    pass(p, 11);
    hold(Player::KeySecondary, true, true);
    pass(p, 11);
    EXPECT_FALSE(blocks.front().active);
    EXPECT_EQ(at(4, 3), cell::kEmpty);
    EXPECT_TRUE(powerups.empty());
    EXPECT_EQ(plays("block"), 2);

    // Nothing against a wall, a bomb or an enemy.
    for (int v : {cell::kSolid, cell::kBomb, cell::kEnemy}) {
        put(4, 3, v);
        p.useHammer();
        EXPECT_EQ(at(4, 3), v);
    }
    EXPECT_EQ(blocks.size(), 1u);
}

TEST_F(PlayerActionsTest, TheHammerNeverBuildsOntoAPlayerOrAnEnemy) {
    Player& p = addPlayer(3, 3);
    p.direction = dir::kRight;
    p.hammer = true;
    // Half a cell on, its own hitbox reaches into the cell ahead (column 4).
    moveTo(p, 106, 3 * 32);
    ASSERT_EQ(p.aheadColumn(), 4);
    p.useHammer();
    EXPECT_TRUE(blocks.empty());

    // Another player standing there.
    moveTo(p, 3 * 32, 3 * 32);
    Player& other = addPlayer(4, 3, 2);
    p.useHammer();
    EXPECT_TRUE(blocks.empty());
    EXPECT_EQ(at(4, 3), cell::kPlayer);

    // An enemy reaching into it whose mark a neighbour's step has wiped.
    moveTo(other, 6 * 32, 3 * 32);
    Enemy enemy;
    enemy.active = true;
    enemy.width = enemy.height = 32;
    enemy.x = 4 * 32 + 20;
    enemy.y = 3 * 32;
    enemies.push_back(enemy);
    put(4, 3, cell::kEmpty);
    p.useHammer();
    EXPECT_TRUE(blocks.empty());

    enemies.back().active = false;  // gone: the cell takes a block
    p.useHammer();
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(at(4, 3), cell::kBreakable);
}

TEST_F(PlayerActionsTest, PickUpsApplyInOrderAndSpecialsExcludeEachOther) {
    Player& p = addPlayer(3, 3);
    // Straddling cells 3 and 4: the hitbox touches both.
    moveTo(p, 3 * 32 + 16, 3 * 32);
    auto under = [&](int left, int right) {
        put(3, 3, left, layer::kPowerups);
        put(4, 3, right, layer::kPowerups);
        p.collectPowerups();
    };

    under(cell::kBombPowerup, cell::kFirePowerup);
    EXPECT_EQ(p.bombCount, 2);
    EXPECT_EQ(p.bombPower, 2);
    EXPECT_EQ(plays("powerup"), 2);

    under(cell::kKickPowerup, cell::kDynamitePowerup);
    EXPECT_TRUE(p.kick);
    EXPECT_TRUE(p.dynamite);

    // Of two specials the later one in the table stays; the dynamite still
    // lying keeps counting against the bomb count.
    p.bombsPlaced = 2;
    p.missilesFired = 4;
    under(cell::kMissilePowerup, cell::kHammerPowerup);
    EXPECT_TRUE(p.missile);
    EXPECT_FALSE(p.hammer);
    EXPECT_FALSE(p.dynamite);
    EXPECT_EQ(p.missilesFired, 0);
    EXPECT_EQ(p.bombsPlaced, 2);

    under(cell::kHomingPowerup, cell::kEmpty);
    EXPECT_TRUE(p.homingMissile);
    EXPECT_FALSE(p.missile);
    under(cell::kHammerPowerup, cell::kEmpty);
    EXPECT_TRUE(p.hammer);
    EXPECT_FALSE(p.homingMissile);

    // Health: back to the starting health, specials gone, kick kept.
    p.dynamite = true;
    p.homingMissile = false;
    p.bombsPlaced = 1;
    p.health = 40;
    under(cell::kHealthPowerup, cell::kEmpty);
    EXPECT_EQ(p.health, maxHealth);
    EXPECT_FALSE(p.dynamite);
    EXPECT_EQ(p.bombsPlaced, 1);
    EXPECT_TRUE(p.kick);
    EXPECT_EQ(plays("health"), 1);

    multiplayerMaxHealth = 150;
    Player& v = addPlayer(5, 5, 2, 3.0f, true);
    v.health = 10;
    put(5, 5, cell::kHealthPowerup, layer::kPowerups);
    v.collectPowerups();
    EXPECT_EQ(v.health, 150);
}

}  // namespace
}  // namespace playertest
