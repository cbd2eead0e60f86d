#include "support/RandomPlayer.h"

#include "shell/Config.h"
#include "world/Level.h"

void RandomPlayer::watch(const Level& level) {
    position = [&level](int number, int& col, int& row) {
        for (const Player& p : level.players) {
            if (p.getNumber() != number || p.isDead()) continue;
            col = p.getCol();
            row = p.getRow();
            return true;
        }
        return false;
    };
    open = [&level](int col, int row) {
        return level.grid.isValidX(col) && level.grid.isValidY(row) &&
               level.grid.getTile(layer::kObjects, col, row) == cell::kEmpty &&
               level.grid.getTile(layer::kExplosions, col, row) == cell::kEmpty;
    };
}

void RandomPlayer::step(uint32_t now) {
    std::set<int> wanted;
    for (int p = 0; p < playerCount; ++p) stepPlayer(p, now, wanted);
    if (pick(0, 999) < 5) wanted.insert(pick(0, 255));
    for (int code : down)
        if (!wanted.count(code)) send(code, false);
    for (int code : wanted)
        if (!down.count(code)) send(code, true);
    down = wanted;
}

void RandomPlayer::stepPlayer(int p, uint32_t now, std::set<int>& wanted) {
    Plan& plan = plans[p];
    const int* keys = playerKeys[p];
    int col = 0, row = 0;
    const bool placed = position && position(p + 1, col, row);
    if (plan.fleeing && placed && (col != plan.bombCol || row != plan.bombRow)) {
        // Off the bomb's cell: out of its line if the field allows.
        plan.fleeing = false;
        const int first = plan.directions.empty() ? 0 : plan.directions[0];
        const int side = first < 2 ? 2 + pick(0, 1) : pick(0, 1);
        for (int d : {side, side ^ 1}) {
            if (open && open(col + kColStep[d], row + kRowStep[d])) {
                plan.directions.assign(1, d);
                plan.directionUntil = now + uint32_t(pick(400, 900));
                break;
            }
        }
    }
    if (now >= plan.directionUntil) {
        plan.fleeing = false;
        plan.directions.clear();
        const int roll = pick(0, 99);
        if (roll >= 15) plan.directions.push_back(pick(0, 3));
        if (roll >= 90) plan.directions.push_back(pick(0, 3));
        plan.directionUntil = now + uint32_t(pick(60, 1500));
    }
    if (!calm && now >= plan.primaryUntil && pick(0, 99) < 4) {
        plan.primaryUntil = now + uint32_t(pick(20, 300));
        if (placed && pick(0, 4) != 0) {
            const int start = pick(0, 3);
            for (int turn = 0; turn < 4; ++turn) {
                const int d = (start + turn) % 4;
                if (open && open(col + kColStep[d], row + kRowStep[d])) {
                    plan.directions.assign(1, d);
                    plan.directionUntil = now + 2000;
                    plan.fleeing = true;
                    plan.bombCol = col;
                    plan.bombRow = row;
                    break;
                }
            }
        }
    }
    if (now >= plan.secondaryUntil && pick(0, 99) < 3) plan.secondaryUntil = now + uint32_t(pick(20, 600));
    const int directionSlots[4] = {KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT};
    for (int d : plan.directions) wanted.insert(keys[directionSlots[d]]);
    if (now < plan.primaryUntil) wanted.insert(keys[KEY_PRIMARY]);
    if (now < plan.secondaryUntil) wanted.insert(keys[KEY_SECONDARY]);
}

void RandomPlayer::releaseAll() {
    for (int code : down) send(code, false);
    down.clear();
}
