// The compiled-in stage maps checked against their stages: codes the tile
// tables know, closed edges, free start and enemy cells, and the designs'
// particular features. A map shifted by one cell or cut short shows up in
// the edge and start-cell checks.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "stages/StageMaps.h"
#include "stages/StageSetup.h"

namespace {

struct Cell {
    int col, row;
};

struct MapCase {
    const char* name;
    int width, height;
    const int* floor;
    const int* blocks;
    TileTable tiles;
    // The used square (FUTURE uses only part of its grid).
    int first, lastCol, lastRow;
    std::vector<Cell> starts;
    std::vector<Cell> enemies;
};

TileTable tutorialTiles() {
    TileTable t = walledTiles("tutoriallevel", "tutoriallevel");
    addTutorialPickups(t);
    return t;
}

const std::vector<Cell> kWideStarts = {{1, 1}, {18, 11}, {1, 11}, {18, 1}};
const std::vector<Cell> kFifthStarts = {{1, 1}, {17, 11}, {1, 11}, {17, 1}};
const std::vector<Cell> kSquareStarts = {{1, 1}, {13, 13}, {1, 13}, {13, 1}};

std::vector<MapCase> allMaps() {
    const int W = kWideMapWidth, H = kWideMapHeight, S = kSquareMapSize;
    return {
        {"tutorial", W, H, kTutorialFloor, kTutorialBlocks, tutorialTiles(), 0, W - 1, H - 1,
         {{1, 1}}, {{7, 7}, {3, 7}, {7, 10}}},
        {"level1", W, H, kLevel1Floor, kLevel1Blocks, standardTiles("level1"), 0, W - 1, H - 1,
         kWideStarts, {{9, 5}, {9, 6}, {10, 7}, {10, 5}, {9, 8}, {9, 7}}},
        {"level2", W, H, kLevel2Floor, kLevel2Blocks, standardTiles("level2"), 0, W - 1, H - 1,
         kWideStarts, {{11, 5}, {9, 6}}},
        {"level3", W, H, kLevel3Floor, kLevel3Blocks, pillarTiles(), 0, W - 1, H - 1, kWideStarts,
         {{10, 5}, {9, 6}, {10, 6}}},
        {"level4", W, H, kLevel4Floor, kLevel4Blocks, standardTiles("Level4"), 0, W - 1, H - 1,
         kWideStarts, {{9, 5}}},
        {"level5", W, H, kLevel5Floor, kLevel5Blocks, standardTiles("Level5"), 0, W - 1, H - 1,
         kFifthStarts, {{9, 5}}},
        {"desert", S, S, kArenaDesertFloor, kArenaDesertBlocks, walledTiles("arena1", "Arena1"),
         0, S - 1, S - 1, kSquareStarts, {}},
        {"roman", S, S, kArenaRomanFloor, kArenaRomanBlocks, standardTiles("level1"), 0, S - 1,
         S - 1, kSquareStarts, {}},
        {"future", S, S, kArenaFutureFloor, kArenaFutureBlocks, standardTiles("level2"), 3, 11,
         11, {{4, 4}, {10, 10}, {4, 10}, {10, 4}}, {}},
        {"arctic", W, H, kArenaArcticFloor, kArenaArcticBlocks, standardTiles("Arena4"), 0, W - 1,
         H - 1, kWideStarts, {}},
        {"ninja", W, H, kArenaNinjaFloor, kArenaNinjaBlocks, pillarTiles(), 0, W - 1, H - 1,
         kWideStarts, {}},
        {"china", W, H, kArenaChinaFloor, kArenaChinaBlocks, standardTiles("Level5"), 0, W - 1,
         H - 1, kFifthStarts, {}},
    };
}

const TileEntry* entryFor(const TileTable& table, int code) {
    for (const TileEntry& e : table)
        if (e.code == code) return &e;
    return nullptr;
}

bool isFloorCode(const TileTable& table, int code) {
    const TileEntry* e = entryFor(table, code);
    return e && e->kind == TileKind::Floor;
}

bool isSolidCode(const TileTable& table, int code) {
    const TileEntry* e = entryFor(table, code);
    return e && e->kind == TileKind::Solid;
}

int at(const MapCase& m, const int* layer, int col, int row) { return layer[row * m.width + col]; }

bool inUsedSquare(const MapCase& m, int col, int row) {
    return col >= m.first && col <= m.lastCol && row >= m.first && row <= m.lastRow;
}

bool onUsedRing(const MapCase& m, int col, int row) {
    return inUsedSquare(m, col, row) &&
           (col == m.first || col == m.lastCol || row == m.first || row == m.lastRow);
}

TEST(StageMaps, EveryCodeIsOneItsStageKnows) {
    for (const MapCase& m : allMaps()) {
        SCOPED_TRACE(m.name);
        for (int i = 0; i < m.width * m.height; ++i) {
            // Floors hold only floor tiles; everything else stands in the
            // block layer.
            if (m.floor[i] != 0) {
                EXPECT_TRUE(isFloorCode(m.tiles, m.floor[i])) << "floor cell " << i;
            }
            if (m.blocks[i] != 0) {
                EXPECT_TRUE(entryFor(m.tiles, m.blocks[i]) && !isFloorCode(m.tiles, m.blocks[i]))
                    << "block cell " << i << " code " << m.blocks[i];
            }
        }
    }
}

TEST(StageMaps, FieldIsClosedByASolidRingWithFloorInside) {
    for (const MapCase& m : allMaps()) {
        SCOPED_TRACE(m.name);
        for (int row = 0; row < m.height; ++row) {
            for (int col = 0; col < m.width; ++col) {
                const int floor = at(m, m.floor, col, row);
                const int block = at(m, m.blocks, col, row);
                if (!inUsedSquare(m, col, row)) {
                    EXPECT_EQ(floor, 0) << col << "," << row;
                    EXPECT_EQ(block, 0) << col << "," << row;
                } else if (onUsedRing(m, col, row)) {
                    EXPECT_TRUE(isSolidCode(m.tiles, block)) << col << "," << row;
                } else if (!isSolidCode(m.tiles, block)) {
                    // Wherever a player or a block can stand there is floor.
                    EXPECT_TRUE(isFloorCode(m.tiles, floor)) << col << "," << row;
                }
            }
        }
        // Nothing lies under the outer edge of the grid.
        for (int col = 0; col < m.width; ++col) {
            EXPECT_EQ(at(m, m.floor, col, 0), 0);
            EXPECT_EQ(at(m, m.floor, col, m.height - 1), 0);
        }
        for (int row = 0; row < m.height; ++row) {
            EXPECT_EQ(at(m, m.floor, 0, row), 0);
            EXPECT_EQ(at(m, m.floor, m.width - 1, row), 0);
        }
    }
}

TEST(StageMaps, StartAndEnemyCellsAreOpenFloor) {
    for (const MapCase& m : allMaps()) {
        SCOPED_TRACE(m.name);
        std::vector<Cell> cells = m.starts;
        cells.insert(cells.end(), m.enemies.begin(), m.enemies.end());
        for (const Cell& c : cells) {
            EXPECT_EQ(at(m, m.blocks, c.col, c.row), 0) << c.col << "," << c.row;
            EXPECT_TRUE(isFloorCode(m.tiles, at(m, m.floor, c.col, c.row))) << c.col << "," << c.row;
        }
        // A player can step off its start cell.
        for (const Cell& c : m.starts) {
            const Cell around[4] = {
                {c.col + 1, c.row}, {c.col - 1, c.row}, {c.col, c.row + 1}, {c.col, c.row - 1}};
            int open = 0;
            for (const Cell& n : around) open += at(m, m.blocks, n.col, n.row) == 0;
            EXPECT_GE(open, 1) << c.col << "," << c.row;
        }
    }
}

TEST(StageMaps, TutorialHoldsEightPickupsAndTwoDynamites) {
    std::map<int, int> count;
    for (int i = 0; i < kWideMapCells; ++i) ++count[kTutorialBlocks[i]];
    EXPECT_EQ(count[17], 2);  // bomb powerups
    for (int code = 18; code <= 23; ++code) EXPECT_EQ(count[code], 1) << code;
    EXPECT_EQ(count[24], 2);  // dynamite
    EXPECT_EQ(count[25], 0);
}

TEST(StageMaps, PillarFloorIsEmptyExactlyUnderTheFortyPillars) {
    for (const int* blocks : {kLevel3Blocks, kArenaNinjaBlocks}) {
        int pillars = 0;
        for (int row = 1; row < kWideMapHeight - 1; ++row) {
            for (int col = 1; col < kWideMapWidth - 1; ++col) {
                const int i = row * kWideMapWidth + col;
                pillars += blocks[i] == 1;
                EXPECT_EQ(kLevel3Floor[i] == 0, blocks[i] == 1) << col << "," << row;
            }
        }
        EXPECT_EQ(pillars, 40);
    }
}

TEST(StageMaps, SpecialFloorsAndBlockFields) {
    // Level 2: a checkerboard of two floor codes.
    for (int row = 1; row < kWideMapHeight - 1; ++row)
        for (int col = 1; col < kWideMapWidth - 1; ++col)
            EXPECT_EQ(kLevel2Floor[row * kWideMapWidth + col], (row + col) % 2 == 0 ? 3 : 4);

    // ARCTIC: most of the field inside the ring is breakable blocks.
    int breakable = 0;
    for (int i = 0; i < kWideMapCells; ++i) breakable += kArenaArcticBlocks[i] == 2;
    EXPECT_GT(breakable, (kWideMapWidth - 2) * (kWideMapHeight - 2) * 2 / 3);

    for (int v : kEmptyLayer) EXPECT_EQ(v, 0);
}

}  // namespace
