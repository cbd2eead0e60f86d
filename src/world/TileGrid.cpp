#include "world/TileGrid.h"

TileGrid::TileGrid() : width(0), height(0) {}

TileGrid::~TileGrid() = default;

void TileGrid::create(int newWidth, int newHeight) {
    if (newWidth < 0) newWidth = 0;
    if (newHeight < 0) newHeight = 0;
    width = newWidth;
    height = newHeight;
    const std::size_t cells = std::size_t(width) * std::size_t(height);
    for (auto& cellsOfLayer : layers) cellsOfLayer.assign(cells, cell::kEmpty);
}
