// The player's keys, walking and momentum, damage and death, and its HUD.
#include <cstdio>

#include "actors/PlayerFixture.h"
#include "shell/CException.h"

namespace playertest {
namespace {

TEST_F(PlayerTest, DirectionKeysWorkInBothModesAndTheLastHeldKeyWins) {
    ASSERT_TRUE(input.init());
    for (bool device : {true, false}) {
        SCOPED_TRACE(device ? "keyboard device" : "window messages");
        Player& p = addPlayer(3, 3, 1, 3.0f, false, device ? kDeviceKeys : kWindowKeys);

        // The other source's table is never read.
        if (device)
            windowKeys[kWindowKeys[Player::KeyRight]] = 1;
        else
            plat::headless::setKeyState(kDeviceKeys[Player::KeyRight], true);
        pass(p, 11, device);
        EXPECT_FALSE(p.isMoving());
        std::memset(windowKeys, 0, sizeof windowKeys);
        plat::headless::clearKeyStates();

        hold(Player::KeyRight, true, device);
        pass(p, 5, device);  // within the 10 ms poll interval
        EXPECT_FALSE(p.isMoving());
        pass(p, 6, device);
        EXPECT_TRUE(p.directionFlags[dir::kRight]);
        EXPECT_EQ(p.speed, 3.0f);

        hold(Player::KeyUp, true, device);
        pass(p, 11, device);
        EXPECT_FALSE(p.directionFlags[dir::kRight]);
        EXPECT_TRUE(p.directionFlags[dir::kUp]);

        // Back to right: a turn, not a reversal, raises no dust.
        hold(Player::KeyUp, false, device);
        pass(p, 11, device);
        EXPECT_TRUE(p.directionFlags[dir::kRight]);
        EXPECT_TRUE(p.dustEffects.empty());

        hold(Player::KeyRight, false, device);
        hold(Player::KeyLeft, true, device);
        pass(p, 11, device);
        EXPECT_TRUE(p.directionFlags[dir::kLeft]);
        ASSERT_EQ(p.dustEffects.size(), 1u);
        EXPECT_EQ(p.dustEffects.front().x, p.x);
        EXPECT_EQ(p.dustEffects.front().y, p.y);
        EXPECT_EQ(p.dustEffects.front().layer, layer::kPowerups);

        hold(Player::KeyLeft, false, device);
    }
}

TEST_F(PlayerTest, WalkSpeedIsWholeWhileFramesAreTimedForTheExactSpeed) {
    Player& p = addPlayer(3, 3, 1, 3.5f);
    EXPECT_EQ(p.baseSpeed, 3);
    // 100 ms frames at speed 2; at 3.5 they run 1.75 times as fast.
    EXPECT_EQ(p.directionAnimations[dir::kUp].frameTime, 57u);
    EXPECT_EQ(p.hitAnimations[dir::kUp].frameTime, 57u);
    EXPECT_EQ(p.deathAnimation.frameTime, 170u);
    EXPECT_TRUE(p.stopWhenIdle);

    ASSERT_TRUE(input.init());
    hold(Player::KeyDown, true, true);
    pass(p, 11);
    EXPECT_EQ(p.speed, 3.0f);

    // A speed of 0 leaves the configured frame times alone.
    Player& still = addPlayer(5, 3, 2, 0.0f);
    EXPECT_EQ(still.directionAnimations[dir::kRight].frameTime, 100u);
}

TEST_F(PlayerTest, AReleasedPlayerGlidesOnForItsMomentum) {
    ASSERT_TRUE(input.init());
    // How long (ms) a player keeps moving after releasing right at speed 3,
    // and the slowest speed seen meanwhile.
    auto glide = [&](uint32_t momentum, float* slowest) {
        Player& p = addPlayer(3, 3);
        p.momentum = momentum;
        hold(Player::KeyRight, true, true);
        pass(p, 11);
        hold(Player::KeyRight, false, true);
        uint32_t ms = 0;
        *slowest = p.speed;
        while (p.directionFlags[dir::kRight] && ms < 5000) {
            pass(p, 11);
            ms += 11;
            if (p.directionFlags[dir::kRight]) *slowest = std::min(*slowest, p.speed);
        }
        EXPECT_EQ(p.speed, 3.0f) << "back to the base speed";
        return ms;
    };
    float slowest = 0;
    const uint32_t normal = glide(uint32_t(playerMomentum), &slowest);
    EXPECT_GT(normal, 150u);
    EXPECT_LT(normal, 180u);
    EXPECT_EQ(slowest, 1.0f);
    const uint32_t ice = glide(uint32_t(playerIceMomentum), &slowest);
    EXPECT_GT(ice, 750u);
    EXPECT_LT(ice, 780u);
    EXPECT_EQ(glide(0, &slowest), 11u);

    // While another direction key is held there is no glide to do.
    Player& p = addPlayer(5, 3);
    hold(Player::KeyRight, true, true);
    pass(p, 11);
    hold(Player::KeyRight, false, true);
    hold(Player::KeyUp, true, true);
    pass(p, 11);
    EXPECT_TRUE(p.directionFlags[dir::kUp]);
    EXPECT_FALSE(p.directionFlags[dir::kRight]);
}

TEST_F(PlayerTest, TheGlideLosesTheWholeUnitsOfMomentumThatHavePassed) {
    ASSERT_TRUE(input.init());
    Player& p = addPlayer(3, 3);  // momentum 50 ms per unit, speed 3
    hold(Player::KeyRight, true, true);
    for (int i = 0; i < 30; ++i) pass(p, 11);  // a walk of a third of a second
    hold(Player::KeyRight, false, true);

    // 101 ms since the key was last seen down: two units lost.
    pass(p, 101);
    EXPECT_TRUE(p.directionFlags[dir::kRight]);
    EXPECT_EQ(p.speed, 1.0f);
    pass(p, 50);  // exactly one unit's time: not yet
    EXPECT_EQ(p.speed, 1.0f);
    pass(p, 11);
    EXPECT_FALSE(p.directionFlags[dir::kRight]);
    EXPECT_EQ(p.speed, 3.0f);
}

// Dust is drawn under a player walking down over it and over the player
// otherwise; a hurt player shows the hit picture of the way it faces, and
// the dust of a player not facing down lies over that too.
TEST_F(PlayerTest, DustLiesUnderOrOverThePlayerAndTheHitPictureFollowsTheFacing) {
    constexpr uint32_t kWalk = 0x00A00000;
    constexpr uint32_t kDust = 0x00505050;  // the fixture's dust set
    const uint32_t kHit[4] = {0x00A00001, 0x00A00002, 0x00A00003, 0x00A00004};
    // The walk picture has a see-through 2 x 2 corner, so the dust under it
    // still shows there.
    auto picture = [&](uint32_t colour, bool corner) {
        const std::string path = dir.file("pic" + std::to_string(images++) + ".bmp");
        auto s = plat::Surface::create(32, 32);
        s->fill(0, 0, 32, 32, colour);
        if (corner) s->fill(0, 0, 2, 2, 0x0000FF00);
        EXPECT_TRUE(s->saveBmp(path));
        Bitmap b;
        b.load(path, 32, 32);
        return b;
    };
    Bitmap walk = picture(kWalk, true);
    Bitmap hits[4];
    for (int d = 0; d < 4; ++d) hits[d] = picture(kHit[d], false);

    Player& p = addPlayer(3, 3);
    for (int d = 0; d < 4; ++d) {
        p.directionAnimations[d].setup(0, 0, &walk, 1, 0, 100);
        p.hitAnimations[d].setup(0, 0, &hits[d], 1, 0, 100);
    }
    // (corner, inside the dust, well inside the player) after one frame.
    auto look = [&](int facing) {
        surface->fill(0, 0, 640, 480, kBackground);
        p.dustEffects.clear();
        p.direction = facing;
        p.spawnDust();
        frame(p, 1);
        return std::vector<uint32_t>{surface->pixel(p.x, p.y), surface->pixel(p.x + 2, p.y + 2),
                                     surface->pixel(p.x + 16, p.y + 16)};
    };
    using Pixels = std::vector<uint32_t>;
    EXPECT_EQ(look(dir::kDown), (Pixels{kDust, kWalk, kWalk}));
    EXPECT_EQ(look(dir::kRight), (Pixels{kDust, kDust, kWalk}));

    put(3, 3, cell::kExplosion, layer::kExplosions);
    EXPECT_EQ(look(dir::kDown), (Pixels{kHit[dir::kDown], kHit[dir::kDown], kHit[dir::kDown]}));
    for (int d : {dir::kRight, dir::kLeft, dir::kUp}) {
        SCOPED_TRACE(d);
        EXPECT_EQ(look(d), (Pixels{kDust, kDust, kHit[d]}));
    }
}

TEST_F(PlayerTest, ExplosionsAndEnemiesHurtFivePerStepAtMostEvery100Ms) {
    Player& p = addPlayer(3, 3);
    ASSERT_EQ(p.health, 100);
    put(3, 3, cell::kExplosion, layer::kExplosions);
    frame(p, 50);
    EXPECT_EQ(p.health, 100);
    frame(p, 51);
    EXPECT_EQ(p.health, 95);
    frame(p, 100);  // exactly 100 ms: not yet
    EXPECT_EQ(p.health, 95);
    frame(p, 1);
    EXPECT_EQ(p.health, 90);
    EXPECT_EQ(plays("hurt"), 2);

    // An enemy on top as well: still one step.
    Enemy enemy;
    enemy.x = p.x + 10;
    enemy.y = p.y;
    enemy.width = enemy.height = 32;
    enemies.push_front(enemy);
    frame(p, 101);
    EXPECT_EQ(p.health, 85);

    // The enemy alone.
    put(3, 3, cell::kEmpty, layer::kExplosions);
    frame(p, 101);
    EXPECT_EQ(p.health, 80);
    enemies.front().dead = true;
    frame(p, 101);
    EXPECT_EQ(p.health, 80);
}

TEST_F(PlayerTest, EnemyTouchNeedsACornerStrictlyInside) {
    Player& p = addPlayer(3, 3);
    enemies.emplace_front();
    Enemy& e = enemies.front();
    e.width = e.height = 32;
    e.y = p.y;
    e.x = p.x + 31;  // the right corners (x + 31) lie on its left edge
    EXPECT_FALSE(p.touchesEnemy());
    e.x = p.x + 30;
    EXPECT_TRUE(p.touchesEnemy());
    e.x = p.x - 31;  // left corners (x + 1) on its right edge
    EXPECT_FALSE(p.touchesEnemy());
    e.x = p.x;
    e.y = p.y + 30;
    EXPECT_TRUE(p.touchesEnemy());
    e.dead = true;
    EXPECT_FALSE(p.touchesEnemy());
}

TEST_F(PlayerTest, ADeadPlayerPlaysDeathOnceIsRemovedAndKeepsItsHud) {
    ASSERT_TRUE(input.init());
    Player& p = addPlayer(3, 3);
    p.health = 5;
    put(3, 3, cell::kExplosion, layer::kExplosions);
    frame(p, 101);
    EXPECT_TRUE(p.isDead());
    EXPECT_EQ(plays("death"), 1);

    // No input once dead.
    hold(Player::KeyRight, true, true);
    pass(p, 11);
    EXPECT_FALSE(p.isMoving());

    // The death animation runs out, then the player leaves the grid.
    for (int i = 0; i < 5 && p.active; ++i) frame(p, 200);
    EXPECT_FALSE(p.active);
    EXPECT_EQ(at(3, 3), cell::kEmpty);
    EXPECT_EQ(plays("death"), 1);
    EXPECT_EQ(p.health, 0);

    surface->fill(0, 0, 640, 480, kBackground);
    frame(p, 20);
    EXPECT_EQ(surface->pixel(p.healthBar.x + 1, p.healthBar.y + 1), kBarBack);
    EXPECT_EQ(surface->pixel(500, 80), kFont);  // "PLAYER 1"
}

TEST_F(PlayerTest, HudSitsRightOfNarrowFieldsAndBelowWideOnes) {
    Player& narrow = addPlayer(3, 3, 3);
    EXPECT_EQ(narrow.healthBar.x, 500);
    EXPECT_EQ(narrow.healthBar.y, 300);
    EXPECT_EQ(narrow.label.getText(), "PLAYER 3");
    narrow.drawHud(*surface);
    EXPECT_EQ(surface->pixel(500, 280), kFont);

    grid.create(20, 13);
    wall();
    surface->fill(0, 0, 640, 480, kBackground);
    Player& wide = addPlayer(3, 3, 3);
    EXPECT_EQ(wide.healthBar.x, 335);
    EXPECT_EQ(wide.healthBar.y, 425);
    EXPECT_EQ(wide.label.getText(), "P3");
    wide.drawHud(*surface);
    EXPECT_EQ(surface->pixel(310, 425), kFont);
    EXPECT_EQ(surface->pixel(336, 426), kBarTop);

    // Only numbers 1 to 4 have a HUD.
    surface->fill(0, 0, 640, 480, kBackground);
    Player& fifth = addPlayer(5, 5, 5);
    fifth.drawHud(*surface);
    for (int px = 0; px < 640; px += 5)
        for (int py = 0; py < 480; py += 5) ASSERT_EQ(surface->pixel(px, py), kBackground);
}

TEST_F(PlayerTest, HudShowsHeldAbilitiesAndTheShotsLeft) {
    Player& p = addPlayer(3, 3, 1);  // bar at (500, 100), icon line y 120
    p.kick = true;
    p.missile = true;
    p.missilesFired = 2;
    p.bombCount = 3;
    p.bombPower = 4;
    p.drawHud(*surface);
    EXPECT_EQ(surface->pixel(495 + 6, 126), kBombIcon);
    EXPECT_EQ(surface->pixel(527 + 6, 126), kFireIcon);
    EXPECT_EQ(surface->pixel(559 + 6, 126), kKickIcon);
    EXPECT_EQ(surface->pixel(591 + 6, 126), kMissileIcon);
    EXPECT_EQ(surface->pixel(589, 121), kFont);  // over the missile icon
    EXPECT_EQ(p.missilesLeftText.getText(), "5");
    EXPECT_EQ(p.bombCountText.getText(), "3");
    EXPECT_EQ(p.bombPowerText.getText(), "4");
    EXPECT_EQ(surface->pixel(495, 120), kFont);

    // Without kick the next ability moves into its slot.
    surface->fill(0, 0, 640, 480, kBackground);
    p.kick = false;
    p.missile = false;
    p.hammer = true;
    p.drawHud(*surface);
    EXPECT_EQ(surface->pixel(559 + 6, 126), kHammerIcon);
    EXPECT_EQ(surface->pixel(591 + 6, 126), kBackground);
}

TEST_F(PlayerTest, PlayersPassPlayersAndEnemiesButNotTheRim) {
    Player& p = addPlayer(3, 3);
    for (int v : {cell::kEmpty, cell::kPlayer, cell::kEnemy}) {
        put(4, 3, v);
        EXPECT_FALSE(p.isBlocked(4, 3)) << v;
    }
    for (int v : {cell::kSolid, cell::kBreakable, cell::kBomb, cell::kMissile}) {
        put(4, 3, v);
        EXPECT_TRUE(p.isBlocked(4, 3)) << v;
    }
    EXPECT_TRUE(p.isBlocked(-1, 3));
    EXPECT_TRUE(p.isBlocked(3, grid.getHeight()));
}

TEST_F(PlayerTest, VersusPlayersStartWithTheMultiplayerValues) {
    multiplayerMaxHealth = 150;
    multiplayerBombCount = 3;
    multiplayerBombPower = 4;
    Player& v = addPlayer(3, 3, 2, 3.0f, true);
    EXPECT_EQ(v.health, 150);
    EXPECT_EQ(v.bombCount, 3);
    EXPECT_EQ(v.bombPower, 4);
    Player& s = addPlayer(5, 3, 1, 3.0f, false);
    EXPECT_EQ(s.health, maxHealth);
    EXPECT_EQ(s.bombCount, 1);
    EXPECT_EQ(s.bombPower, 1);
    EXPECT_EQ(s.momentum, uint32_t(playerMomentum));
}

TEST_F(PlayerTest, AMissingHudImageThrowsAndFreesTheSamples) {
    std::remove(dir.file("healthbartop21.bmp").c_str());
    plat::headless::clearAudioLog();
    EXPECT_THROW(addPlayer(3, 3, 2), CException);
    const auto& log = plat::headless::audioLog();
    const auto count = [&](const char* verb) {
        return std::count_if(log.begin(), log.end(), [&](const std::string& line) {
            return line.rfind(verb, 0) == 0 && line.find("null") == std::string::npos;
        });
    };
    EXPECT_EQ(count("load "), 8);
    EXPECT_EQ(count("free "), 8);
}

}  // namespace
}  // namespace playertest
