// A floor tile or floor detail: a static tile that marks its cell as floor
// (value 3). Everything but its identity is GridObject's.
#pragma once

#include "world/GridObject.h"

class FloorTile : public GridObject {
public:
    FloorTile();
    FloorTile(const FloorTile& other);
    ~FloorTile() override;

    // A copy stays a FloorTile.
    GridObject* clone() override;
};
