// Path search on stage-sized fields (20 x 13 with the edge ring), the way a
// hunting enemy runs it on every frame: toward a goal it can reach across a
// field of pillars, and toward a goal sealed off in an open field, where the
// search closes its full node limit before it gives up (the worst case).
// Time per search in microseconds.
#include <benchmark/benchmark.h>

#include <list>

#include "actors/PathSearch.h"
#include "world/CellValues.h"
#include "world/TileGrid.h"

namespace {

void buildField(TileGrid& grid, bool pillars) {
    grid.create(20, 13);
    for (int r = 0; r < 13; ++r) {
        for (int c = 0; c < 20; ++c) {
            const bool edge = c == 0 || r == 0 || c == 19 || r == 12;
            const bool pillar = pillars && c % 2 == 0 && r % 2 == 0;
            if (edge || pillar) grid.setTile(layer::kObjects, c, r, cell::kSolid);
        }
    }
    // A few breakable blocks, as a level in progress has.
    for (int c : {5, 9, 13}) grid.setTile(layer::kObjects, c, 5, cell::kBreakable);
    for (int c : {3, 11, 15}) grid.setTile(layer::kObjects, c, 9, cell::kBreakable);
}

// An enemy's view: it walks through other enemies, nothing else.
PassCheck enemyCheck(const TileGrid& grid) {
    return [&grid](int c, int r) { return grid.getTile(layer::kObjects, c, r) == cell::kEnemy; };
}

void BM_FindPathReachable(benchmark::State& state) {
    TileGrid grid;
    buildField(grid, true);
    const PassCheck check = enemyCheck(grid);
    std::list<PathNode> path;
    for (auto _ : state) {
        const bool found = findPath(check, 1, 1, 18, 11, &grid, path);
        benchmark::DoNotOptimize(found);
        if (!found) state.SkipWithError("goal not reached");
    }
    state.counters["route"] = double(path.size());
}
BENCHMARK(BM_FindPathReachable)->Unit(benchmark::kMicrosecond);

void BM_FindPathUnreachable(benchmark::State& state) {
    // More than the node limit of open cells, so the limit ends the search.
    TileGrid grid;
    buildField(grid, false);
    // A player at (17, 11) sealed in by breakable blocks.
    grid.setTile(layer::kObjects, 17, 11, cell::kPlayer);
    grid.setTile(layer::kObjects, 17, 10, cell::kBreakable);
    grid.setTile(layer::kObjects, 16, 11, cell::kBreakable);
    grid.setTile(layer::kObjects, 18, 11, cell::kBreakable);
    const PassCheck check = enemyCheck(grid);
    std::list<PathNode> path;
    for (auto _ : state) {
        const bool found = findPath(check, 1, 1, 17, 11, &grid, path);
        benchmark::DoNotOptimize(found);
        if (found) state.SkipWithError("sealed goal reached");
    }
    state.counters["route"] = double(path.size());
}
BENCHMARK(BM_FindPathUnreachable)->Unit(benchmark::kMicrosecond);

}  // namespace
