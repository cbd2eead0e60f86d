// The play field's occupancy map: seven layers of int cells, width x height
// each. Objects write their cell value (world/CellValues.h) where they stand;
// collision, explosions, pick-ups and the path search read it back.
//
// Reads outside the grid (or of a layer outside 0..6) give 0 and writes there
// are ignored, so neither a moving object at the field's rim nor a bad stage
// map can touch memory outside the layers.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "world/CellValues.h"

class TileGrid {
public:
    TileGrid();
    ~TileGrid();

    // Discards the old contents and makes width x height cells on every
    // layer, all 0. A negative size counts as 0.
    void create(int width, int height);

    int getTile(int layer, int col, int row) const {
        return inside(layer, col, row) ? layers[layer][index(col, row)] : 0;
    }
    void setTile(int layer, int col, int row, int value) {
        if (inside(layer, col, row)) layers[layer][index(col, row)] = value;
    }

    bool isValidX(int col) const { return col >= 0 && col < width; }
    bool isValidY(int row) const { return row >= 0 && row < height; }

    int getWidth() const { return width; }
    int getHeight() const { return height; }

private:
    bool inside(int layer, int col, int row) const {
        return layer >= 0 && layer < layer::kCount && isValidX(col) && isValidY(row);
    }
    // Row-major: (col, row) is element col + row * width.
    std::size_t index(int col, int row) const {
        return std::size_t(col) + std::size_t(row) * std::size_t(width);
    }

    std::array<std::vector<int>, layer::kCount> layers;
    int width;
    int height;
};
