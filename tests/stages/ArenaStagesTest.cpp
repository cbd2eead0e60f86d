// The six versus arenas built from the real game folder: what each set-up
// leaves in the Level (players on the [multiplayer] settings, map, blocks,
// clock, screens, music), the arena rules (drop level, ARCTIC's ice and
// broken block field, CHINA's level-5 blocks), and whole rounds drawn and
// cleaned up.
#include <map>
#include <string>
#include <vector>

#include "stages/StageFixture.h"
#include "stages/StageMaps.h"

namespace {

struct ArenaCase {
    const char* name;
    void (Level::*load)(int);
    int width, height;
    int stageNumber;
    const char* musicFile;
    Bitmap* AnimationLibrary::*intro;
    Bitmap* AnimationLibrary::*background;
    int starts[4][2];
    int timeLimit;
    const int* floor;
    const int* blocks;
    bool ice;         // players keep the ice momentum; blocks break at once
    bool levelBlocks; // blocks as on level 5, drop level of one player
};

const std::vector<ArenaCase>& arenas() {
    static const std::vector<ArenaCase> all = {
        {"desert", &Level::loadArenaDesert, 15, 15, 6, "level1bgm",
         &AnimationLibrary::desertintroVS, &AnimationLibrary::backLevel3,
         {{1, 1}, {13, 13}, {1, 13}, {13, 1}}, 180, kArenaDesertFloor, kArenaDesertBlocks, false,
         false},
        {"roman", &Level::loadArenaRoman, 15, 15, 7, "tutorialLevelbgm",
         &AnimationLibrary::romanintroVS, &AnimationLibrary::backLevel1,
         {{1, 1}, {13, 13}, {1, 13}, {13, 1}}, 180, kArenaRomanFloor, kArenaRomanBlocks, false,
         false},
        {"future", &Level::loadArenaFuture, 15, 15, 8, "level2bgm",
         &AnimationLibrary::futureintroVS, &AnimationLibrary::backLevel2,
         {{4, 4}, {10, 10}, {4, 10}, {10, 4}}, 120, kArenaFutureFloor, kArenaFutureBlocks, false,
         false},
        {"arctic", &Level::loadArenaArctic, 20, 13, 8, "level4bgm", &AnimationLibrary::iceintroVS,
         &AnimationLibrary::backLevel4, {{1, 1}, {18, 11}, {1, 11}, {18, 1}}, 120,
         kArenaArcticFloor, kArenaArcticBlocks, true, false},
        {"ninja", &Level::loadArenaNinja, 20, 13, 9, "level3bgm", &AnimationLibrary::ninjaintroVS,
         &AnimationLibrary::backLevel3, {{1, 1}, {18, 11}, {1, 11}, {18, 1}}, 200,
         kArenaNinjaFloor, kArenaNinjaBlocks, false, false},
        {"china", &Level::loadArenaChina, 20, 13, 11, "level5bgm",
         &AnimationLibrary::chineseintroVS, &AnimationLibrary::backLevel5,
         {{1, 1}, {17, 11}, {1, 11}, {17, 1}}, 200, kArenaChinaFloor, kArenaChinaBlocks, false,
         true},
    };
    return all;
}

class ArenaTest : public stagetest::StageTest {
protected:
    // config.cfg has been changed: read it again, keeping the game folder.
    void reload() {
        loadConfig();
        filePathsPath = std::string(EMBERHAUNT_BIN_DIR) + "/filepaths.cfg";
    }

    void load(const ArenaCase& a, int players) { (level.*a.load)(players); }

    int nonZero(const int* layer, int cells) const {
        int n = 0;
        for (int i = 0; i < cells; ++i) n += layer[i] != 0;
        return n;
    }

    // Audio handles opened but never given back, by file.
    std::map<std::string, int> openAudio() const {
        std::map<std::string, int> open;
        for (const std::string& line : plat::headless::audioLog()) {
            const std::size_t space = line.find(' ');
            if (space == std::string::npos) continue;
            const std::string verb = line.substr(0, space);
            std::string file = line.substr(space + 1);
            if (verb == "load" || verb == "open") ++open[file];
            if (verb == "free" || verb == "close") --open[file];
        }
        for (auto it = open.begin(); it != open.end();) it = it->second == 0 ? open.erase(it) : ++it;
        return open;
    }
};

TEST_F(ArenaTest, PlayersStartOnTheirCellsWithTheMultiplayerSettings) {
    // Distinct from [player], so that the wrong section would show.
    setConfig("multiplayer", "playerSpeed", "35");
    setConfig("multiplayer", "maxHealth", "80");
    setConfig("multiplayer", "bombCount", "3");
    setConfig("multiplayer", "bombPower", "4");
    setConfig("multiplayer", "maxMissiles", "5");
    setConfig("player", "playerMomentum", "11");
    setConfig("player", "playerIceMomentum", "222");
    reload();

    for (const ArenaCase& a : arenas()) {
        for (int players = 2; players <= 4; ++players) {
            SCOPED_TRACE(std::string(a.name) + " x" + std::to_string(players));
            load(a, players);
            ASSERT_EQ(static_cast<int>(level.players.size()), players);
            EXPECT_EQ(level.numberOfPlayers, players);
            // Newest first: the list runs from the last player to player 1.
            int expected = players;
            for (const Player& p : level.players) {
                const int n = p.getNumber();
                EXPECT_EQ(n, expected--);
                EXPECT_EQ(p.getCol(), a.starts[n - 1][0]);
                EXPECT_EQ(p.getRow(), a.starts[n - 1][1]);
                EXPECT_FLOAT_EQ(p.speed, 3.5f);
                EXPECT_EQ(p.health, 80);
                EXPECT_EQ(p.bombCount, 3);
                EXPECT_EQ(p.bombPower, 4);
                EXPECT_EQ(p.maxMissileCount(), 5);
                EXPECT_TRUE(p.versus);
                EXPECT_EQ(p.momentum, a.ice ? 222u : 11u);
            }
            EXPECT_TRUE(level.enemies.empty());
            level.cleanup();
        }
    }
}

TEST_F(ArenaTest, StageNumberClockScreensMusicAndMessages) {
    for (const ArenaCase& a : arenas()) {
        SCOPED_TRACE(a.name);
        plat::headless::clearAudioLog();
        load(a, 2);
        EXPECT_EQ(level.width, a.width);
        EXPECT_EQ(level.height, a.height);
        EXPECT_EQ(level.stageNumber, a.stageNumber);
        EXPECT_TRUE(level.versus);
        EXPECT_EQ(level.difficulty, 1);
        EXPECT_EQ(level.secondsLeft, a.timeLimit);
        EXPECT_EQ(level.setUpTick, plat::tickCount());
        EXPECT_EQ(level.clockBase, plat::tickCount());
        ASSERT_NE(level.library, nullptr);
        EXPECT_EQ(level.introImage, level.library->*a.intro);
        EXPECT_EQ(level.backgroundImage, level.library->*a.background);
        EXPECT_NE(level.introImage, nullptr);
        EXPECT_TRUE(musicOpened(a.musicFile));
        EXPECT_NE(level.music, nullptr);
        const bool square = a.width == 15;
        EXPECT_EQ(level.readyMessage->x, square ? 105 : 185);
        EXPECT_EQ(level.readyMessage->y, square ? 154 : 132);
        EXPECT_EQ(level.goMessage->x, square ? 108 : 188);
        EXPECT_EQ(level.goMessage->y, 80);
        EXPECT_FALSE(level.started);
        EXPECT_FALSE(level.running);
        level.cleanup();
    }
}

TEST_F(ArenaTest, EachArenaGetsItsOwnMapAndOneObjectPerCode) {
    for (const ArenaCase& a : arenas()) {
        SCOPED_TRACE(a.name);
        load(a, 2);
        const int cells = a.width * a.height;
        for (int l = 0; l < layer::kCount; ++l) {
            ASSERT_EQ(static_cast<int>(level.layoutLayers[l].size()), cells) << l;
            for (int i = 0; i < cells; ++i) {
                const int want = l == 1 ? a.floor[i] : l == 3 ? a.blocks[i] : 0;
                ASSERT_EQ(level.layoutLayers[l][i], want) << "layer " << l << " cell " << i;
            }
        }
        const int breakable = countCode(a.blocks, cells, 2);
        EXPECT_EQ(static_cast<int>(level.tileLists[1].size()), nonZero(a.floor, cells));
        EXPECT_EQ(static_cast<int>(level.tileLists[3].size()), nonZero(a.blocks, cells) - breakable);
        EXPECT_EQ(static_cast<int>(level.blocks.size()), breakable);
        EXPECT_TRUE(level.powerups.empty());
        EXPECT_TRUE(level.bombs.empty());
        for (int l : {0, 2, 4, 5, 6}) EXPECT_TRUE(level.tileLists[l].empty()) << l;
        level.cleanup();
    }
}

TEST_F(ArenaTest, BlocksTakeTheArenaRules) {
    for (const ArenaCase& a : arenas()) {
        for (int players = 2; players <= 4; ++players) {
            SCOPED_TRACE(std::string(a.name) + " x" + std::to_string(players));
            load(a, players);
            ASSERT_FALSE(level.blocks.empty());
            for (const BreakableBlock& b : level.blocks) {
                EXPECT_EQ(b.dropLevel, a.levelBlocks ? 1 : players);
                EXPECT_EQ(b.intact, !a.ice);
                EXPECT_EQ(b.spawnsEnemies, a.levelBlocks);
                EXPECT_EQ(b.enemyBreaks, a.levelBlocks);
                EXPECT_EQ(b.enemies, a.levelBlocks ? &level.enemies : nullptr);
                if (a.levelBlocks) {
                    EXPECT_EQ(b.spawnKind, BreakableBlock::kSpawnLevel5Kind);
                }
                EXPECT_EQ(b.layer, 3);
            }
            level.cleanup();
        }
    }
}

TEST_F(ArenaTest, EachPlayerBeyondTheFirstRaisesTheDropChanceExceptInChina) {
    // At 0 percent one player never gets a drop; two add 10 points, four
    // add 30. CHINA stays at one player's chance. The rolls go on until a
    // drop, so that the result holds whatever the random state.
    setConfig("powerup", "powerupFrequency", "0");
    reload();
    for (const ArenaCase& a : arenas()) {
        for (int players : {2, 4}) {
            SCOPED_TRACE(std::string(a.name) + " x" + std::to_string(players));
            load(a, players);
            ASSERT_FALSE(level.blocks.empty());
            for (const BreakableBlock& b : level.blocks) EXPECT_EQ(b.dropLevel, a.levelBlocks ? 1 : players);
            for (int roll = 0; roll < 100 && level.powerups.empty(); ++roll)
                for (BreakableBlock& b : level.blocks) b.dropPowerup();
            const bool drops = !a.levelBlocks;
            EXPECT_EQ(!level.powerups.empty(), drops);
            level.cleanup();
        }
    }
}

TEST_F(ArenaTest, ArcticOpensWithItsBlockFieldBrokenAndItsPowerupsLyingOpen) {
    setConfig("powerup", "powerupFrequency", "100");
    reload();
    load(arenas()[3], 2);
    ASSERT_EQ(level.stageNumber, 8);
    ASSERT_EQ(level.width, 20);
    const std::size_t blockCount = level.blocks.size();
    ASSERT_EQ(blockCount, static_cast<std::size_t>(countCode(kArenaArcticBlocks, 260, 2)));

    run(1600);  // past the intro: the field is drawn once
    ASSERT_TRUE(level.started);
    for (const BreakableBlock& b : level.blocks) EXPECT_FALSE(b.active);
    for (int row = 0; row < 13; ++row)
        for (int col = 0; col < 20; ++col)
            EXPECT_NE(level.grid.getTile(3, col, row), cell::kBreakable) << col << "," << row;

    // Nearly every block rolled a drop at 100 percent; each lies where its
    // block stood, on its own value.
    EXPECT_GT(level.powerups.size(), blockCount * 9 / 10);
    for (const Powerup& p : level.powerups) {
        EXPECT_TRUE(p.active);
        EXPECT_EQ(kArenaArcticBlocks[p.getRow() * 20 + p.getCol()], 2);
        EXPECT_EQ(level.grid.getTile(2, p.getCol(), p.getRow()), p.value);
    }
}

TEST_F(ArenaTest, ChinaNeverSpawnsAnEnemyFromItsBlocks) {
    load(arenas()[5], 2);
    // Long enough for every block's spawn wait (at most 20 s) to run out.
    run(21000);
    EXPECT_TRUE(level.enemies.empty());
    int intact = 0;
    for (const BreakableBlock& b : level.blocks) intact += b.active && b.intact;
    EXPECT_EQ(intact, countCode(kArenaChinaBlocks, 260, 2));
}

TEST_F(ArenaTest, RoundsRunAndCleanUpLeavesNothingBehind) {
    for (const ArenaCase& a : arenas()) {
        for (int players : {2, 4}) {
            SCOPED_TRACE(std::string(a.name) + " x" + std::to_string(players));
            plat::headless::clearAudioLog();
            load(a, players);
            // Intro, ready, go and some play.
            run(4500);
            EXPECT_TRUE(level.started);
            EXPECT_TRUE(level.running);
            EXPECT_EQ(level.state, kLevelRunning);
            EXPECT_EQ(level.livePlayers, players);
            level.cleanup();
            EXPECT_EQ(level.library, nullptr);
            EXPECT_TRUE(level.players.empty());
            EXPECT_TRUE(level.blocks.empty());
            EXPECT_TRUE(level.powerups.empty());
            for (const auto& tiles : level.tileLists) EXPECT_TRUE(tiles.empty());
            EXPECT_TRUE(openAudio().empty()) << openAudio().begin()->first;
        }
    }
}

}  // namespace
