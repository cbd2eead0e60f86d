#include <gtest/gtest.h>

#include "world/CellValues.h"
#include "world/TileGrid.h"

namespace {

int nonZeroCells(const TileGrid& g) {
    int n = 0;
    for (int l = 0; l < layer::kCount; ++l)
        for (int r = 0; r < g.getHeight(); ++r)
            for (int c = 0; c < g.getWidth(); ++c) n += g.getTile(l, c, r) != 0;
    return n;
}

}  // namespace

TEST(TileGrid, CreateGivesEmptyLayersAndItsBounds) {
    TileGrid g;
    EXPECT_EQ(0, g.getWidth());
    EXPECT_FALSE(g.isValidX(0));
    EXPECT_EQ(0, g.getTile(layer::kObjects, 0, 0));

    g.create(20, 13);
    EXPECT_EQ(20, g.getWidth());
    EXPECT_EQ(0, nonZeroCells(g));
    EXPECT_TRUE(g.isValidX(19));
    EXPECT_FALSE(g.isValidX(20));
    EXPECT_FALSE(g.isValidX(-1));
    EXPECT_TRUE(g.isValidY(12));
    EXPECT_FALSE(g.isValidY(13));

    g.setTile(layer::kObjects, 4, 2, cell::kEnemy);
    g.create(15, 15);  // the next stage starts clean at its own size
    EXPECT_EQ(0, nonZeroCells(g));
    EXPECT_TRUE(g.isValidY(14));
    EXPECT_FALSE(g.isValidY(15));

    g.create(-4, 3);
    EXPECT_EQ(0, g.getWidth());
    EXPECT_FALSE(g.isValidX(0));
}

TEST(TileGrid, LayersAndCellsAreIndependent) {
    TileGrid g;
    g.create(20, 13);
    g.setTile(layer::kObjects, 4, 2, cell::kEnemy);
    EXPECT_EQ(cell::kEnemy, g.getTile(layer::kObjects, 4, 2));
    EXPECT_EQ(1, nonZeroCells(g));
    g.setTile(layer::kExplosions, 4, 2, cell::kExplosion);
    g.setTile(layer::kObjects, 4, 2, cell::kEmpty);
    EXPECT_EQ(cell::kExplosion, g.getTile(layer::kExplosions, 4, 2));
    EXPECT_EQ(1, nonZeroCells(g));
    // The corners are distinct cells.
    g.setTile(6, 19, 12, 3);
    g.setTile(0, 0, 0, 7);
    EXPECT_EQ(3, g.getTile(6, 19, 12));
    EXPECT_EQ(7, g.getTile(0, 0, 0));
}

TEST(TileGrid, OutsideTheGridReadsZeroAndIgnoresWrites) {
    TileGrid g;
    g.create(20, 13);
    g.setTile(layer::kObjects, 0, 2, cell::kSolid);
    g.setTile(layer::kObjects, 19, 2, cell::kSolid);
    // Past the row's end would be the next row's start in memory, and before
    // its start the previous row's end.
    g.setTile(layer::kObjects, 20, 1, cell::kBomb);
    g.setTile(layer::kObjects, -1, 3, cell::kBomb);
    EXPECT_EQ(cell::kSolid, g.getTile(layer::kObjects, 0, 2));
    EXPECT_EQ(cell::kSolid, g.getTile(layer::kObjects, 19, 2));
    EXPECT_EQ(0, g.getTile(layer::kObjects, 20, 1));
    EXPECT_EQ(0, g.getTile(layer::kObjects, -1, 3));

    for (int l : {-1, 7, 100}) {
        g.setTile(l, 1, 1, cell::kBomb);
        EXPECT_EQ(0, g.getTile(l, 1, 1));
    }
    g.setTile(layer::kObjects, 3, 13, cell::kBomb);
    g.setTile(layer::kObjects, 3, -1, cell::kBomb);
    g.setTile(layer::kObjects, 1 << 30, 1 << 30, cell::kBomb);
    EXPECT_EQ(0, g.getTile(layer::kObjects, 3, 13));
    EXPECT_EQ(2, nonZeroCells(g));
}
