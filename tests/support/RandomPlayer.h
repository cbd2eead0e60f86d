// A restless player at the keyboard for soak runs, one for each of up to
// four players: holds a direction (sometimes two) for a while, taps and
// holds the bomb key and then runs for cover round a corner, uses the
// secondary key, and now and then hits a key that belongs to nobody. The
// keys are the players' bindings (playerKeys), so they are device codes or
// virtual-key codes as the input mode has them; `send` delivers them.
// Everything follows from the seed.
#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <set>
#include <vector>

class Level;

class RandomPlayer {
public:
    // Directions of the driver: 0 up, 1 down, 2 left, 3 right.
    static constexpr int kColStep[4] = {0, 0, -1, 1};
    static constexpr int kRowStep[4] = {-1, 1, 0, 0};

    RandomPlayer(uint32_t seed, int players, std::function<void(int code, bool down)> send)
        : random(seed), playerCount(players), send(std::move(send)), plans(players) {}

    // Where player `number` stands; false when it is gone.
    std::function<bool(int number, int& col, int& row)> position;
    // Whether a player could step onto the cell.
    std::function<bool(int col, int row)> open;
    // No bombs while set.
    bool calm = false;

    // Sets position and open to read the level's players and grid.
    void watch(const Level& level);

    // Brings the keys to what the plan wants at `now` (ms, any origin).
    void step(uint32_t now);
    // Lets go of every key it holds.
    void releaseAll();

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

private:
    struct Plan {
        std::vector<int> directions;
        uint32_t directionUntil = 0;
        uint32_t primaryUntil = 0;
        uint32_t secondaryUntil = 0;
        bool fleeing = false;
        int bombCol = 0;
        int bombRow = 0;
    };

    void stepPlayer(int p, uint32_t now, std::set<int>& wanted);

    std::mt19937 random;
    int playerCount;
    std::function<void(int, bool)> send;
    std::vector<Plan> plans;
    std::set<int> down;
};
