// One node of the path search: a cell with its costs. g counts the steps
// from the start (1 at the start), h is the squared distance to the goal and
// f = g + h. The open list is ordered by f + h = g + 2h, so the heuristic
// weighs twice: the search heads for the goal greedily and closes few cells.
#pragma once

class PathNode {
public:
    PathNode();
    PathNode(const PathNode& other);

    void copy(const PathNode& other);
    // Copies unless other is this node; returns a copy, like every class of
    // the entity tree.
    PathNode operator=(const PathNode& other);

    // Same cell.
    bool operator==(const PathNode& other) const;
    // Sorts before other by the search's key, f + h.
    bool operator<(const PathNode& other) const;

    float key() const { return f + h; }

    int x;  // column
    int y;  // row
    float g;
    float h;
    float f;
    int id;  // 1 for the start, then in the order the nodes were made
    // The node this one was reached from, while the search runs. Nodes
    // handed back in a path have none: the search's own storage is gone.
    PathNode* parent;
};
