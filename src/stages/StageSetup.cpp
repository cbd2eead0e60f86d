#include "stages/StageSetup.h"

#include <algorithm>
#include <map>

#include "actors/Bomb.h"
#include "actors/BreakableBlock.h"
#include "actors/Player.h"
#include "actors/Powerup.h"
#include "platform/Clock.h"
#include "shell/Config.h"
#include "shell/FilePaths.h"
#include "shell/Sound.h"
#include "stages/FloorTile.h"
#include "stages/SolidBlock.h"
#include "world/CellValues.h"
#include "world/Level.h"

namespace {

// Where the ready and go messages stand, by grid shape.
constexpr int kReadyX = 185, kReadyY = 132, kGoX = 188, kGoY = 80;
constexpr int kSquareReadyX = 105, kSquareReadyY = 154, kSquareGoX = 108, kSquareGoY = 80;
constexpr int kHintX = 10, kHintY = 200;
constexpr int kSquareSide = 15;  // the small arenas
constexpr int kDynamitePower = 3;
constexpr int kFloorLayoutLayer = 1;
constexpr int kBlockLayoutLayer = 3;
constexpr int kEmptyLayoutLayer = 5;

void copyLayer(std::vector<int>& target, const int* source) {
    if (!source) return;
    std::copy(source, source + target.size(), target.begin());
}

// The library's animation of a powerup value; null for anything else.
const Animation* powerupAnimation(const AnimationLibrary& library, int value) {
    switch (value) {
        case cell::kBombPowerup: return library.bombpowerup;
        case cell::kFirePowerup: return library.explosionpowerup;
        case cell::kDynamitePowerup: return library.dynamitepowerup;
        case cell::kMissilePowerup: return library.missilepowerup;
        case cell::kHomingPowerup: return library.homingmissilepowerup;
        case cell::kKickPowerup: return library.kickpowerup;
        case cell::kHealthPowerup: return library.healthpowerup;
        case cell::kHammerPowerup: return library.hammerpowerup;
        default: return nullptr;
    }
}

Animation* loadPlayerSet(AnimationLibrary& library, int number) {
    switch (number) {
        case 1: return library.loadPlayer1();
        case 2: return library.loadPlayer2();
        case 3: return library.loadPlayer3();
        default: return library.loadPlayer4();
    }
}

// The objects the tile loop copies from, and the tile images loaded so far.
// A tile image shared by many cells is loaded once per stage; every cell
// still gets its own copy of it.
struct TileBuilder {
    Level& level;
    const StageSetup& stage;
    SolidBlock solid;
    FloorTile floor;
    BreakableBlock block;
    Powerup powerup;
    Bomb dynamite;
    std::map<std::string, Bitmap> images;

    TileBuilder(Level& l, const StageSetup& s) : level(l), stage(s) {}

    const Bitmap& tileImage(const std::string& section) {
        auto found = images.find(section);
        if (found != images.end()) return found->second;
        Bitmap image;
        image.load(getFrameFile(section.c_str(), 1), getWidth(section.c_str()),
                   getHeight(section.c_str()));
        return images.emplace(section, image).first->second;
    }

    void build(const TileEntry& entry, int layer, int col, int row) {
        AnimationLibrary* library = level.library;
        switch (entry.kind) {
            case TileKind::Solid:
                solid.init(cell::kSolid, kTileSize, col, row, kTileSize, kTileSize, layer,
                           tileImage(entry.section), &level.grid);
                level.tileLists[layer].push_front(solid);
                break;
            case TileKind::Floor:
                floor.init(cell::kFloor, kTileSize, col, row, kTileSize, kTileSize, layer,
                           tileImage(entry.section), &level.grid);
                level.tileLists[layer].push_front(floor);
                break;
            case TileKind::Breakable: {
                Bitmap image;
                if (library->levelBitmap) image = *library->levelBitmap;
                block.init(cell::kBreakable, kTileSize, col, row, kTileSize, kTileSize, layer,
                           image, &level.grid, library, &level.powerups,
                           stage.blocksSpawnEnemies,
                           stage.blocksSpawnEnemies ? &level.enemies : nullptr,
                           stage.blockSpawnKind);
                if (stage.blockDropLevelFromPlayers) block.dropLevel = level.numberOfPlayers;
                if (stage.blocksBreakAtOnce) block.clearIntact();
                if (stage.blockEnemyCellCheck) block.setEnemyCellCheck();
                level.blocks.push_front(block);
                break;
            }
            case TileKind::Powerup: {
                const Animation* anim = powerupAnimation(*library, entry.powerupValue);
                if (!anim) break;  // not a powerup value: nothing to lie there
                powerup.initAnimated(entry.powerupValue, kTileSize, col, row, kTileSize,
                                     kTileSize, layer::kPowerups, &level.grid, *anim);
                level.powerups.push_front(powerup);
                break;
            }
            case TileKind::Dynamite:
                dynamite.init(cell::kBomb, kTileSize, col, row, kTileSize, kTileSize,
                              layer::kObjects, &level.grid, false, bombSpeed, library->dynamite,
                              &level.explosions, library, kDynamitePower, nullptr, true);
                level.bombs.push_front(dynamite);
                break;
        }
    }
};

void buildTiles(Level& level, const StageSetup& stage) {
    // Codes index straight into a lookup; the table's first entry for a
    // code wins.
    int maxCode = 0;
    for (const TileEntry& entry : stage.tiles) maxCode = std::max(maxCode, entry.code);
    std::vector<const TileEntry*> byCode(static_cast<std::size_t>(maxCode) + 1, nullptr);
    for (const TileEntry& entry : stage.tiles) {
        if (entry.code > 0 && !byCode[entry.code]) byCode[entry.code] = &entry;
    }

    TileBuilder builder(level, stage);
    for (int l = 0; l < layer::kCount; ++l) {
        const std::vector<int>& codes = level.layoutLayers[l];
        if (codes.size() < static_cast<std::size_t>(level.cellCount)) continue;
        // Column by column: each tile goes to the front of its list, so a
        // list holds its layer's tiles in the reverse of this order.
        for (int x = 0; x < level.width; ++x) {
            for (int y = 0; y < level.height; ++y) {
                int code = codes[static_cast<std::size_t>(y * level.width + x)];
                if (code <= 0 || code > maxCode || !byCode[code]) continue;
                builder.build(*byCode[code], l, x, y);
            }
        }
    }
}

void buildPlayers(Level& level, const StageSetup& stage, int players) {
    AnimationLibrary* library = level.library;
    float speed = stage.versus ? multiplayerPlayerSpeed : playerSpeed;
    for (int n = 1; n <= players; ++n) {
        const int* stored = playerKeys[n - 1];
        // config.cfg holds right before left; the player wants left first.
        const int keys[6] = {stored[KEY_UP],    stored[KEY_DOWN],    stored[KEY_LEFT],
                             stored[KEY_RIGHT], stored[KEY_PRIMARY], stored[KEY_SECONDARY]};
        const Animation* walk = loadPlayerSet(*library, n);
        Animation death;
        if (library->playerDeath[n - 1]) death = *library->playerDeath[n - 1];

        Player player;
        player.init(cell::kPlayer, kTileSize, stage.startCells[n - 1][0],
                    stage.startCells[n - 1][1], kTileSize, kTileSize, layer::kObjects,
                    &level.grid, false, speed, walk, death, library->playerHit[n - 1], keys,
                    &level.bombs, &level.explosions, &level.blocks, &level.powerups,
                    &level.missiles, &level.homingMissiles, &level.enemies, &level.players,
                    library, stage.versus, n);
        if (stage.playersStartWithoutBombs) player.setBombCount(0);
        if (stage.playersOnIce) player.momentum = static_cast<uint32_t>(playerIceMomentum);
        level.players.push_front(player);
    }
}

}  // namespace

void buildStage(Level& level, const StageSetup& stage, int players, int difficulty) {
    players = std::clamp(players, 1, kMaxPlayers);

    level.init(stage.width, stage.height, players, stage.versus ? 1 : difficulty);
    level.music = openMusicStream(getPathString("audio", stage.musicKey));

    AnimationLibrary* library = level.library;
    level.introImage = stage.introScreen ? library->*stage.introScreen : nullptr;
    level.backgroundImage = stage.backgroundScreen ? library->*stage.backgroundScreen : nullptr;
    level.stageNumber = stage.stageNumber;
    level.versus = stage.versus;

    bool square = stage.width == kSquareSide && stage.height == kSquareSide;
    if (level.readyMessage) {
        level.readyMessage->x = square ? kSquareReadyX : kReadyX;
        level.readyMessage->y = square ? kSquareReadyY : kReadyY;
    }
    if (level.goMessage) {
        level.goMessage->x = square ? kSquareGoX : kGoX;
        level.goMessage->y = square ? kSquareGoY : kGoY;
    }

    if (stage.tutorialHints) {
        level.hintText.initGameFont(kHintX, kHintY);
    }

    copyLayer(level.layoutLayers[kFloorLayoutLayer], stage.floorLayer);
    copyLayer(level.layoutLayers[kBlockLayoutLayer], stage.blockLayer);
    // Layer 5 is part of the wide stages' design but always empty.
    std::fill(level.layoutLayers[kEmptyLayoutLayer].begin(),
              level.layoutLayers[kEmptyLayoutLayer].end(), 0);

    const char* blockSection = stage.breakableBlockSection.c_str();
    library->loadLevelBitmap(getFrameFile(blockSection, 1), getWidth(blockSection),
                             getHeight(blockSection));

    buildTiles(level, stage);
    buildPlayers(level, stage, players);
    if (stage.buildEnemies) stage.buildEnemies(level);

    level.setUpTick = plat::tickCount();
    level.clockBase = plat::tickCount();
    level.secondsLeft = stage.timeLimit;
}

std::string enemySection(const std::string& base, int difficulty) {
    switch (difficulty) {
        case 0: return base + "Easy";
        case 1: return base;
        case 2: return base + "Hard";
        default: return std::string();
    }
}

bool readEnemyTuning(const std::string& base, int difficulty,
                     const std::vector<std::string>& keys) {
    std::string section = enemySection(base, difficulty);
    if (section.empty()) return false;

    struct IntKey {
        const char* name;
        int* value;
        SettingRange range;
    };
    struct SpeedKey {
        const char* name;
        float* value;
        SettingRange range;  // in tenths
    };
    using namespace ranges;
    static const IntKey intKeys[] = {
        {"searchIntervalTime", &searchIntervalTime, kInterval},
        {"attackDistance", &attackDistance, kAttackDistance},
        {"healthDamage", &healthDamage, kHealthDamage},
        {"directionChangeIntervalTime", &directionChangeIntervalTime, kInterval},
        {"stopWaitTime", &stopWaitTime, kWait},
        {"enemyHealth", &enemyHealth, kEnemyHealth},
        {"enemyMissileIntervalTime", &enemyMissileIntervalTime, kShotInterval},
        {"missileStopWaitTime", &missileStopWaitTime, kWait},
        {"missileFireWaitTime", &missileFireWaitTime, kWait},
        {"maxEnemies", &maxEnemies, kMaxEnemies},
        {"replicateChance", &replicateChance, kChance},
        {"replicateWaitTime", &replicateWaitTime, kReplicateWait},
        {"replicateBlockChance", &replicateBlockChance, kChance},
        {"dragonLength", &dragonLength, kDragonLength},
        {"dragonHealth", &dragonHealth, kEnemyHealth},
    };
    // Speeds are kept in tenths in the file.
    static const SpeedKey speedKeys[] = {
        {"enemySpeed", &enemySpeed, kSpeed},
        {"enemyMissileSpeed", &enemyMissileSpeed, kSpeed},
        {"dragonSpeed", &dragonSpeed, kSpeed},
        {"dragonSpeedIncrement", &dragonSpeedIncrement, kSpeedIncrement},
    };

    for (const std::string& key : keys) {
        bool done = false;
        for (const IntKey& k : intKeys) {
            if (key == k.name) {
                *k.value = getConfigInt(section.c_str(), k.name, k.range);
                done = true;
                break;
            }
        }
        if (done) continue;
        for (const SpeedKey& k : speedKeys) {
            if (key == k.name) {
                *k.value = static_cast<float>(getConfigInt(section.c_str(), k.name, k.range)) / 10.0f;
                break;
            }
        }
    }
    return true;
}

TileTable standardTiles(const std::string& suffix) {
    return {
        {1, TileKind::Solid, "solidblock" + suffix, 0},
        {2, TileKind::Breakable, "", 0},
        {3, TileKind::Floor, "floortile" + suffix, 0},
        {4, TileKind::Floor, "floordetail1" + suffix, 0},
        {5, TileKind::Floor, "floordetail2" + suffix, 0},
        {6, TileKind::Floor, "floordetail3" + suffix, 0},
        {7, TileKind::Floor, "floordetail4" + suffix, 0},
        {8, TileKind::Solid, "edgetop" + suffix, 0},
        {9, TileKind::Solid, "edgeleft" + suffix, 0},
        {10, TileKind::Solid, "edgeright" + suffix, 0},
        {11, TileKind::Solid, "edgecornerleft" + suffix, 0},
        {12, TileKind::Solid, "edgecornerright" + suffix, 0},
        {13, TileKind::Solid, "edgebottom" + suffix, 0},
        {14, TileKind::Solid, "edgecornerbottomleft" + suffix, 0},
        {15, TileKind::Solid, "edgecornerbottomright" + suffix, 0},
    };
}

TileTable walledTiles(const std::string& lowerSuffix, const std::string& edgeSuffix) {
    return {
        {1, TileKind::Solid, "solidblock" + lowerSuffix, 0},
        {2, TileKind::Breakable, "", 0},
        {3, TileKind::Floor, "floortile" + lowerSuffix, 0},
        {4, TileKind::Floor, "floordetail1" + lowerSuffix, 0},
        {5, TileKind::Floor, "floordetail2" + lowerSuffix, 0},
        {6, TileKind::Floor, "floordetail3" + lowerSuffix, 0},
        {7, TileKind::Floor, "floordetail4" + lowerSuffix, 0},
        {8, TileKind::Solid, "solidblock2" + lowerSuffix, 0},
        {9, TileKind::Solid, "edgeCornerLeft" + edgeSuffix, 0},
        {10, TileKind::Solid, "edgeCornerRight" + edgeSuffix, 0},
        {11, TileKind::Solid, "edgeCornerBottomLeft" + edgeSuffix, 0},
        {12, TileKind::Solid, "edgeCornerBottomRight" + edgeSuffix, 0},
        {13, TileKind::Solid, "edgeTop" + edgeSuffix, 0},
        {14, TileKind::Solid, "edgeRight" + edgeSuffix, 0},
        {15, TileKind::Solid, "edgeLeft" + edgeSuffix, 0},
        {16, TileKind::Solid, "edgeBottom" + edgeSuffix, 0},
    };
}

TileTable pillarTiles() {
    TileTable table = {
        {1, TileKind::Solid, "solidblocklevel3", 0},
        {2, TileKind::Breakable, "", 0},
        {3, TileKind::Floor, "floortilelevel3", 0},
    };
    for (int detail = 1; detail <= 7; ++detail) {
        table.push_back({3 + detail, TileKind::Floor,
                         "floordetail" + std::to_string(detail) + "level3", 0});
    }
    static const char* const solids[] = {
        "edgeCornerLeftlevel3",        "edgeCornerRightlevel3",
        "edgeCornerBottomLeftlevel3",  "edgeCornerBottomRightlevel3",
        "edgeToplevel3",               "edgeRightlevel3",
        "edgeLeftlevel3",              "edgeBottomlevel3",
        "edgeTopLeftCornerLeft1",      "edgeTopLeftCornerLeft2",
        "edgeTopRightCornerRight1",    "edgeTopRightCornerRight2",
        "edgeTopRightCornerTop1",      "edgeTopRightCornerTop2",
        "edgeTopLeftCornerTop1",       "edgeTopLeftCornerTop2",
        "edgeBottomLeftCornerLeft1",   "edgeBottomLeftCornerLeft2",
        "edgeBottomLeftCornerBottom1", "edgeBottomLeftCornerBottom2",
        "edgeBottomRightCornerRight1", "edgeBottomRightCornerRight2",
        "edgeBottomRightCornerBottom1", "edgeBottomRightCornerBottom2",
    };
    int code = 11;
    for (const char* section : solids) table.push_back({code++, TileKind::Solid, section, 0});
    return table;
}

void addTutorialPickups(TileTable& table) {
    table.push_back({17, TileKind::Powerup, "", cell::kBombPowerup});
    table.push_back({18, TileKind::Powerup, "", cell::kFirePowerup});
    table.push_back({19, TileKind::Powerup, "", cell::kDynamitePowerup});
    table.push_back({20, TileKind::Powerup, "", cell::kHammerPowerup});
    table.push_back({21, TileKind::Powerup, "", cell::kHealthPowerup});
    table.push_back({22, TileKind::Powerup, "", cell::kMissilePowerup});
    table.push_back({23, TileKind::Powerup, "", cell::kKickPowerup});
    table.push_back({24, TileKind::Dynamite, "", 0});
}
