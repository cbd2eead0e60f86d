#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "ReferencePathSearch.h"
#include "actors/PathSearch.h"
#include "world/CellValues.h"
#include "world/MovingObject.h"
#include "world/TileGrid.h"

namespace {

using Cell = std::pair<int, int>;

// A field drawn as text: '#' solid, 'b' breakable, 'P' player, 'E' enemy,
// 'o' bomb, 'S' start, 'G' goal, anything else empty. Layer 3 only.
struct Field {
    TileGrid grid;
    Cell start{-1, -1};
    Cell goal{-1, -1};

    explicit Field(const std::vector<std::string>& rows) {
        grid.create(int(rows[0].size()), int(rows.size()));
        for (int r = 0; r < int(rows.size()); ++r) {
            for (int c = 0; c < int(rows[r].size()); ++c) {
                int v = cell::kEmpty;
                switch (rows[r][c]) {
                    case '#': v = cell::kSolid; break;
                    case 'b': v = cell::kBreakable; break;
                    case 'P': v = cell::kPlayer; break;
                    case 'E': v = cell::kEnemy; break;
                    case 'o': v = cell::kBomb; break;
                    case 'S': start = {c, r}; break;
                    case 'G': goal = {c, r}; break;
                    default: break;
                }
                grid.setTile(layer::kObjects, c, r, v);
            }
        }
    }
};

std::vector<Cell> cellsOf(const std::list<PathNode>& path) {
    std::vector<Cell> out;
    for (const PathNode& n : path) out.emplace_back(n.x, n.y);
    return out;
}

// Refuses every occupied cell and logs what it was asked.
struct Refuser {
    std::vector<Cell> asked;
    PassCheck check() {
        return [this](int c, int r) {
            asked.emplace_back(c, r);
            return false;
        };
    }
};

// Each step of a route is one cell away from the one before.
void expectWalk(Cell from, const std::list<PathNode>& path) {
    for (const PathNode& n : path) {
        EXPECT_EQ(1, std::abs(n.x - from.first) + std::abs(n.y - from.second))
            << "jump to (" << n.x << ", " << n.y << ")";
        EXPECT_EQ(nullptr, n.parent);
        from = {n.x, n.y};
    }
}

}  // namespace

TEST(PathNode, EqualityIsByCellAndOrderByDoubleHeuristic) {
    PathNode a, b;
    a.x = b.x = 3;
    a.y = b.y = 4;
    a.g = 1.0f;
    b.g = 9.0f;
    EXPECT_TRUE(a == b);
    b.y = 5;
    EXPECT_FALSE(a == b);

    // key f + h = g + 2h: a has the smaller f but the larger key.
    a.g = 2.0f, a.h = 5.0f, a.f = 7.0f;  // key 12
    b.g = 4.0f, b.h = 4.0f, b.f = 8.0f;  // key 12
    EXPECT_FALSE(a < b);
    EXPECT_FALSE(b < a);
    b.g = 5.0f, b.f = 9.0f;  // key 13
    EXPECT_TRUE(a < b);

    PathNode c;
    c.id = 7;
    PathNode copy = (c = c);  // self-assignment leaves it and still hands back a copy
    EXPECT_EQ(7, c.id);
    EXPECT_EQ(7, copy.id);
}

TEST(PathSearch, DistanceIsSquaredAndNeverOverflows) {
    EXPECT_DOUBLE_EQ(9.0, getDistance(1, 1, 4, 1));
    EXPECT_DOUBLE_EQ(25.0, getDistance(0, 0, -3, 4));
    EXPECT_DOUBLE_EQ(16e18, getDistance(-2000000000, 0, 2000000000, 0));
}

TEST(PathSearch, OpenFieldExampleRoute) {
    TileGrid grid;
    grid.create(20, 13);
    Refuser refuser;
    std::list<PathNode> path;
    ASSERT_TRUE(findPath(refuser.check(), 1, 1, 4, 1, &grid, path));
    ASSERT_EQ((std::vector<Cell>{{2, 1}, {3, 1}, {4, 1}}), cellsOf(path));
    // Ids count every node made: the start's four neighbours are 2..5, the
    // dropped way back to the start took 7.
    auto it = path.begin();
    EXPECT_EQ(2, it->id);
    EXPECT_FLOAT_EQ(10.0f, it->key());
    ++it;
    EXPECT_EQ(6, it->id);
    EXPECT_FLOAT_EQ(5.0f, it->key());
    ++it;
    EXPECT_EQ(10, it->id);
    EXPECT_FLOAT_EQ(4.0f, it->g);
    EXPECT_FLOAT_EQ(0.0f, it->h);
    EXPECT_TRUE(refuser.asked.empty());  // empty cells are never asked about
}

TEST(PathSearch, TrivialGoals) {
    Field f({"#####",
             "#SP.#",
             "#####"});
    Refuser refuser;
    std::list<PathNode> path;
    path.resize(3);  // whatever the caller held is replaced

    EXPECT_TRUE(findPath(refuser.check(), 1, 1, 1, 1, &f.grid, path));
    EXPECT_TRUE(path.empty());

    // The player's cell is occupied but is the goal: entered without asking.
    EXPECT_TRUE(findPath(refuser.check(), 1, 1, 2, 1, &f.grid, path));
    EXPECT_EQ((std::vector<Cell>{{2, 1}}), cellsOf(path));
    EXPECT_EQ(0, std::count(refuser.asked.begin(), refuser.asked.end(), Cell(2, 1)));

    // Beyond the player: the callback decides.
    EXPECT_FALSE(findPath(refuser.check(), 1, 1, 3, 1, &f.grid, path));
    EXPECT_TRUE(findPath([](int, int) { return true; }, 1, 1, 3, 1, &f.grid, path));
    EXPECT_EQ((std::vector<Cell>{{2, 1}, {3, 1}}), cellsOf(path));

    EXPECT_FALSE(findPath(refuser.check(), 1, 1, 3, 1, nullptr, path));
    EXPECT_TRUE(path.empty());
}

TEST(PathSearch, WalledInStartAsksFourNeighboursInOrderAndStays) {
    Field f({"#####",
             "##E##",
             "#bS#G",
             "##o##"});
    Refuser refuser;
    std::list<PathNode> path;
    EXPECT_FALSE(findPath(refuser.check(), f.start.first, f.start.second, f.goal.first,
                          f.goal.second, &f.grid, path));
    EXPECT_TRUE(path.empty());
    // right, left, up, down, once each: one expansion, then nothing open.
    EXPECT_EQ((std::vector<Cell>{{3, 2}, {1, 2}, {2, 1}, {2, 3}}), refuser.asked);
}

TEST(PathSearch, EqualKeysGoRightThenLeftThenUpThenDown) {
    TileGrid grid;
    grid.create(11, 11);
    std::list<PathNode> path;
    // Right and down give the same key toward a goal down-right: right wins.
    ASSERT_TRUE(findPath(PassCheck(), 5, 5, 7, 7, &grid, path));
    EXPECT_EQ(Cell(6, 5), cellsOf(path).front());
    EXPECT_EQ(4u, path.size());
    // Left and up tie toward a goal up-left: left wins.
    ASSERT_TRUE(findPath(PassCheck(), 5, 5, 3, 3, &grid, path));
    EXPECT_EQ(Cell(4, 5), cellsOf(path).front());
    // With the way right walled off, up and down tie toward a goal straight
    // right: up wins.
    grid.setTile(layer::kObjects, 6, 5, cell::kSolid);
    ASSERT_TRUE(findPath(PassCheck(), 5, 5, 7, 5, &grid, path));
    EXPECT_EQ((std::vector<Cell>{{5, 4}, {6, 4}, {7, 4}, {7, 5}}), cellsOf(path));
}

TEST(PathSearch, FollowsTheOnlyCorridorOfAMaze) {
    Field f({"#########",
             "#S..#...#",
             "###.#.#.#",
             "#...#.#.#",
             "#.###.#.#",
             "#.....#G#",
             "#########"});
    std::list<PathNode> path;
    ASSERT_TRUE(findPath(PassCheck(), f.start.first, f.start.second, f.goal.first, f.goal.second,
                         &f.grid, path));
    EXPECT_EQ((std::vector<Cell>{{2, 1}, {3, 1}, {3, 2}, {3, 3}, {2, 3}, {1, 3}, {1, 4}, {1, 5},
                                 {2, 5}, {3, 5}, {4, 5}, {5, 5}, {5, 4}, {5, 3}, {5, 2}, {5, 1},
                                 {6, 1}, {7, 1}, {7, 2}, {7, 3}, {7, 4}, {7, 5}}),
              cellsOf(path));
    expectWalk(f.start, path);
}

TEST(PathSearch, UnreachableGoalLeadsToTheBestClosedCell) {
    // A goal sealed in the middle of a 20 x 13 field: the search closes its
    // limit and heads for the cell with the lowest g + 2h, a diagonal
    // neighbour of the goal.
    TileGrid grid;
    grid.create(20, 13);
    for (Cell c : {Cell{9, 6}, Cell{11, 6}, Cell{10, 5}, Cell{10, 7}})
        grid.setTile(layer::kObjects, c.first, c.second, cell::kSolid);
    Refuser refuser;
    std::list<PathNode> path;
    ReferenceStats stats;
    EXPECT_FALSE(findPath(refuser.check(), 1, 6, 10, 6, &grid, path));
    std::list<PathNode> ref;
    referenceFindPath(refuser.check(), 1, 6, 10, 6, &grid, ref, kPathPoolSize, &stats);
    EXPECT_TRUE(stats.closedLimit);
    ASSERT_FALSE(path.empty());
    const PathNode& end = path.back();
    EXPECT_EQ(1, std::abs(end.x - 10));
    EXPECT_EQ(1, std::abs(end.y - 6));
    EXPECT_EQ(9u, path.size());  // the shortest walk there
    expectWalk({1, 6}, path);

    // A small pocket runs out of open cells before the limit instead.
    Field pocket({"#######",
                  "#S..#G#",
                  "#...###",
                  "#######"});
    EXPECT_FALSE(findPath(PassCheck(), 1, 1, 5, 1, &pocket.grid, path));
    EXPECT_EQ((std::vector<Cell>{{2, 1}, {3, 1}}), cellsOf(path));
}

TEST(PathSearch, GivesUpOnceMoreThan150CellsAreClosed) {
    // A straight corridor closes one cell per step: the start and the 149
    // cells after it are closed before the cell 150 steps away is taken.
    TileGrid corridor;
    corridor.create(160, 1);
    std::list<PathNode> path;
    EXPECT_TRUE(findPath(PassCheck(), 0, 0, 150, 0, &corridor, path));
    EXPECT_EQ(150u, path.size());

    // One step farther, the 151st closed cell ends the search; the route
    // leads to the farthest cell closed.
    EXPECT_FALSE(findPath(PassCheck(), 0, 0, 151, 0, &corridor, path));
    ASSERT_EQ(150u, path.size());
    EXPECT_EQ(Cell(150, 0), cellsOf(path).back());
}

TEST(PathSearch, GridBordersAreNeverCrossed) {
    // No edge ring: searches start on the outermost cells and aim outside.
    TileGrid grid;
    grid.create(20, 13);
    std::list<PathNode> path;
    EXPECT_FALSE(findPath(PassCheck(), 0, 5, -3, 5, &grid, path));
    EXPECT_TRUE(path.empty());  // the start is as close as it gets
    EXPECT_FALSE(findPath(PassCheck(), 19, 12, 19, 15, &grid, path));
    EXPECT_TRUE(path.empty());
    EXPECT_FALSE(findPath(PassCheck(), 5, 12, 8, 20, &grid, path));
    EXPECT_EQ((std::vector<Cell>{{6, 12}, {7, 12}, {8, 12}}), cellsOf(path));
    // A start outside the grid steps in.
    EXPECT_TRUE(findPath(PassCheck(), -1, 0, 2, 0, &grid, path));
    EXPECT_EQ((std::vector<Cell>{{0, 0}, {1, 0}, {2, 0}}), cellsOf(path));
    // A grid that was never created has no cells at all.
    TileGrid empty;
    EXPECT_TRUE(findPath(PassCheck(), 0, 0, 0, 0, &empty, path));
    EXPECT_FALSE(findPath(PassCheck(), 0, 0, 1, 0, &empty, path));
    EXPECT_TRUE(path.empty());
}

TEST(PathSearch, RunningOutOfNodePoolEndsAsFailure) {
    TileGrid grid;
    grid.create(20, 13);
    std::list<PathNode> path;
    // Three expansions fit: start, (2, 1), (3, 1); the fourth would not.
    EXPECT_FALSE(findPathWithPool(PassCheck(), 1, 1, 10, 1, &grid, path, 3));
    EXPECT_EQ((std::vector<Cell>{{2, 1}, {3, 1}}), cellsOf(path));
    EXPECT_FALSE(findPathWithPool(PassCheck(), 1, 1, 10, 1, &grid, path, 0));
    EXPECT_TRUE(path.empty());
    // Exactly enough pool: the goal is the tenth node taken.
    EXPECT_TRUE(findPathWithPool(PassCheck(), 1, 1, 10, 1, &grid, path, 10));
    // A pool larger than the real one is held to the real one.
    EXPECT_TRUE(findPathWithPool(PassCheck(), 1, 1, 10, 1, &grid, path, 1 << 30));
}

TEST(PathSearch, FindsTheSameRoutesAsThePlainProcedure) {
    std::mt19937 rng(20240611);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const int occupants[] = {cell::kSolid, cell::kBreakable, cell::kPlayer, cell::kEnemy,
                             cell::kBomb, cell::kMissile};
    int reopenedSearches = 0, limitSearches = 0, successes = 0, poolFailures = 0;

    for (int trial = 0; trial < 3000; ++trial) {
        TileGrid grid;
        const int w = uniform(1, 24), h = uniform(1, 16);
        grid.create(w, h);
        const int density = uniform(0, 45);
        for (int r = 0; r < h; ++r)
            for (int c = 0; c < w; ++c)
                if (uniform(0, 99) < density) grid.setTile(3, c, r, occupants[uniform(0, 5)]);
        // The mover passes a random subset of the occupant values.
        const int passMask = uniform(0, 255);
        std::vector<Cell> askedFast, askedRef;
        auto makeCheck = [&](std::vector<Cell>& log) -> PassCheck {
            return [&grid, &log, passMask](int c, int r) {
                log.emplace_back(c, r);
                return ((passMask >> grid.getTile(3, c, r)) & 1) != 0;
            };
        };
        // Now and then the start or the goal lies off the grid.
        const int sc = uniform(-1, w), sr = uniform(-1, h);
        const int gc = uniform(-1, w), gr = uniform(-1, h);
        const int pool = trial % 5 == 0 ? uniform(0, 120) : kPathPoolSize;

        std::list<PathNode> fast, ref;
        ReferenceStats stats;
        const bool fastFound =
            findPathWithPool(makeCheck(askedFast), sc, sr, gc, gr, &grid, fast, pool);
        const bool refFound =
            referenceFindPath(makeCheck(askedRef), sc, sr, gc, gr, &grid, ref, pool, &stats);

        ASSERT_EQ(refFound, fastFound) << "trial " << trial;
        ASSERT_EQ(ref.size(), fast.size()) << "trial " << trial;
        for (auto a = ref.begin(), b = fast.begin(); a != ref.end(); ++a, ++b) {
            ASSERT_TRUE(a->x == b->x && a->y == b->y && a->id == b->id && a->g == b->g &&
                        a->h == b->h && a->f == b->f)
                << "trial " << trial;
        }
        ASSERT_EQ(askedRef, askedFast) << "trial " << trial;

        reopenedSearches += stats.reopened > 0;
        limitSearches += stats.closedLimit;
        successes += refFound;
        poolFailures += !refFound && !stats.closedLimit && stats.expansions == pool;
    }
    // The sample has to exercise every way a search can go.
    EXPECT_GT(reopenedSearches, 10);
    EXPECT_GT(limitSearches, 10);
    EXPECT_GT(successes, 100);
    EXPECT_GT(poolFailures, 10);
}

namespace {
// A mover that passes enemies only, as a chasing enemy would.
class Chaser : public MovingObject {
public:
    bool canPass(int c, int r) override {
        ++asked;
        return grid->getTile(layer::kObjects, c, r) == cell::kEnemy;
    }
    int asked = 0;
};
}  // namespace

TEST(PathSearch, AsksTheMoversOwnPassabilityTest) {
    Field f({"#######",
             "#S.E.G#",
             "#######"});
    Chaser chaser;
    chaser.grid = &f.grid;
    std::list<PathNode> path;
    EXPECT_TRUE(findPath(&MovingObject::canPass, &chaser, 1, 1, 5, 1, &f.grid, path));
    EXPECT_EQ(4u, path.size());
    EXPECT_GT(chaser.asked, 0);
    f.grid.setTile(layer::kObjects, 3, 1, cell::kBomb);
    EXPECT_FALSE(findPath(&MovingObject::canPass, &chaser, 1, 1, 5, 1, &f.grid, path));
    // Without a mover every occupied cell refuses.
    f.grid.setTile(layer::kObjects, 3, 1, cell::kEnemy);
    EXPECT_FALSE(findPath(&MovingObject::canPass, static_cast<Chaser*>(nullptr), 1, 1, 5, 1,
                          &f.grid, path));
}
