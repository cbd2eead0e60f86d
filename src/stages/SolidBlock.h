// A solid block, inner wall, edge or corner piece: a static tile that marks
// its cell solid (value 1). Everything but its identity is GridObject's.
#pragma once

#include "world/GridObject.h"

class SolidBlock : public GridObject {
public:
    SolidBlock();
    SolidBlock(const SolidBlock& other);
    ~SolidBlock() override;

    // A copy stays a SolidBlock.
    GridObject* clone() override;
};
