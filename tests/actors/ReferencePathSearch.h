// The path search written plainly, step by step: lists of nodes, a stable
// sort of the open list on every expansion, linear look-ups. Slow but easy
// to check by eye; the game's search must find exactly the same routes.
#pragma once

#include <list>

#include "actors/PathSearch.h"

struct ReferenceStats {
    int expansions = 0;  // nodes taken from the open list
    int reopened = 0;    // closed cells opened again by a cheaper route
    bool closedLimit = false;
};

bool referenceFindPath(const PassCheck& canPass, int startCol, int startRow, int goalCol,
                       int goalRow, const TileGrid* grid, std::list<PathNode>& path,
                       int poolSize = kPathPoolSize, ReferenceStats* stats = nullptr);
