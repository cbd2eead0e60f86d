// The six versus arenas: two to four players fight each other, with no
// enemies, on the [multiplayer] settings. Each arena is the common stage
// procedure (StageSetup) fed with its own map, tiles, screens, music, start
// cells and clock, plus the few rules of its own:
//  - every arena but CHINA raises its blocks' drop level to the number of
//    players, so each extra player makes powerups 10 points likelier;
//  - ARCTIC is played on ice and opens with its whole block field broken,
//    the powerups those blocks rolled lying open;
//  - CHINA builds its blocks like level 5's (spawners that an enemy on
//    their cell breaks); with no enemy in the arena none ever spawns.
// The stage numbers tell the stage progression where a finished round goes:
// 6 to 9 back to the arena list, CHINA's 11 to the main menu. FUTURE and
// ARCTIC share 8.
#include <utility>

#include "stages/StageMaps.h"
#include "stages/StageSetup.h"
#include "world/Level.h"

namespace {

constexpr int kStageDesert = 6;
constexpr int kStageRoman = 7;
constexpr int kStageFuture = 8;
constexpr int kStageArctic = 8;
constexpr int kStageNinja = 9;
constexpr int kStageChina = 11;

// Versus rounds always play at EXPERIENCED.
constexpr int kArenaDifficulty = 1;

// What every arena shares: versus, no enemies, the drop level from the
// number of players.
StageSetup arena(int width, int height, int stageNumber, const char* musicKey,
                 Bitmap* AnimationLibrary::*introScreen,
                 Bitmap* AnimationLibrary::*backgroundScreen, const int* floorLayer,
                 const int* blockLayer, TileTable tiles, const char* breakableBlockSection,
                 const int (&startCells)[4][2], int timeLimit) {
    StageSetup stage;
    stage.width = width;
    stage.height = height;
    stage.stageNumber = stageNumber;
    stage.versus = true;
    stage.introScreen = introScreen;
    stage.backgroundScreen = backgroundScreen;
    stage.musicKey = musicKey;
    stage.floorLayer = floorLayer;
    stage.blockLayer = blockLayer;
    stage.tiles = std::move(tiles);
    stage.breakableBlockSection = breakableBlockSection;
    for (int n = 0; n < 4; ++n) {
        stage.startCells[n][0] = startCells[n][0];
        stage.startCells[n][1] = startCells[n][1];
    }
    stage.timeLimit = timeLimit;
    stage.blockDropLevelFromPlayers = true;
    return stage;
}

// Start cells of players 1 to 4 (column, row).
constexpr int kSquareCorners[4][2] = {{1, 1}, {13, 13}, {1, 13}, {13, 1}};
constexpr int kFutureCorners[4][2] = {{4, 4}, {10, 10}, {4, 10}, {10, 4}};
constexpr int kWideCorners[4][2] = {{1, 1}, {18, 11}, {1, 11}, {18, 1}};
constexpr int kChinaCorners[4][2] = {{1, 1}, {17, 11}, {1, 11}, {17, 1}};

}  // namespace

void Level::loadArenaDesert(int players) {
    StageSetup stage = arena(kSquareMapSize, kSquareMapSize, kStageDesert, "level1bgm",
                             &AnimationLibrary::desertintroVS, &AnimationLibrary::backLevel3,
                             kArenaDesertFloor, kArenaDesertBlocks,
                             walledTiles("arena1", "Arena1"), "breakableblockarena1",
                             kSquareCorners, 180);
    buildStage(*this, stage, players, kArenaDifficulty);
}

void Level::loadArenaRoman(int players) {
    StageSetup stage = arena(kSquareMapSize, kSquareMapSize, kStageRoman, "tutoriallevelbgm",
                             &AnimationLibrary::romanintroVS, &AnimationLibrary::backLevel1,
                             kArenaRomanFloor, kArenaRomanBlocks, standardTiles("level1"),
                             "breakableblockLevel1", kSquareCorners, 180);
    buildStage(*this, stage, players, kArenaDifficulty);
}

// Only the 9 x 9 square in the middle is built; the background screen shows
// around it.
void Level::loadArenaFuture(int players) {
    StageSetup stage = arena(kSquareMapSize, kSquareMapSize, kStageFuture, "level2bgm",
                             &AnimationLibrary::futureintroVS, &AnimationLibrary::backLevel2,
                             kArenaFutureFloor, kArenaFutureBlocks, standardTiles("level2"),
                             "breakableblocklevel2", kFutureCorners, 120);
    buildStage(*this, stage, players, kArenaDifficulty);
}

void Level::loadArenaArctic(int players) {
    StageSetup stage = arena(kWideMapWidth, kWideMapHeight, kStageArctic, "level4bgm",
                             &AnimationLibrary::iceintroVS, &AnimationLibrary::backLevel4,
                             kArenaArcticFloor, kArenaArcticBlocks, standardTiles("Arena4"),
                             "breakableblockArena4", kWideCorners, 120);
    stage.blocksBreakAtOnce = true;
    stage.playersOnIce = true;
    buildStage(*this, stage, players, kArenaDifficulty);
}

void Level::loadArenaNinja(int players) {
    StageSetup stage = arena(kWideMapWidth, kWideMapHeight, kStageNinja, "level3bgm",
                             &AnimationLibrary::ninjaintroVS, &AnimationLibrary::backLevel3,
                             kArenaNinjaFloor, kArenaNinjaBlocks, pillarTiles(),
                             "breakableblockLevel3", kWideCorners, 200);
    buildStage(*this, stage, players, kArenaDifficulty);
}

void Level::loadArenaChina(int players) {
    StageSetup stage = arena(kWideMapWidth, kWideMapHeight, kStageChina, "level5bgm",
                             &AnimationLibrary::chineseintroVS, &AnimationLibrary::backLevel5,
                             kArenaChinaFloor, kArenaChinaBlocks, standardTiles("Level5"),
                             "breakableblockLevel5", kChinaCorners, 200);
    // Blocks as on level 5, at one player's drop chance whatever the count.
    stage.blockDropLevelFromPlayers = false;
    stage.blocksSpawnEnemies = true;
    stage.blockSpawnKind = BreakableBlock::kSpawnLevel5Kind;
    stage.blockEnemyCellCheck = true;
    buildStage(*this, stage, players, kArenaDifficulty);
}
