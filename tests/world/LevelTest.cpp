#include "world/LevelFixture.h"

#include <cstdio>

#include "shell/CException.h"

namespace leveltest {
namespace {

const char* const kLevelSamples[] = {"draw", "lose", "win", "ready", "start", "gameover", "hurry"};

TEST_F(LevelTest, CleanupFreesTheStageOnceAndKeepsWhatTheProgressionReads) {
    level.lives = 4;
    setUpStage(2);
    for (const auto& layout : level.layoutLayers) EXPECT_EQ(layout, std::vector<int>(80, 0));
    addPlayer(1, 1);
    addEnemy(5, 5);
    // Two missiles still in flight: each holds its burst sound until then.
    Missile missile;
    missile.initMissile(cell::kMissile, kTileSize, 2, 2, 32, 32, layer::kObjects, &level.grid,
                        false, 2.5f, nullptr, &level.explosions, level.library, dir::kRight);
    level.missiles.push_front(missile);
    HomingMissile homing;
    homing.initHomingMissile(cell::kMissile, kTileSize, 3, 5, 32, 32, layer::kObjects, &level.grid,
                             false, 2.5f, nullptr, &level.explosions, level.library, dir::kLeft,
                             &level.players, &level.enemies, false, 0);
    level.homingMissiles.push_front(homing);
    level.hintIndex = 3;

    level.state = kLevelLifeLost;
    level.stageNumber = 4;
    level.lives = 2;
    level.finished = true;
    plat::headless::clearAudioLog();
    level.cleanup();

    EXPECT_EQ(level.state, kLevelLifeLost);
    EXPECT_EQ(level.stageNumber, 4);
    EXPECT_EQ(level.lives, 2);
    EXPECT_EQ(level.getNumPlayers(), 2);
    EXPECT_EQ(level.difficulty, 1);
    EXPECT_TRUE(level.isLevelOver());
    EXPECT_TRUE(level.players.empty());
    EXPECT_TRUE(level.enemies.empty());
    EXPECT_EQ(level.library, nullptr);
    EXPECT_FALSE(level.readyMessage);
    EXPECT_EQ(level.introImage, nullptr);
    EXPECT_TRUE(level.layoutLayers[3].empty());
    EXPECT_EQ(level.secondsLeft, 0);
    EXPECT_EQ(level.hintIndex, 0);  // a later tutorial starts at its first hint
    EXPECT_EQ(audioCount("free", "explosion"), 2);
    for (const char* name : kLevelSamples) EXPECT_EQ(audioCount("free", name), 1) << name;
    EXPECT_EQ(audioCount("stop", "music"), 1);
    EXPECT_EQ(audioCount("close", "music"), 1);

    plat::headless::clearAudioLog();
    level.cleanup();
    EXPECT_TRUE(plat::headless::audioLog().empty());

    setUpStage();
    EXPECT_EQ(level.state, kLevelRunning);
    EXPECT_FALSE(level.isLevelOver());
}

TEST_F(LevelTest, InitReleasesAStageThatWasNotCleanedUp) {
    setUpStage();
    plat::headless::clearAudioLog();
    setUpStage();
    for (const char* name : kLevelSamples) EXPECT_EQ(audioCount("free", name), 1) << name;
    EXPECT_EQ(audioCount("close", "music"), 1);
}

TEST_F(LevelTest, AMissingImageThrowsAndCleanupStillFreesWhatWasLoaded) {
    ASSERT_EQ(std::remove(dir.file("timer.bmp").c_str()), 0);
    EXPECT_THROW(level.init(10, 8, 1, 0), CException);
    EXPECT_TRUE(level.readyMessage);
    level.cleanup();
    EXPECT_FALSE(level.readyMessage);
    EXPECT_FALSE(level.lifeIcon);
}

TEST_F(LevelTest, PauseStopsOnlyTheClockAndTheTimersOfBombsMissilesAndExplosions) {
    setUpStage();
    plat::headless::advance(400);
    const uint32_t now = plat::tickCount();

    Bomb lit;
    lit.active = true;
    lit.placedAt = now - 1000;
    level.bombs.push_front(lit);
    Bomb spent = lit;
    spent.active = false;
    level.bombs.push_front(spent);
    Missile burst;
    burst.active = burst.exploded = true;
    burst.explodedAt = now - 100;
    level.missiles.push_front(burst);
    HomingMissile homing;
    homing.active = homing.exploded = true;
    homing.explodedAt = now - 200;
    level.homingMissiles.push_front(homing);
    Explosion piece;
    piece.active = true;
    piece.animation.startTick = now - 300;
    level.explosions.push_front(piece);

    level.pause();
    plat::headless::advance(10000);
    level.resume();
    const uint32_t later = plat::tickCount();

    EXPECT_EQ(later - level.clockBase, 400u);
    EXPECT_EQ(later - level.bombs.back().placedAt, 1000u);
    EXPECT_EQ(level.bombs.front().placedAt, now - 1000);  // inactive: left alone
    EXPECT_EQ(later - level.missiles.front().explodedAt, 100u);
    EXPECT_EQ(later - level.homingMissiles.front().explodedAt, 200u);
    EXPECT_EQ(later - level.explosions.front().animation.startTick, 300u);
    // The round phases run on from the tick count.
    EXPECT_EQ(later - level.setUpTick, 10400u);
}

TEST_F(LevelTest, PlayersTakeInputFromTheGoPhaseOnAlsoDuringTheResultDelay) {
    setUpStage();
    Player& player = addPlayer(2, 2);
    addEnemy(8, 6);
    windowKeys[39] = 1;  // right
    auto movesRight = [&] {
        player.clearDirections();
        plat::headless::advance(20);
        level.handleInput(nullptr);
        return player.directionFlags[dir::kRight];
    };

    EXPECT_FALSE(movesRight());  // intro
    after(Level::kIntroTime + 1);
    EXPECT_FALSE(movesRight());  // ready
    after(Level::kReadyTime + 1);
    EXPECT_TRUE(movesRight());

    level.enemies.front().remove();
    frame();
    ASSERT_EQ(level.state, kLevelWon);
    EXPECT_TRUE(movesRight());
}

}  // namespace
}  // namespace leveltest
