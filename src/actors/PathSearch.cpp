#include "actors/PathSearch.h"

#include <algorithm>
#include <vector>

#include "world/CellValues.h"
#include "world/TileGrid.h"

double getDistance(int x1, int y1, int x2, int y2) {
    // In doubles so that no coordinate can overflow; exact for every grid.
    const double dx = double(x2) - double(x1);
    const double dy = double(y2) - double(y1);
    return dx * dx + dy * dy;
}

namespace {

// A node as the search keeps it: parent is an index into the pool of
// expanded nodes (-1 at the start).
struct Node {
    int x, y;
    float g, h, f;
    int id;
    int parent;
    float key() const { return f + h; }
};

// The open list as a binary heap. Ordering by key and then by id picks the
// same node as a stable sort of a list that nodes are appended to, because
// ids grow in the order the nodes are appended.
struct OpenEntry {
    float key;
    int id;
    Node node;
};
struct LaterFirst {
    bool operator()(const OpenEntry& a, const OpenEntry& b) const {
        if (a.key != b.key) return a.key > b.key;
        return a.id > b.id;
    }
};

enum : unsigned char { kNowhere = 0, kOpen = 1, kClosed = 2 };

// What the search knows about one cell: which list holds it (a cell is on
// at most one list, at most once), that node's f, the id of its live open
// entry (older heap entries of the cell are stale) and its closed slot.
struct CellState {
    unsigned char list;
    float f;
    int openId;
    int closedSlot;
};

struct ClosedEntry {
    int pool;     // index of the node's pool copy
    bool closed;  // false once the cell was opened again
};

}  // namespace

bool findPathWithPool(const PassCheck& canPass, int startCol, int startRow, int goalCol,
                      int goalRow, const TileGrid* grid, std::list<PathNode>& path, int poolSize) {
    path.clear();
    if (!grid) return false;
    poolSize = std::clamp(poolSize, 0, kPathPoolSize);

    const int width = grid->getWidth();
    const int height = grid->getHeight();
    // Every node but the start is an in-grid neighbour; one extra slot
    // stands for a start outside the grid.
    const std::size_t outside = std::size_t(width) * std::size_t(height);
    auto cellOf = [&](int col, int row) {
        return grid->isValidX(col) && grid->isValidY(row)
                   ? std::size_t(col) + std::size_t(row) * std::size_t(width)
                   : outside;
    };

    // Storage of this one search. The pool holds a copy of every node taken
    // from the open list; parents are indices into it.
    std::vector<CellState> cells(outside + 1, CellState{kNowhere, 0.0f, 0, -1});
    std::vector<OpenEntry> open;
    std::vector<Node> pool;
    std::vector<ClosedEntry> closed;
    open.reserve(64);
    pool.reserve(std::size_t(poolSize));
    LaterFirst later;

    auto push = [&](const Node& n) {
        CellState& c = cells[cellOf(n.x, n.y)];
        c.list = kOpen;
        c.f = n.f;
        c.openId = n.id;
        open.push_back(OpenEntry{n.key(), n.id, n});
        std::push_heap(open.begin(), open.end(), later);
    };

    Node start;
    start.x = startCol;
    start.y = startRow;
    start.g = 1.0f;
    start.h = float(getDistance(startCol, startRow, goalCol, goalRow));
    start.f = start.g + start.h;
    start.id = 1;
    start.parent = -1;
    push(start);
    int nextId = 2;
    int closedCount = 0;

    int end = -1;
    bool found = false;
    static constexpr int kSteps[4][2] = {{1, 0}, {-1, 0}, {0, -1}, {0, 1}};

    for (;;) {
        // The first live open node; entries of cells since closed or
        // reached more cheaply are skipped.
        while (!open.empty()) {
            const OpenEntry& top = open.front();
            const CellState& c = cells[cellOf(top.node.x, top.node.y)];
            if (c.list == kOpen && c.openId == top.id) break;
            std::pop_heap(open.begin(), open.end(), later);
            open.pop_back();
        }
        if (open.empty()) break;
        if (int(pool.size()) >= poolSize) break;  // out of pool: give up like the closed limit

        std::pop_heap(open.begin(), open.end(), later);
        const Node current = open.back().node;
        open.pop_back();
        const int currentPool = int(pool.size());
        pool.push_back(current);

        if (current.x == goalCol && current.y == goalRow) {
            end = currentPool;
            found = true;
            break;
        }

        CellState& here = cells[cellOf(current.x, current.y)];
        here.list = kClosed;
        here.f = current.f;
        here.closedSlot = int(closed.size());
        closed.push_back(ClosedEntry{currentPool, true});
        if (++closedCount > kPathClosedLimit) break;

        for (const auto& step : kSteps) {
            const int col = current.x + step[0];
            const int row = current.y + step[1];
            if (!grid->isValidX(col) || !grid->isValidY(row)) continue;
            const bool goal = col == goalCol && row == goalRow;
            if (grid->getTile(layer::kObjects, col, row) != cell::kEmpty && !goal &&
                !(canPass && canPass(col, row)))
                continue;

            Node n;
            n.x = col;
            n.y = row;
            n.g = current.g + 1.0f;
            n.h = float(getDistance(col, row, goalCol, goalRow));
            n.f = n.g + n.h;
            n.id = nextId++;
            n.parent = currentPool;

            CellState& c = cells[cellOf(col, row)];
            if (c.list != kNowhere) {
                if (c.f <= n.f) continue;
                if (c.list == kClosed) {
                    closed[c.closedSlot].closed = false;
                    --closedCount;
                }
            }
            push(n);
        }
    }

    if (!found) {
        // The closed cell with the lowest key, the earliest closed on a tie.
        for (const ClosedEntry& e : closed) {
            if (!e.closed) continue;
            if (end < 0 || pool[e.pool].key() < pool[end].key()) end = e.pool;
        }
    }

    // Walk back to the start; the start itself is not part of the route.
    for (int i = end; i >= 0; i = pool[i].parent) {
        const Node& n = pool[i];
        if (n.x == startCol && n.y == startRow) break;
        PathNode p;
        p.x = n.x;
        p.y = n.y;
        p.g = n.g;
        p.h = n.h;
        p.f = n.f;
        p.id = n.id;
        path.push_front(p);
    }
    return found;
}

bool findPath(const PassCheck& canPass, int startCol, int startRow, int goalCol, int goalRow,
              const TileGrid* grid, std::list<PathNode>& path) {
    return findPathWithPool(canPass, startCol, startRow, goalCol, goalRow, grid, path,
                            kPathPoolSize);
}
