#include "world/GridObject.h"

#include "world/TileGrid.h"

GridObject::GridObject()
    : active(false),
      grid(nullptr),
      x(0),
      y(0),
      col(0),
      row(0),
      tileSize(0),
      width(0),
      height(0),
      value(0),
      layer(0) {}

GridObject::GridObject(const GridObject& other) : GridObject() { GridObject::copy(other); }

GridObject::~GridObject() = default;

void GridObject::init(int newValue, int newTileSize, int newCol, int newRow, int newWidth,
                      int newHeight, int newLayer, Bitmap newImage, TileGrid* newGrid) {
    value = newValue;
    tileSize = newTileSize;
    col = newCol;
    row = newRow;
    width = newWidth;
    height = newHeight;
    layer = newLayer;
    grid = newGrid;
    x = col * tileSize;
    y = row * tileSize;
    image = newImage;
    active = true;
    writeTile(layer, col, row, value);
}

void GridObject::draw(plat::Surface& target) {
    image.x = x;
    image.y = y;
    image.draw(target);
    writeTile(layer, col, row, value);
}

GridObject* GridObject::clone() { return new GridObject(*this); }

void GridObject::copy(const GridObject& other) {
    active = other.active;
    grid = other.grid;
    image = other.image;
    x = other.x;
    y = other.y;
    col = other.col;
    row = other.row;
    tileSize = other.tileSize;
    width = other.width;
    height = other.height;
    value = other.value;
    layer = other.layer;
}

GridObject GridObject::operator=(const GridObject& other) {
    if (this != &other) copy(other);
    return *this;
}

void GridObject::setGridPosition(int newCol, int newRow) {
    col = newCol;
    row = newRow;
    x = col * tileSize;
    y = row * tileSize;
}

void GridObject::remove() {
    active = false;
    writeTile(layer, col, row, 0);
}

int GridObject::tileAt(int layerIndex, int c, int r) const {
    return grid ? grid->getTile(layerIndex, c, r) : 0;
}

void GridObject::writeTile(int layerIndex, int c, int r, int v) const {
    if (grid) grid->setTile(layerIndex, c, r, v);
}

bool GridObject::onGrid(int c, int r) const {
    return grid && grid->isValidX(c) && grid->isValidY(r);
}
