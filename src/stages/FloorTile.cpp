#include "stages/FloorTile.h"

FloorTile::FloorTile() : GridObject() {}

FloorTile::FloorTile(const FloorTile& other) : GridObject(other) {}

FloorTile::~FloorTile() = default;

GridObject* FloorTile::clone() { return new FloorTile(*this); }
