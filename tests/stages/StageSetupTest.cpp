// The common stage-building procedure: players, tuning sections, map layers,
// tile order and the tile table, on the real game folder.
#include <algorithm>
#include <tuple>

#include "shell/CException.h"
#include "stages/StageFixture.h"
#include "stages/StageMaps.h"
#include "stages/StageSetup.h"

namespace {

using stagetest::StageTest;

TEST_F(StageTest, BuildsOnePlayerPerNumberUpToFour) {
    // Asked for -> built (player 1 always plays; more than four makes four).
    const std::pair<int, int> counts[] = {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {7, 4}, {0, 1}, {-3, 1}};
    for (auto [asked, built] : counts) {
        level.loadLevel1(asked, 1);
        ASSERT_EQ(static_cast<int>(level.players.size()), built) << asked;
        EXPECT_EQ(level.getNumPlayers(), built) << asked;
        // Newest first: the list runs from the last player down to player 1.
        int expected = built;
        for (const Player& p : level.players) EXPECT_EQ(p.getNumber(), expected--);
        level.cleanup();
    }

    level.loadLevel1(4, 1);
    using Cells = std::vector<std::pair<int, int>>;
    EXPECT_EQ(cellsOf(level.players), (Cells{{18, 1}, {1, 11}, {18, 11}, {1, 1}}));
    // config.cfg keeps right before left; the player holds left first.
    for (const Player& p : level.players) {
        const int* stored = playerKeys[p.getNumber() - 1];
        EXPECT_EQ(p.keys[Player::KeyUp], stored[KEY_UP]);
        EXPECT_EQ(p.keys[Player::KeyDown], stored[KEY_DOWN]);
        EXPECT_EQ(p.keys[Player::KeyLeft], stored[KEY_LEFT]);
        EXPECT_EQ(p.keys[Player::KeyRight], stored[KEY_RIGHT]);
        EXPECT_EQ(p.keys[Player::KeyPrimary], stored[KEY_PRIMARY]);
        EXPECT_EQ(p.keys[Player::KeySecondary], stored[KEY_SECONDARY]);
        EXPECT_FLOAT_EQ(p.speed, playerSpeed);
    }
}

TEST_F(StageTest, DifficultyChoosesTheTuningSection) {
    setConfig("enemyEasy", "searchIntervalTime", "111");
    setConfig("enemy", "searchIntervalTime", "222");
    setConfig("enemyHard", "searchIntervalTime", "333");
    setConfig("enemyEasy", "enemySpeed", "11");
    setConfig("enemy", "enemySpeed", "22");
    setConfig("enemyHard", "enemySpeed", "33");
    const std::tuple<int, int, float> cases[] = {{0, 111, 1.1f}, {1, 222, 2.2f}, {2, 333, 3.3f}};
    for (auto [difficulty, interval, speed] : cases) {
        level.loadLevel1(1, difficulty);
        EXPECT_EQ(searchIntervalTime, interval) << difficulty;
        EXPECT_FLOAT_EQ(enemySpeed, speed) << difficulty;
        for (const Enemy& e : level.enemies) EXPECT_FLOAT_EQ(e.speed, speed);
        level.cleanup();
    }

    // Any other difficulty reads nothing: the values of the last stage stay.
    searchIntervalTime = 4242;
    enemySpeed = 0.7f;
    level.loadLevel1(1, 3);
    EXPECT_EQ(searchIntervalTime, 4242);
    EXPECT_FLOAT_EQ(enemySpeed, 0.7f);
    ASSERT_EQ(level.enemies.size(), 6u);
    for (const Enemy& e : level.enemies) EXPECT_FLOAT_EQ(e.speed, 0.7f);
}

// A tuning key the player's file lacks reads the shipped value; one that
// neither file holds reads -1, brought into its range.
TEST_F(StageTest, MissingTuningKeysReadTheShippedValues) {
    removeConfigKey("enemyHard", "enemySpeed");
    removeConfigKey("enemyHard", "stopWaitTime");
    level.loadLevel1(1, 2);
    EXPECT_FLOAT_EQ(enemySpeed, 1.4f);
    EXPECT_EQ(stopWaitTime, 350);
    for (const Enemy& e : level.enemies) EXPECT_FLOAT_EQ(e.speed, 1.4f);
    level.cleanup();

    EXPECT_TRUE(readEnemyTuning("noSuchEnemy", 1, {"enemySpeed", "healthDamage", "dragonLength"}));
    EXPECT_FLOAT_EQ(enemySpeed, 0.1f);
    EXPECT_EQ(healthDamage, 1);
    EXPECT_EQ(dragonLength, 0);
}

TEST_F(StageTest, OnlyTheFloorAndBlockLayersHoldCodes) {
    level.loadLevel1(2, 1);
    ASSERT_EQ(level.cellCount, kWideMapCells);
    EXPECT_TRUE(std::equal(level.layoutLayers[1].begin(), level.layoutLayers[1].end(),
                           kLevel1Floor));
    EXPECT_TRUE(std::equal(level.layoutLayers[3].begin(), level.layoutLayers[3].end(),
                           kLevel1Blocks));
    for (int l : {0, 2, 4, 5, 6}) {
        ASSERT_EQ(level.layoutLayers[l].size(), static_cast<std::size_t>(kWideMapCells));
        EXPECT_TRUE(std::all_of(level.layoutLayers[l].begin(), level.layoutLayers[l].end(),
                                [](int code) { return code == 0; }))
            << "layer " << l;
        EXPECT_TRUE(level.tileLists[l].empty()) << "layer " << l;
    }
}

TEST_F(StageTest, TilesAreBuiltColumnByColumnAndListedNewestFirst) {
    level.loadLevel1(1, 1);
    // Every floor code of level 1 builds a floor tile; on layer 3 the solid
    // blocks and the edge ring build static tiles.
    const int floorCells = kWideMapCells - countCode(kLevel1Floor, kWideMapCells, 0);
    ASSERT_EQ(static_cast<int>(level.tileLists[1].size()), floorCells);
    int solids = 0;
    for (int code : {1, 8, 9, 10, 11, 12, 13, 14, 15})
        solids += countCode(kLevel1Blocks, kWideMapCells, code);
    ASSERT_EQ(static_cast<int>(level.tileLists[3].size()), solids);

    for (int l : {1, 3}) {
        std::vector<std::pair<int, int>> order;
        for (const GridObject& tile : level.tileLists[l]) order.push_back({tile.col, tile.row});
        std::reverse(order.begin(), order.end());
        EXPECT_TRUE(std::is_sorted(order.begin(), order.end())) << "layer " << l;
        EXPECT_EQ(order.front(), (l == 1 ? std::pair<int, int>{1, 1} : std::pair<int, int>{0, 0}));
    }

    for (int l : {1, 3}) {
        for (const GridObject& tile : level.tileLists[l]) {
            const int want = l == 1 ? cell::kFloor : cell::kSolid;
            EXPECT_EQ(level.grid.getTile(l, tile.col, tile.row), want);
            EXPECT_TRUE(tile.image.isLoaded());
        }
    }
    EXPECT_EQ(static_cast<int>(level.blocks.size()), countCode(kLevel1Blocks, kWideMapCells, 2));
    for (const BreakableBlock& b : level.blocks) {
        EXPECT_EQ(level.grid.getTile(3, b.col, b.row), cell::kBreakable);
        EXPECT_FALSE(b.spawnsEnemies);
        EXPECT_EQ(b.dropLevel, 1);
    }
}

// A hand-made stage: codes the table does not know build nothing.
class CustomStageTest : public StageTest {
protected:
    void SetUp() override {
        StageTest::SetUp();
        floor.assign(15 * 15, 0);
        blocks.assign(15 * 15, 0);
        stage.width = 15;
        stage.height = 15;
        stage.stageNumber = 12;
        stage.versus = true;
        stage.introScreen = &AnimationLibrary::futureintroVS;
        stage.backgroundScreen = &AnimationLibrary::backLevel2;
        stage.musicKey = "level2bgm";
        stage.tiles = {{1, TileKind::Solid, "solidblocklevel2", 0},
                       {3, TileKind::Floor, "floortilelevel2", 0},
                       {4, TileKind::Powerup, "", cell::kKickPowerup},
                       {5, TileKind::Powerup, "", 99},
                       {6, TileKind::Dynamite, "", 0}};
        stage.breakableBlockSection = "breakableblocklevel2";
        stage.timeLimit = 77;
    }
    void build(int players = 2, int difficulty = 2) {
        stage.floorLayer = floor.data();
        stage.blockLayer = blocks.data();
        buildStage(level, stage, players, difficulty);
    }
    void put(std::vector<int>& layer, int col, int row, int code) { layer[row * 15 + col] = code; }

    std::vector<int> floor, blocks;
    StageSetup stage;
};

TEST_F(CustomStageTest, UnknownCodesBuildNothing) {
    put(blocks, 5, 5, 1);
    put(blocks, 6, 5, 2);   // no breakable block in this table
    put(blocks, 7, 5, 99);  // no such code
    put(blocks, 8, 5, -4);
    put(blocks, 9, 5, 5);   // a "powerup" of a value that is none
    put(floor, 5, 5, 3);
    put(floor, 6, 5, 42);
    build();

    EXPECT_EQ(level.tileLists[3].size(), 1u);
    EXPECT_EQ(level.tileLists[1].size(), 1u);
    EXPECT_TRUE(level.blocks.empty());
    EXPECT_TRUE(level.powerups.empty());
    EXPECT_TRUE(level.bombs.empty());
    EXPECT_EQ(level.grid.getTile(3, 5, 5), cell::kSolid);
    for (int c = 6; c <= 9; ++c) EXPECT_EQ(level.grid.getTile(3, c, 5), 0) << c;
    EXPECT_EQ(level.grid.getTile(1, 6, 5), 0);
    EXPECT_EQ(level.grid.getTile(2, 9, 5), 0);
}

TEST_F(CustomStageTest, PickupsLieOnTheirOwnLayersWhereverTheirCodeStands) {
    put(floor, 2, 2, 4);   // a powerup code in the floor layer
    put(blocks, 3, 3, 4);  // and in the block layer
    put(blocks, 4, 4, 6);  // dynamite
    put(floor, 5, 5, 6);   // dynamite code in the floor layer
    build();

    ASSERT_EQ(level.powerups.size(), 2u);
    for (const Powerup& p : level.powerups) {
        EXPECT_EQ(p.layer, layer::kPowerups);
        EXPECT_EQ(p.value, cell::kKickPowerup);
        EXPECT_EQ(level.grid.getTile(layer::kPowerups, p.col, p.row), cell::kKickPowerup);
        EXPECT_EQ(level.grid.getTile(1, p.col, p.row), 0);
        EXPECT_EQ(level.grid.getTile(3, p.col, p.row), 0);
    }
    ASSERT_EQ(level.bombs.size(), 2u);
    for (const Bomb& b : level.bombs) {
        EXPECT_EQ(b.layer, layer::kObjects);
        EXPECT_TRUE(b.isDynamite);
        EXPECT_EQ(b.power, 3);
        EXPECT_EQ(b.owner, nullptr);
        EXPECT_EQ(level.grid.getTile(layer::kObjects, b.col, b.row), cell::kBomb);
    }
}

TEST_F(CustomStageTest, SquareVersusStage) {
    build(3, 2);
    EXPECT_EQ(level.difficulty, 1);  // versus always plays at 1
    EXPECT_TRUE(level.versus);
    EXPECT_EQ(level.secondsLeft, 77);
    EXPECT_EQ(level.readyMessage->x, 105);
    EXPECT_EQ(level.goMessage->x, 108);
    EXPECT_TRUE(musicOpened("level2bgm"));
    ASSERT_EQ(level.players.size(), 3u);
    for (const Player& p : level.players) EXPECT_FLOAT_EQ(p.speed, multiplayerPlayerSpeed);
    EXPECT_TRUE(level.enemies.empty());
}

TEST_F(CustomStageTest, AMissingTileImageThrowsAndCleanupStillWorks) {
    put(blocks, 3, 3, 1);
    stage.tiles[0].section = "noSuchSection";
    EXPECT_THROW(build(), CException);
    level.cleanup();
    EXPECT_EQ(level.library, nullptr);
    EXPECT_TRUE(level.players.empty());
    // The level is usable again afterwards.
    level.loadLevel1(1, 1);
    EXPECT_EQ(level.players.size(), 1u);
}

}  // namespace
