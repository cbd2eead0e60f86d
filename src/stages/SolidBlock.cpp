#include "stages/SolidBlock.h"

SolidBlock::SolidBlock() : GridObject() {}

SolidBlock::SolidBlock(const SolidBlock& other) : GridObject(other) {}

SolidBlock::~SolidBlock() = default;

GridObject* SolidBlock::clone() { return new SolidBlock(*this); }
