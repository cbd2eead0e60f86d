#include "ReferencePathSearch.h"

#include <algorithm>
#include <vector>

#include "world/TileGrid.h"

bool referenceFindPath(const PassCheck& canPass, int startCol, int startRow, int goalCol,
                       int goalRow, const TileGrid* grid, std::list<PathNode>& path, int poolSize,
                       ReferenceStats* stats) {
    ReferenceStats local;
    ReferenceStats& st = stats ? *stats : local;
    path.clear();
    if (!grid) return false;

    std::list<PathNode> open;
    std::list<PathNode> closed;
    std::vector<PathNode> pool(std::size_t(std::max(poolSize, 0)));
    int used = 0;

    PathNode start;
    start.x = startCol;
    start.y = startRow;
    start.g = 1.0f;
    start.h = float(getDistance(startCol, startRow, goalCol, goalRow));
    start.f = start.g + start.h;
    start.id = 1;
    open.push_back(start);
    int nextId = 2;

    PathNode end;
    bool haveEnd = false;
    bool found = false;
    auto sameCell = [](const PathNode& a) { return [&a](const PathNode& b) { return a == b; }; };

    for (;;) {
        if (open.empty()) break;
        open.sort();  // std::list::sort is stable
        const PathNode current = open.front();
        if (used >= poolSize) break;
        PathNode* pooled = &pool[std::size_t(used++)];
        pooled->copy(current);
        ++st.expansions;
        if (current.x == goalCol && current.y == goalRow) {
            end.copy(*pooled);
            haveEnd = found = true;
            break;
        }
        open.remove_if(sameCell(current));
        closed.push_back(current);
        if (closed.size() > std::size_t(kPathClosedLimit)) {
            st.closedLimit = true;
            break;
        }
        const int steps[4][2] = {{1, 0}, {-1, 0}, {0, -1}, {0, 1}};
        for (const auto& s : steps) {
            const int col = current.x + s[0];
            const int row = current.y + s[1];
            if (!grid->isValidX(col) || !grid->isValidY(row)) continue;
            const bool goal = col == goalCol && row == goalRow;
            if (grid->getTile(3, col, row) != 0 && !goal && !(canPass && canPass(col, row)))
                continue;
            PathNode n;
            n.x = col;
            n.y = row;
            n.g = current.g + 1.0f;
            n.h = float(getDistance(col, row, goalCol, goalRow));
            n.f = n.g + n.h;
            n.id = nextId++;
            n.parent = pooled;
            auto it = std::find_if(open.begin(), open.end(), sameCell(n));
            if (it != open.end()) {
                if (it->f <= n.f) continue;
                open.erase(it);
                open.push_back(n);
                continue;
            }
            it = std::find_if(closed.begin(), closed.end(), sameCell(n));
            if (it != closed.end()) {
                if (it->f <= n.f) continue;
                closed.erase(it);
                ++st.reopened;
            }
            open.push_back(n);
        }
    }

    if (!found) {
        closed.sort();
        if (!closed.empty()) {
            end.copy(closed.front());
            haveEnd = true;
        }
    }
    if (haveEnd) {
        for (const PathNode* n = &end; n; n = n->parent) {
            path.push_front(*n);
            if (n->x == startCol && n->y == startRow) {
                path.pop_front();
                break;
            }
        }
    }
    for (PathNode& n : path) n.parent = nullptr;
    return found;
}
