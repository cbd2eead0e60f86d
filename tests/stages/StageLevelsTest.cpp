// The tutorial and the five levels as built from the real game folder:
// what stands on the field, who starts where, which enemies of which kind,
// the music, the clock, and that each one runs and cleans up without leaks.
#include <algorithm>
#include <functional>

#include "stages/StageFixture.h"
#include "stages/StageMaps.h"
#include "stages/StageSetup.h"

// A leak check inside the test (not only at exit) when built with the
// address sanitizer.
#if defined(__SANITIZE_ADDRESS__)
#define STAGE_TEST_HAS_LSAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define STAGE_TEST_HAS_LSAN 1
#endif
#endif
#ifdef STAGE_TEST_HAS_LSAN
#include <sanitizer/lsan_interface.h>
#endif

namespace {

using stagetest::StageTest;
using Cells = std::vector<std::pair<int, int>>;

class LevelStagesTest : public StageTest {
protected:
    // What every 20 x 13 stage of the levels shares.
    void expectCommon(int stage, const char* music, int seconds, const int* floor,
                      const int* blocks, Bitmap* intro, Bitmap* back) {
        EXPECT_EQ(level.stageNumber, stage);
        EXPECT_FALSE(level.versus);
        EXPECT_EQ(level.secondsLeft, seconds);
        EXPECT_EQ(level.clockBase, plat::tickCount());
        EXPECT_TRUE(musicOpened(music)) << music;
        EXPECT_EQ(level.introImage, intro);
        EXPECT_EQ(level.backgroundImage, back);
        EXPECT_EQ(level.readyMessage->x, 185);
        EXPECT_TRUE(std::equal(level.layoutLayers[1].begin(), level.layoutLayers[1].end(), floor));
        EXPECT_TRUE(
            std::equal(level.layoutLayers[3].begin(), level.layoutLayers[3].end(), blocks));
        EXPECT_EQ(static_cast<int>(level.blocks.size()), countCode(blocks, kWideMapCells, 2));
    }
};

TEST_F(LevelStagesTest, Tutorial) {
    level.loadTutorial(4, 1);
    expectCommon(0, "tutorialLevelbgm", 300, kTutorialFloor, kTutorialBlocks,
                 level.library->introTutorialLevel, level.library->backTutorialLevel);
    // Everyone in the first room, without bombs.
    ASSERT_EQ(level.players.size(), 4u);
    for (const Player& p : level.players) {
        EXPECT_EQ(p.getCol(), 1);
        EXPECT_EQ(p.getRow(), 1);
        EXPECT_EQ(p.bombCount, 0);
    }
    // Three grunts, newest first.
    EXPECT_EQ(cellsOf(level.enemies), (Cells{{7, 10}, {3, 7}, {7, 7}}));
    for (const Enemy& e : level.enemies)
        EXPECT_TRUE(e.wanderNonstop && e.chaseNonstop && e.stopWhenIdle && !e.firesMissiles);
    EXPECT_EQ(replicateWaitTime, getConfigInt("enemyGrunt", "replicateWaitTime"));

    // Eight powerups on layer 2 and two ownerless dynamites on layer 3.
    std::vector<int> values;
    for (const Powerup& p : level.powerups) {
        values.push_back(p.value);
        EXPECT_EQ(p.layer, layer::kPowerups);
        EXPECT_EQ(level.grid.getTile(layer::kPowerups, p.col, p.row), p.value);
    }
    std::sort(values.begin(), values.end());
    EXPECT_EQ(values, (std::vector<int>{9, 9, 10, 11, 12, 14, 15, 16}));
    Cells dynamites;
    for (const Bomb& b : level.bombs) {
        EXPECT_TRUE(b.isDynamite);
        EXPECT_EQ(b.owner, nullptr);
        EXPECT_EQ(b.power, 3);
        dynamites.push_back({b.col, b.row});
    }
    EXPECT_EQ(dynamites, (Cells{{13, 2}, {8, 2}}));
}

// The hint line on the built tutorial: its cells hold what the lessons are
// read from, so the line stays empty until the first room's bomb powerup is
// gone; a player who takes it in the first four seconds of play sees
// nothing until the index steps to the lesson's first text.
TEST_F(LevelStagesTest, TutorialHintsFollowTheBuiltMap) {
    level.loadTutorial(1, 1);
    run(4500);  // intro, ready and go are over
    ASSERT_TRUE(level.running);
    EXPECT_EQ(level.hintText.getText(), "");
    EXPECT_EQ(level.hintIndex, 0);

    bool taken = false;
    for (Powerup& p : level.powerups) {
        if (p.col == 1 && p.row == 3) {
            p.remove();
            taken = true;
        }
    }
    ASSERT_TRUE(taken);
    run(2900);
    EXPECT_EQ(level.hintText.getText(), "");
    run(1200);  // more than four seconds of play: the first step
    const std::string first = "     THE BOMB POWERUP LETS YOU LAY AN EXTRA BOMB AT A TIME";
    EXPECT_EQ(level.hintText.getText(), first);
    EXPECT_EQ(level.hintText.getPixelWidth(),
              static_cast<int>(first.size()) * getPathInt("fontsmall", "charWidth"));
}

TEST_F(LevelStagesTest, LevelOne) {
    level.loadLevel1(1, 1);
    expectCommon(1, "level1bgm", 180, kLevel1Floor, kLevel1Blocks, level.library->introLevel1,
                 level.library->backLevel1);
    EXPECT_EQ(cellsOf(level.enemies),
              (Cells{{9, 7}, {9, 8}, {10, 5}, {10, 7}, {9, 6}, {9, 5}}));
    for (const Enemy& e : level.enemies) {
        EXPECT_TRUE(e.animateWhenIdle && !e.wanderNonstop && !e.stopWhenIdle);
        EXPECT_EQ(e.health, getConfigInt("enemy", "enemyHealth"));
    }
}

TEST_F(LevelStagesTest, LevelTwoSecondMechIsQuicker) {
    for (int difficulty = 0; difficulty <= 2; ++difficulty) {
        level.loadLevel2(2, difficulty);
        expectCommon(2, "level2bgm", 180, kLevel2Floor, kLevel2Blocks,
                     level.library->introLevel2, level.library->backLevel2);
        ASSERT_EQ(cellsOf(level.enemies), (Cells{{9, 6}, {11, 5}}));
        const Enemy& second = level.enemies.front();
        const Enemy& first = level.enemies.back();
        EXPECT_FLOAT_EQ(first.speed, enemySpeed);
        EXPECT_FLOAT_EQ(second.speed, enemySpeed + 0.2f);
        for (const Enemy& e : level.enemies) {
            EXPECT_TRUE(e.firesMissiles && e.chaseNonstop && e.searchesPath && e.stopWhenIdle);
            EXPECT_EQ(e.fireWaitTime, static_cast<uint32_t>(missileFireWaitTime));
            EXPECT_NE(e.hitSample, nullptr);
        }
        level.cleanup();
    }
}

TEST_F(LevelStagesTest, LevelThreeReadsItsOwnSections) {
    setConfig("enemyGrunt2Easy", "enemyHealth", "71");
    setConfig("enemyGrunt2Hard", "enemyHealth", "93");
    setConfig("enemyGrunt2Hard", "enemyMissileSpeed", "45");
    level.loadLevel3(1, 0);
    for (const Enemy& e : level.enemies) EXPECT_EQ(e.health, 71);
    level.cleanup();

    level.loadLevel3(3, 2);
    expectCommon(3, "level3bgm", 150, kLevel3Floor, kLevel3Blocks, level.library->introLevel3,
                 level.library->backLevel3);
    EXPECT_FLOAT_EQ(enemyMissileSpeed, 4.5f);
    EXPECT_EQ(cellsOf(level.enemies), (Cells{{10, 6}, {9, 6}, {10, 5}}));
    for (const Enemy& e : level.enemies) {
        EXPECT_EQ(e.health, 93);
        EXPECT_TRUE(e.stopWhenIdle && e.firesMissiles && e.startStopDust);
        EXPECT_EQ(e.fireWaitTime, static_cast<uint32_t>(missileFireWaitTime));
        EXPECT_NE(e.shotSample, nullptr);
    }
    // The pillar layout: every non-zero code builds something.
    const int floorTiles = kWideMapCells - countCode(kLevel3Floor, kWideMapCells, 0);
    EXPECT_EQ(static_cast<int>(level.tileLists[1].size()), floorTiles);
    const int blockCodes = kWideMapCells - countCode(kLevel3Blocks, kWideMapCells, 0);
    EXPECT_EQ(static_cast<int>(level.tileLists[3].size() + level.blocks.size()), blockCodes);
}

TEST_F(LevelStagesTest, LevelFourIsIceWithHatchingBlocks) {
    level.loadLevel4(2, 1);
    expectCommon(4, "level4bgm", 160, kLevel4Floor, kLevel4Blocks, level.library->introLevel4,
                 level.library->backLevel4);
    ASSERT_EQ(level.players.size(), 2u);
    for (const Player& p : level.players)
        EXPECT_EQ(p.momentum, static_cast<uint32_t>(playerIceMomentum));
    ASSERT_EQ(cellsOf(level.enemies), (Cells{{9, 5}}));
    EXPECT_TRUE(level.enemies.front().replicates && level.enemies.front().animateWhenIdle);
    EXPECT_EQ(replicateBlockChance, getConfigInt("replicatingEnemy", "replicateBlockChance"));
    for (const BreakableBlock& b : level.blocks)
        EXPECT_TRUE(b.spawnsEnemies && b.enemies == &level.enemies && b.spawnKind == 1);
}

TEST_F(LevelStagesTest, LevelFiveDragonChain) {
    setConfig("dragonEnemy", "dragonLength", "3");
    setConfig("dragonEnemy", "dragonHealth", "77");
    setConfig("dragonEnemy", "dragonSpeed", "25");
    level.loadLevel5(4, 1);
    expectCommon(5, "level5bgm", 240, kLevel5Floor, kLevel5Blocks, level.library->introLevel5,
                 level.library->backLevel5);
    EXPECT_EQ(cellsOf(level.players), (Cells{{17, 1}, {1, 11}, {17, 11}, {1, 1}}));

    // tail, three body segments, head; each follows the part built before.
    ASSERT_EQ(level.enemies.size(), 5u);
    std::vector<const Enemy*> parts;
    for (const Enemy& e : level.enemies) parts.push_back(&e);
    EXPECT_TRUE(parts[0]->isTail && !parts[0]->invulnerable);
    EXPECT_EQ(parts[0]->health, 77);
    for (int i = 1; i <= 3; ++i)
        EXPECT_TRUE(parts[i]->isSegment() && parts[i]->invulnerable && !parts[i]->isTail) << i;
    EXPECT_TRUE(parts[4]->isHead() && parts[4]->invulnerable);
    EXPECT_EQ(parts[4]->leader, nullptr);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(parts[i]->leader, parts[i + 1]) << i;
    for (const Enemy* e : parts) {
        EXPECT_EQ(std::make_pair(e->getCol(), e->getRow()), std::make_pair(9, 5));
        EXPECT_FLOAT_EQ(e->speed, 2.5f);
    }
    EXPECT_EQ(dragonSegmentCount, 4);
    // What the blocks hatch, and how they break under an enemy.
    EXPECT_NE(level.library->enemyWalk[AnimationLibrary::SetEnemy5], nullptr);
    for (const BreakableBlock& b : level.blocks)
        EXPECT_TRUE(b.spawnsEnemies && b.spawnKind == 0 && b.enemyBreaks);
}

TEST_F(LevelStagesTest, LevelFiveWithoutBodyTheTailFollowsTheHead) {
    for (const char* length : {"0", "-5", "none"}) {
        setConfig("dragonEnemyHard", "dragonLength", length);
        level.loadLevel5(1, 2);
        ASSERT_EQ(level.enemies.size(), 2u);
        EXPECT_TRUE(level.enemies.front().isTail);
        EXPECT_EQ(level.enemies.front().leader, &level.enemies.back());
        EXPECT_TRUE(level.enemies.back().isHead());
        level.cleanup();
    }
}

// Every set-up, a few seconds of its round, cleanup, and the next set-up on
// the same level: nothing crashes and nothing leaks.
TEST_F(LevelStagesTest, EveryStageRunsAndCleansUpWithoutLeaks) {
    const std::function<void(Level&)> setUps[] = {
        [](Level& l) { l.loadTutorial(2, 0); }, [](Level& l) { l.loadLevel1(4, 1); },
        [](Level& l) { l.loadLevel2(1, 2); },   [](Level& l) { l.loadLevel3(3, 0); },
        [](Level& l) { l.loadLevel4(2, 1); },   [](Level& l) { l.loadLevel5(4, 2); },
    };
    for (int round = 0; round < 2; ++round) {
        for (const auto& setUp : setUps) {
            setUp(level);
            ASSERT_NE(level.library, nullptr);
            run(4000);
            EXPECT_TRUE(level.started);
            EXPECT_TRUE(level.running);
            EXPECT_LT(level.secondsLeft, 300);
            level.cleanup();
            EXPECT_EQ(level.library, nullptr);
            EXPECT_TRUE(level.enemies.empty());
        }
    }
    // Set-up straight after set-up (without a cleanup) must not leak either.
    level.loadLevel1(1, 1);
    level.loadLevel2(1, 1);
    level.cleanup();
#ifdef STAGE_TEST_HAS_LSAN
    EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);
#endif
}

}  // namespace
