#include "support/FieldCheck.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "world/Level.h"

namespace {

// Generous bounds: the lists keep every object until the stage ends, so
// they grow over a round, but never without limit.
constexpr std::size_t kMaxExplosions = 2000;
constexpr std::size_t kMaxEnemies = 300;
constexpr std::size_t kMaxBombs = 1000;
constexpr std::size_t kMaxMissiles = 1000;
constexpr std::size_t kMaxPowerups = 1000;
constexpr std::size_t kMaxBlocks = 2000;

// On a cell of the grid, and drawn no farther than a cell from it.
bool inside(const Level& level, const GridObject& o, const char* what, std::ostringstream& fault) {
    const int t = level.tileSize;
    const int w = level.grid.getWidth();
    const int h = level.grid.getHeight();
    if (o.getCol() >= 0 && o.getCol() < w && o.getRow() >= 0 && o.getRow() < h &&
        std::abs(o.getX() - o.getCol() * t) <= t && std::abs(o.getY() - o.getRow() * t) <= t)
        return true;
    fault << what << " outside the grid at " << o.getCol() << "," << o.getRow() << " (pixel " << o.getX() << ","
          << o.getY() << ")";
    return false;
}

template <typename List>
bool allActiveInside(const Level& level, const List& list, const char* what, std::ostringstream& fault) {
    for (const auto& o : list)
        if (o.active && !inside(level, o, what, fault)) return false;
    return true;
}

}  // namespace

std::string fieldFault(const Level& level, int startSeconds) {
    std::ostringstream fault;
    const int w = level.grid.getWidth();
    const int h = level.grid.getHeight();
    for (int l = 0; l < layer::kCount; ++l)
        for (int r = 0; r < h; ++r)
            for (int c = 0; c < w; ++c) {
                const int v = level.grid.getTile(l, c, r);
                if (v < cell::kEmpty || v > cell::kLastPowerup) {
                    fault << "cell value " << v << " on layer " << l << " at " << c << "," << r;
                    return fault.str();
                }
            }
    for (const Player& p : level.players) {
        if (!inside(level, p, "player", fault)) return fault.str();
        if (p.health < 0 || p.health > std::max(p.startingHealth(), 100) || p.bombsPlaced < 0 || p.bombCount < 0 ||
            p.bombPower < 1) {
            fault << "player " << p.getNumber() << ": health " << p.health << ", bombs placed " << p.bombsPlaced
                  << " of " << p.bombCount << ", power " << p.bombPower;
            return fault.str();
        }
    }
    for (const Enemy& e : level.enemies)
        if (!inside(level, e, "enemy", fault)) return fault.str();
    if (!allActiveInside(level, level.bombs, "bomb", fault) ||
        !allActiveInside(level, level.missiles, "missile", fault) ||
        !allActiveInside(level, level.homingMissiles, "homing missile", fault) ||
        !allActiveInside(level, level.explosions, "explosion", fault) ||
        !allActiveInside(level, level.powerups, "powerup", fault))
        return fault.str();

    const bool listsBounded = level.explosions.size() < kMaxExplosions && level.enemies.size() < kMaxEnemies &&
                              level.bombs.size() < kMaxBombs &&
                              level.missiles.size() + level.homingMissiles.size() < kMaxMissiles &&
                              level.powerups.size() < kMaxPowerups && level.blocks.size() < kMaxBlocks;
    if (!listsBounded) {
        fault << "lists: explosions " << level.explosions.size() << ", enemies " << level.enemies.size()
              << ", bombs " << level.bombs.size() << ", missiles " << level.missiles.size() << "+"
              << level.homingMissiles.size() << ", powerups " << level.powerups.size() << ", blocks "
              << level.blocks.size();
        return fault.str();
    }
    if (level.secondsLeft < 0 || level.secondsLeft > startSeconds || level.livePlayers > level.getNumPlayers()) {
        fault << "clock " << level.secondsLeft << ", live players " << level.livePlayers;
        return fault.str();
    }
    return "";
}
