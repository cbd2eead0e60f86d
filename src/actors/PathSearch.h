// A* route search over layer 3 of the TileGrid, for enemies chasing players
// and homing missiles chasing their targets.
//
// The open list is ordered by g + 2h (h the squared distance to the goal),
// ties going to the node that entered the list first; neighbours are
// generated right, left, up, down; a cell reached again by a cheaper route
// is opened again. The search gives up once more than kPathClosedLimit cells
// are closed, or when it would need more than kPathPoolSize expansions, and
// then leads to the closed cell with the lowest key, so a caller always gets
// the best route found.
#pragma once

#include <functional>
#include <list>

#include "actors/PathNode.h"

class TileGrid;

constexpr int kPathClosedLimit = 150;
constexpr int kPathPoolSize = 1000;

// (x2 - x1)^2 + (y2 - y1)^2, no square root.
double getDistance(int x1, int y1, int x2, int y2);

// Asked for every occupied layer-3 cell (col, row) the search would step on,
// except the goal: may the mover pass it?
using PassCheck = std::function<bool(int col, int row)>;

// Clears path and fills it with the route from the cell after the start to
// the goal (true), or to the best cell reached (false); the start cell is
// never in it. The nodes of the path have no parent. A null grid gives
// false and an empty path; an empty canPass refuses every occupied cell.
bool findPath(const PassCheck& canPass, int startCol, int startRow, int goalCol, int goalRow,
              const TileGrid* grid, std::list<PathNode>& path);

// The mover's own passability test, e.g.
// findPath(&MovingObject::canPass, this, col, row, ...): the call goes
// through the virtual table, so the mover's override answers.
template <class Owner, class Mover>
bool findPath(bool (Owner::*canPass)(int, int), Mover* mover, int startCol, int startRow,
              int goalCol, int goalRow, const TileGrid* grid, std::list<PathNode>& path) {
    PassCheck check;
    if (canPass && mover)
        check = [canPass, mover](int col, int row) { return (mover->*canPass)(col, row); };
    return findPath(check, startCol, startRow, goalCol, goalRow, grid, path);
}

// findPath with a smaller node pool (at most kPathPoolSize): a search that
// needs one expansion more ends as a failure. For tests of that limit.
bool findPathWithPool(const PassCheck& canPass, int startCol, int startRow, int goalCol,
                      int goalRow, const TileGrid* grid, std::list<PathNode>& path, int poolSize);
