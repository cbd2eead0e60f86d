#include "actors/PathNode.h"

PathNode::PathNode() : x(0), y(0), g(0.0f), h(0.0f), f(0.0f), id(0), parent(nullptr) {}

PathNode::PathNode(const PathNode& other) : PathNode() { copy(other); }

void PathNode::copy(const PathNode& other) {
    x = other.x;
    y = other.y;
    g = other.g;
    h = other.h;
    f = other.f;
    id = other.id;
    parent = other.parent;
}

PathNode PathNode::operator=(const PathNode& other) {
    if (this != &other) copy(other);
    return *this;
}

bool PathNode::operator==(const PathNode& other) const { return x == other.x && y == other.y; }

bool PathNode::operator<(const PathNode& other) const { return f + h < other.f + other.h; }
