// The one procedure that turns a stage's constant data into a ready Level:
// every stage set-up (tutorial, levels, versus arenas) fills a StageSetup
// with its values and hands it to buildStage. The grid is filled, the tile,
// block, powerup, bomb, player and enemy lists are populated and the clock
// is set; the round itself (intro, music, ready, go) is Level::draw's.
//
// A stage's map is up to two arrays of width x height cell codes, row-major
// (element row * width + column): the floor goes into layout layer 1, the
// blocks into layer 3. The stage's tile table says what each code builds; a
// code the table does not list builds nothing.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "graphics/AnimationLibrary.h"

class Level;
class BreakableBlock;
class Player;
class Bitmap;

// What a cell code builds.
enum class TileKind {
    Solid,      // SolidBlock, cell value 1, on the layer the code stands in
    Floor,      // FloorTile, cell value 3, on the layer the code stands in
    Breakable,  // BreakableBlock, cell value 2, the stage's block image
    Powerup,    // Powerup of powerupValue (9..16), always on layer 2
    Dynamite    // ownerless dynamite of power 3, always on layer 3
};

// One row of a stage's tile table.
struct TileEntry {
    int code;
    TileKind kind;
    std::string section;  // filepaths.cfg section of a Solid or Floor tile's image
    int powerupValue;     // Powerup only
};

using TileTable = std::vector<TileEntry>;

// The three tile layouts. standardTiles takes the suffix that ends its
// section names ("level1", "level2", "Level4", "Level5", "Arena4");
// walledTiles the suffix of codes 1 to 8 and that of codes 9 to 16
// ("tutoriallevel" twice, or "arena1" and "Arena1"); the pillar layout's
// 34 sections are fixed.
TileTable standardTiles(const std::string& suffix);
TileTable walledTiles(const std::string& lowerSuffix, const std::string& edgeSuffix);
TileTable pillarTiles();
// The tutorial's pre-placed powerups and dynamite (codes 17 to 24) added to
// a table.
void addTutorialPickups(TileTable& table);

// Everything that differs between two stages.
struct StageSetup {
    int width = 20;
    int height = 13;
    int stageNumber = 0;
    bool versus = false;
    // Screens of the stage's AnimationLibrary (loaded by Level::init).
    Bitmap* AnimationLibrary::*introScreen = nullptr;
    Bitmap* AnimationLibrary::*backgroundScreen = nullptr;
    const char* musicKey = "";  // key of section "audio" in filepaths.cfg
    bool tutorialHints = false;  // initialise the Level's hint text

    const int* floorLayer = nullptr;  // width * height codes, or null
    const int* blockLayer = nullptr;  // width * height codes, or null
    TileTable tiles;
    std::string breakableBlockSection;

    // Start cell (column, row) of players 1 to 4.
    int startCells[4][2] = {{1, 1}, {18, 11}, {1, 11}, {18, 1}};
    int timeLimit = 180;  // seconds

    // How breakable blocks are built.
    bool blocksSpawnEnemies = false;  // they shake and turn into enemies
    int blockSpawnKind = 1;           // 1: the level-4 enemy, 0: the level-5 spawned enemy
    bool blockDropLevelFromPlayers = false;  // drop level := number of players
    bool blocksBreakAtOnce = false;          // gone, with their powerup roll, on the first update
    bool blockEnemyCellCheck = false;        // an enemy on the block's cell breaks it

    // Player extras.
    bool playersStartWithoutBombs = false;
    bool playersOnIce = false;  // momentum := playerIceMomentum

    // Step 13: reads the enemy tuning and builds the enemies; runs after the
    // players and before the clock. Empty for stages without enemies.
    std::function<void(Level&)> buildEnemies;
};

// Runs the whole set-up on a clean Level (new, or cleaned up). players is
// brought into 1..4 first (player 1 always plays; more than four builds
// four); versus stages pass difficulty 1 to Level::init whatever is given.
// A tile, block or font image that does not load throws CException out of
// it, leaving the Level for Level::cleanup.
void buildStage(Level& level, const StageSetup& stage, int players, int difficulty);

// Enemy tuning from config.cfg. The section is base + "Easy" at difficulty
// 0, base alone at 1, base + "Hard" at 2, and empty (nothing is read) at any
// other difficulty.
std::string enemySection(const std::string& base, int difficulty);
// Reads each key (in the given order) into the tuning global of the same
// name, brought into the key's range: speed keys hold tenths and are stored
// divided by 10, the others as read; a key that neither the player's nor
// the shipped config.cfg holds reads -1 before the range is applied.
// Returns false, reading nothing, when the difficulty selects no section.
// Unknown key names are skipped.
bool readEnemyTuning(const std::string& base, int difficulty,
                     const std::vector<std::string>& keys);
