// Every stage as its set-up builds it, held cell by cell against its design
// as drawn (DrawnMaps.h): the layout layers, the one object on each cell and
// the image of its code, the tutorial's pickups; and the enemy tuning keys
// that each stage reads from its own section.
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "stages/DrawnMaps.h"
#include "stages/StageFixture.h"

namespace {

using stagetest::StageTest;

// What a code of a stage builds: a static tile with the image of a
// filepaths.cfg section, a breakable block, a powerup of a value, or dynamite.
struct Built {
    enum Kind { Solid, Floor, Breakable, Powerup, Dynamite } kind;
    std::string section;  // Solid and Floor: the image's section
    int value = 0;        // Powerup: its cell value
};
using Layout = std::map<int, Built>;

Built solid(const std::string& section) { return {Built::Solid, section, 0}; }
Built floorTile(const std::string& section) { return {Built::Floor, section, 0}; }
Built pickup(int value) { return {Built::Powerup, "", value}; }
const Built kBreakable = {Built::Breakable, "", 0};

// Levels 1, 2, 4, 5 and ROMAN, FUTURE, ARCTIC, CHINA: the level-1 names with
// the stage's own ending in place of "level1".
Layout standardLayout(const std::string& ending) {
    return {
        {1, solid("solidblock" + ending)},
        {2, kBreakable},
        {3, floorTile("floortile" + ending)},
        {4, floorTile("floordetail1" + ending)},
        {5, floorTile("floordetail2" + ending)},
        {6, floorTile("floordetail3" + ending)},
        {7, floorTile("floordetail4" + ending)},
        {8, solid("edgetop" + ending)},
        {9, solid("edgeleft" + ending)},
        {10, solid("edgeright" + ending)},
        {11, solid("edgecornerleft" + ending)},
        {12, solid("edgecornerright" + ending)},
        {13, solid("edgebottom" + ending)},
        {14, solid("edgecornerbottomleft" + ending)},
        {15, solid("edgecornerbottomright" + ending)},
    };
}

// The tutorial and DESERT: inner walls, and the edge pieces in another order.
Layout walledLayout(const std::string& inner, const std::string& edge) {
    return {
        {1, solid("solidblock" + inner)},
        {2, kBreakable},
        {3, floorTile("floortile" + inner)},
        {4, floorTile("floordetail1" + inner)},
        {5, floorTile("floordetail2" + inner)},
        {6, floorTile("floordetail3" + inner)},
        {7, floorTile("floordetail4" + inner)},
        {8, solid("solidblock2" + inner)},
        {9, solid("edgeCornerLeft" + edge)},
        {10, solid("edgeCornerRight" + edge)},
        {11, solid("edgeCornerBottomLeft" + edge)},
        {12, solid("edgeCornerBottomRight" + edge)},
        {13, solid("edgeTop" + edge)},
        {14, solid("edgeRight" + edge)},
        {15, solid("edgeLeft" + edge)},
        {16, solid("edgeBottom" + edge)},
    };
}

Layout tutorialLayout() {
    Layout layout = walledLayout("tutoriallevel", "tutoriallevel");
    layout[17] = pickup(9);   // bomb
    layout[18] = pickup(10);  // explosion
    layout[19] = pickup(11);  // dynamite
    layout[20] = pickup(16);  // hammer
    layout[21] = pickup(15);  // health
    layout[22] = pickup(12);  // missile
    layout[23] = pickup(14);  // kick
    layout[24] = {Built::Dynamite, "", 0};
    return layout;
}

// Level 3 and NINJA: seven floor details and two-piece corners.
Layout pillarLayout() {
    return {
        {1, solid("solidblocklevel3")},
        {2, kBreakable},
        {3, floorTile("floortilelevel3")},
        {4, floorTile("floordetail1level3")},
        {5, floorTile("floordetail2level3")},
        {6, floorTile("floordetail3level3")},
        {7, floorTile("floordetail4level3")},
        {8, floorTile("floordetail5level3")},
        {9, floorTile("floordetail6level3")},
        {10, floorTile("floordetail7level3")},
        {11, solid("edgeCornerLeftlevel3")},
        {12, solid("edgeCornerRightlevel3")},
        {13, solid("edgeCornerBottomLeftlevel3")},
        {14, solid("edgeCornerBottomRightlevel3")},
        {15, solid("edgeToplevel3")},
        {16, solid("edgeRightlevel3")},
        {17, solid("edgeLeftlevel3")},
        {18, solid("edgeBottomlevel3")},
        {19, solid("edgeTopLeftCornerLeft1")},
        {20, solid("edgeTopLeftCornerLeft2")},
        {21, solid("edgeTopRightCornerRight1")},
        {22, solid("edgeTopRightCornerRight2")},
        {23, solid("edgeTopRightCornerTop1")},
        {24, solid("edgeTopRightCornerTop2")},
        {25, solid("edgeTopLeftCornerTop1")},
        {26, solid("edgeTopLeftCornerTop2")},
        {27, solid("edgeBottomLeftCornerLeft1")},
        {28, solid("edgeBottomLeftCornerLeft2")},
        {29, solid("edgeBottomLeftCornerBottom1")},
        {30, solid("edgeBottomLeftCornerBottom2")},
        {31, solid("edgeBottomRightCornerRight1")},
        {32, solid("edgeBottomRightCornerRight2")},
        {33, solid("edgeBottomRightCornerBottom1")},
        {34, solid("edgeBottomRightCornerBottom2")},
    };
}

struct StageCase {
    const char* name;
    std::function<void(Level&)> load;
    const drawn::Rows& floor;
    const drawn::Rows& blocks;
    Layout layout;
    const char* blockSection;  // the breakable block's image
};

std::vector<StageCase> allStages() {
    return {
        {"tutorial", [](Level& l) { l.loadTutorial(1, 1); }, drawn::kWideFloor,
         drawn::kTutorialBlocks, tutorialLayout(), "breakableblocktutoriallevel"},
        {"level 1", [](Level& l) { l.loadLevel1(1, 1); }, drawn::kWideFloor, drawn::kLevel1Blocks,
         standardLayout("level1"), "breakableblockLevel1"},
        {"level 2", [](Level& l) { l.loadLevel2(1, 1); }, drawn::kLevel2Floor,
         drawn::kLevel2Blocks, standardLayout("level2"), "breakableblocklevel2"},
        {"level 3", [](Level& l) { l.loadLevel3(1, 1); }, drawn::kPillarFloor,
         drawn::kLevel3Blocks, pillarLayout(), "breakableblockLevel3"},
        {"level 4", [](Level& l) { l.loadLevel4(1, 1); }, drawn::kWideFloor, drawn::kLevel4Blocks,
         standardLayout("Level4"), "breakableblockLevel4"},
        {"level 5", [](Level& l) { l.loadLevel5(1, 1); }, drawn::kWideFloor, drawn::kLevel5Blocks,
         standardLayout("Level5"), "breakableblockLevel5"},
        {"DESERT", [](Level& l) { l.loadArenaDesert(2); }, drawn::kSquareFloor,
         drawn::kDesertBlocks, walledLayout("arena1", "Arena1"), "breakableblockarena1"},
        {"ROMAN", [](Level& l) { l.loadArenaRoman(2); }, drawn::kSquareFloor, drawn::kRomanBlocks,
         standardLayout("level1"), "breakableblockLevel1"},
        {"FUTURE", [](Level& l) { l.loadArenaFuture(2); }, drawn::kFutureFloor,
         drawn::kFutureBlocks, standardLayout("level2"), "breakableblocklevel2"},
        {"ARCTIC", [](Level& l) { l.loadArenaArctic(2); }, drawn::kWideFloor,
         drawn::kArcticBlocks, standardLayout("Arena4"), "breakableblockArena4"},
        {"NINJA", [](Level& l) { l.loadArenaNinja(2); }, drawn::kPillarFloor,
         drawn::kNinjaBlocks, pillarLayout(), "breakableblockLevel3"},
        {"CHINA", [](Level& l) { l.loadArenaChina(2); }, drawn::kWideFloor, drawn::kChinaBlocks,
         standardLayout("Level5"), "breakableblockLevel5"},
    };
}

// The library's animation section of each powerup value.
const std::map<int, std::string> kPowerupSections = {
    {9, "bombpowerup"},     {10, "explosionpowerup"},     {11, "dynamitepowerup"},
    {12, "missilepowerup"}, {13, "homingmissilepowerup"}, {14, "kickpowerup"},
    {15, "healthpowerup"},  {16, "hammerpowerup"},
};

std::string frameFile(const std::string& section) { return getFrameFile(section.c_str(), 1); }

std::string at(int col, int row) {
    std::ostringstream text;
    text << "(" << col << ", " << row << ")";
    return text.str();
}

class StageBuildTest : public StageTest {
protected:
    // Everything the Level holds, by (layer, column, row). Two objects on
    // one place fail at once.
    struct Field {
        std::map<std::tuple<int, int, int>, const GridObject*> tiles;
        std::map<std::pair<int, int>, const BreakableBlock*> blocks;
        std::map<std::pair<int, int>, const Powerup*> powerups;
        std::map<std::pair<int, int>, const Bomb*> bombs;
    };

    Field field() {
        Field f;
        for (int l = 0; l < layer::kCount; ++l) {
            for (const GridObject& tile : level.tileLists[l]) {
                EXPECT_EQ(tile.layer, l);
                EXPECT_TRUE(f.tiles.insert({{l, tile.col, tile.row}, &tile}).second)
                    << "two tiles on layer " << l << " at " << at(tile.col, tile.row);
            }
        }
        for (const BreakableBlock& b : level.blocks)
            EXPECT_TRUE(f.blocks.insert({{b.col, b.row}, &b}).second) << at(b.col, b.row);
        for (const Powerup& p : level.powerups)
            EXPECT_TRUE(f.powerups.insert({{p.col, p.row}, &p}).second) << at(p.col, p.row);
        for (const Bomb& b : level.bombs)
            EXPECT_TRUE(f.bombs.insert({{b.col, b.row}, &b}).second) << at(b.col, b.row);
        return f;
    }

    // One drawn layer (1 floor, 3 blocks) against the layout layer and the
    // objects on its cells.
    void expectLayerAsDrawn(const StageCase& s, int l, const drawn::Rows& rows, const Field& f) {
        const std::string blockFile = frameFile(s.blockSection);
        for (int row = 0; row < level.height; ++row) {
            for (int col = 0; col < level.width; ++col) {
                SCOPED_TRACE("layer " + std::to_string(l) + " at " + at(col, row));
                const int code = drawn::code(rows[row][col]);
                ASSERT_GE(code, 0) << "a drawn character that is no code";
                EXPECT_EQ(level.layoutLayers[l][row * level.width + col], code);
                const auto tile = f.tiles.find({l, col, row});
                if (code == 0) {
                    EXPECT_EQ(tile, f.tiles.end());
                    continue;
                }
                const auto entry = s.layout.find(code);
                ASSERT_NE(entry, s.layout.end()) << "code " << code << " is not in the layout";
                const Built& want = entry->second;
                switch (want.kind) {
                    case Built::Solid:
                    case Built::Floor:
                        ASSERT_NE(tile, f.tiles.end()) << want.section;
                        EXPECT_EQ(tile->second->image.getImageFile(), frameFile(want.section))
                            << "code " << code << " should show " << want.section;
                        EXPECT_EQ(level.grid.getTile(l, col, row),
                                  want.kind == Built::Solid ? 1 : 3);
                        break;
                    case Built::Breakable: {
                        const auto block = f.blocks.find({col, row});
                        ASSERT_NE(block, f.blocks.end());
                        EXPECT_EQ(block->second->layer, l);
                        EXPECT_EQ(block->second->image.getImageFile(), blockFile);
                        EXPECT_EQ(level.grid.getTile(l, col, row), 2);
                        break;
                    }
                    case Built::Powerup: {
                        // On the powerup layer, whichever layer drew it.
                        const auto powerup = f.powerups.find({col, row});
                        ASSERT_NE(powerup, f.powerups.end());
                        const Powerup& p = *powerup->second;
                        EXPECT_EQ(p.value, want.value);
                        EXPECT_EQ(p.layer, 2);
                        EXPECT_EQ(level.grid.getTile(2, col, row), want.value);
                        ASSERT_GT(p.animation.getFrameCount(), 0);
                        EXPECT_EQ(p.animation.getFrames()[0].getImageFile(),
                                  frameFile(kPowerupSections.at(want.value)))
                            << "value " << want.value << " should look like itself";
                        break;
                    }
                    case Built::Dynamite: {
                        const auto bomb = f.bombs.find({col, row});
                        ASSERT_NE(bomb, f.bombs.end());
                        const Bomb& b = *bomb->second;
                        EXPECT_TRUE(b.isDynamite);
                        EXPECT_EQ(b.power, 3);
                        EXPECT_EQ(b.owner, nullptr);
                        EXPECT_EQ(b.layer, 3);
                        EXPECT_EQ(level.grid.getTile(3, col, row), 6);
                        break;
                    }
                }
            }
        }
    }
};

TEST_F(StageBuildTest, EveryStageBuildsItsDrawnMapCellByCell) {
    for (const StageCase& s : allStages()) {
        SCOPED_TRACE(s.name);
        s.load(level);
        ASSERT_EQ(level.height, static_cast<int>(s.floor.size()));
        ASSERT_EQ(level.width, static_cast<int>(s.floor[0].size()));
        ASSERT_EQ(s.blocks.size(), s.floor.size());
        for (const std::string& row : s.floor) ASSERT_EQ(row.size(), s.floor[0].size());
        for (const std::string& row : s.blocks) ASSERT_EQ(row.size(), s.floor[0].size());

        const Field f = field();
        expectLayerAsDrawn(s, 1, s.floor, f);
        expectLayerAsDrawn(s, 3, s.blocks, f);
        // Nothing beyond one object per drawn cell.
        std::size_t drawnCells = 0;
        for (const drawn::Rows* rows : {&s.floor, &s.blocks})
            for (const std::string& row : *rows)
                for (char c : row) drawnCells += c != '.';
        std::size_t built = level.blocks.size() + level.powerups.size() + level.bombs.size();
        for (const auto& tiles : level.tileLists) built += tiles.size();
        EXPECT_EQ(built, drawnCells);
        level.cleanup();
    }
}

// The tuning values of the enemies: each stage reads its own keys from its
// section and leaves every other value as it was.
struct TuningKey {
    const char* name;
    int written;           // into the stage's section; speeds in tenths
    int* whole = nullptr;  // the value it sets
    float* speed = nullptr;
};

const std::vector<TuningKey>& tuningKeys() {
    static const std::vector<TuningKey> keys = {
        {"searchIntervalTime", 1234, &searchIntervalTime},
        {"attackDistance", 17, &attackDistance},
        {"healthDamage", 23, &healthDamage},
        {"enemySpeed", 37, nullptr, &enemySpeed},
        {"directionChangeIntervalTime", 2345, &directionChangeIntervalTime},
        {"stopWaitTime", 456, &stopWaitTime},
        {"enemyMissileIntervalTime", 3456, &enemyMissileIntervalTime},
        {"enemyHealth", 321, &enemyHealth},
        {"enemyMissileSpeed", 43, nullptr, &enemyMissileSpeed},
        {"missileStopWaitTime", 567, &missileStopWaitTime},
        {"missileFireWaitTime", 678, &missileFireWaitTime},
        {"maxEnemies", 7, &maxEnemies},
        {"replicateChance", 31, &replicateChance},
        {"replicateWaitTime", 12345, &replicateWaitTime},
        {"replicateBlockChance", 41, &replicateBlockChance},
        {"dragonLength", 2, &dragonLength},
        {"dragonHealth", 222, &dragonHealth},
        {"dragonSpeed", 29, nullptr, &dragonSpeed},
        {"dragonSpeedIncrement", 3, nullptr, &dragonSpeedIncrement},
    };
    return keys;
}

struct TuningCase {
    const char* section;  // the one the difficulty selects
    std::function<void(Level&)> load;
    std::set<std::string> read;
    std::vector<float> enemySpeeds;  // newest first
    std::vector<int> enemyHealths;
};

TEST_F(StageTest, EachStageReadsItsOwnTuningKeys) {
    const std::set<std::string> seven = {"searchIntervalTime", "attackDistance", "healthDamage",
                                         "enemySpeed", "directionChangeIntervalTime",
                                         "stopWaitTime", "enemyHealth"};
    auto sevenAnd = [&](std::set<std::string> more) {
        more.insert(seven.begin(), seven.end());
        return more;
    };
    const std::set<std::string> missileKeys = sevenAnd(
        {"enemyMissileIntervalTime", "enemyMissileSpeed", "missileStopWaitTime",
         "missileFireWaitTime"});
    const TuningCase cases[] = {
        {"enemyGruntEasy", [](Level& l) { l.loadTutorial(1, 0); },
         sevenAnd({"maxEnemies", "replicateChance", "replicateWaitTime"}), {3.7f, 3.7f, 3.7f},
         {321, 321, 321}},
        {"enemyHard", [](Level& l) { l.loadLevel1(1, 2); }, seven,
         {3.7f, 3.7f, 3.7f, 3.7f, 3.7f, 3.7f}, {321, 321, 321, 321, 321, 321}},
        {"enemyMech", [](Level& l) { l.loadLevel2(1, 1); }, missileKeys, {3.9f, 3.7f},
         {321, 321}},
        {"enemyGrunt2Easy", [](Level& l) { l.loadLevel3(1, 0); }, missileKeys,
         {3.7f, 3.7f, 3.7f}, {321, 321, 321}},
        {"replicatingEnemyHard", [](Level& l) { l.loadLevel4(1, 2); },
         sevenAnd({"maxEnemies", "replicateChance", "replicateWaitTime", "replicateBlockChance"}),
         {3.7f}, {321}},
        // Tail, two body segments, head.
        {"dragonEnemy", [](Level& l) { l.loadLevel5(1, 1); },
         sevenAnd({"dragonLength", "maxEnemies", "replicateChance", "replicateWaitTime",
                   "replicateBlockChance", "dragonHealth", "dragonSpeed",
                   "dragonSpeedIncrement"}),
         {2.9f, 2.9f, 2.9f, 2.9f}, {222, 321, 321, 321}},
    };
    for (const TuningCase& c : cases) {
        SCOPED_TRACE(c.section);
        for (const TuningKey& k : tuningKeys())
            setConfig(c.section, k.name, std::to_string(k.written));
        for (const TuningKey& k : tuningKeys()) {
            if (k.whole) *k.whole = -77;
            if (k.speed) *k.speed = -7.7f;
        }
        c.load(level);
        for (const TuningKey& k : tuningKeys()) {
            const bool read = c.read.count(k.name) > 0;
            if (k.whole) {
                EXPECT_EQ(*k.whole, read ? k.written : -77) << k.name;
            } else {
                EXPECT_FLOAT_EQ(*k.speed, read ? k.written / 10.0f : -7.7f) << k.name;
            }
        }
        std::vector<float> speeds;
        std::vector<int> healths;
        for (const Enemy& e : level.enemies) {
            speeds.push_back(e.speed);
            healths.push_back(e.health);
        }
        ASSERT_EQ(speeds.size(), c.enemySpeeds.size());
        for (std::size_t i = 0; i < speeds.size(); ++i) EXPECT_FLOAT_EQ(speeds[i], c.enemySpeeds[i]);
        EXPECT_EQ(healths, c.enemyHealths);
        level.cleanup();
    }
}

}  // namespace
