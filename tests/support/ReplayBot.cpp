#include "support/ReplayBot.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <exception>
#include <cstdlib>
#include <deque>
#include <map>
#include <random>
#include <set>

#include "platform/Clock.h"
#include "platform/KeyCodes.h"
#include "shell/CException.h"
#include "shell/Config.h"
#include "shell/Game.h"
#include "shell/GameWindow.h"

namespace replay {
namespace {

using plat::DIK_DOWN;
using plat::DIK_RETURN;

// A menu key is held this long, then left up this long before the next.
constexpr uint32_t kTapDownMs = 100;
constexpr uint32_t kTapUpMs = 400;
// The title page takes keys once its opening transition is over.
constexpr uint32_t kTitleWaitMs = 1000;
constexpr uint32_t kStageStartLimitMs = 10000;
// A bomb is dropped only when a safe cell lies this few steps away.
constexpr int kMaxEscapeSteps = 5;
// Powerups farther than this are left for later.
constexpr int kPowerupReach = 8;

const int kStepCol[dir::kCount] = {1, -1, 0, 0};
const int kStepRow[dir::kCount] = {0, 0, -1, 1};

struct Cell {
    int c = 0, r = 0;
    bool operator==(const Cell& o) const { return c == o.c && r == o.r; }
    bool operator!=(const Cell& o) const { return !(*this == o); }
};

// What the bots see of the field on one tick.
class Field {
public:
    explicit Field(const Level& level) : level(level), grid(level.grid) {
        w = grid.getWidth();
        h = grid.getHeight();
        danger.assign(std::size_t(w * h), false);
        markBombBlasts();
    }

    bool inside(Cell x) const { return x.c >= 0 && x.c < w && x.r >= 0 && x.r < h; }
    int at(int layerIndex, Cell x) const { return grid.getTile(layerIndex, x.c, x.r); }
    bool burning(Cell x) const { return at(layer::kExplosions, x) == cell::kExplosion; }
    bool isDanger(Cell x) const { return inside(x) && (danger[index(x)] || burning(x)); }
    // A player may stand there: nothing on the object layer but players.
    bool open(Cell x) const {
        if (!inside(x) || burning(x)) return false;
        if (fencedTutorialRooms && x.r < kTutorialRoomsBelow && x.c >= kTutorialRoomsFrom) return false;
        const int v = at(layer::kObjects, x);
        return v == cell::kEmpty || v == cell::kPlayer;
    }
    bool enemyNear(Cell x) const {
        for (const Enemy& e : level.enemies) {
            if (!e.active || e.isDead()) continue;
            if (std::abs(e.getCol() - x.c) + std::abs(e.getRow() - x.r) <= 1) return true;
        }
        return false;
    }

    // The cells a blast from x with the given reach burns, as a bomb lays it.
    std::vector<Cell> blast(Cell x, int power) const {
        std::vector<Cell> cells{x};
        if (power == 0) return cells;
        for (int d = 0; d < dir::kCount; ++d) {
            for (int i = 1;; ++i) {
                const Cell here{x.c + i * kStepCol[d], x.r + i * kStepRow[d]};
                const Cell beyond{x.c + (i + 1) * kStepCol[d], x.r + (i + 1) * kStepRow[d]};
                if (kStepCol[d] != 0 ? !grid.isValidX(beyond.c) : !grid.isValidY(beyond.r)) break;
                const int v = at(layer::kObjects, here);
                if (v == cell::kSolid) break;
                cells.push_back(here);
                if (v == cell::kBreakable || at(layer::kObjects, beyond) == cell::kSolid || i >= power) break;
            }
        }
        return cells;
    }

    void addDanger(const std::vector<Cell>& cells) {
        for (const Cell& x : cells)
            if (inside(x)) danger[index(x)] = true;
    }

    const Level& level;
    const TileGrid& grid;
    int w = 0, h = 0;
    // The tutorial's upper rooms take every bomb away: once their lessons
    // are done, the bots keep out of them.
    static constexpr int kTutorialRoomsBelow = 4;
    static constexpr int kTutorialRoomsFrom = 4;
    bool fencedTutorialRooms = false;

private:
    std::size_t index(Cell x) const { return std::size_t(x.r * w + x.c); }

    // Every lit bomb, its owner's dynamite, and the dynamite their blasts
    // would set off; dynamite nobody will light is harmless.
    void markBombBlasts() {
        std::vector<const Bomb*> waiting;
        for (const Bomb& b : level.bombs) {
            if (!b.active || b.exploded) continue;
            if (b.isDynamite && b.ownerless)
                waiting.push_back(&b);
            else
                addDanger(blast({b.getCol(), b.getRow()}, b.power));
        }
        for (bool lit = true; lit;) {
            lit = false;
            for (auto it = waiting.begin(); it != waiting.end(); ++it) {
                const Cell x{(*it)->getCol(), (*it)->getRow()};
                if (!isDanger(x)) continue;
                addDanger(blast(x, (*it)->power));
                waiting.erase(it);
                lit = true;
                break;
            }
        }
    }

    std::vector<bool> danger;
};

// Breadth-first search from a cell over the cells a player may walk.
struct Paths {
    std::vector<int> dist;
    std::vector<int> from;
    int w = 0;

    template <typename Passable>
    Paths(const Field& f, Cell start, Passable passable) : w(f.w) {
        dist.assign(std::size_t(f.w * f.h), -1);
        from.assign(std::size_t(f.w * f.h), -1);
        if (!f.inside(start)) return;
        std::deque<Cell> queue{start};
        dist[idx(start)] = 0;
        while (!queue.empty()) {
            const Cell x = queue.front();
            queue.pop_front();
            for (int d = 0; d < dir::kCount; ++d) {
                const Cell n{x.c + kStepCol[d], x.r + kStepRow[d]};
                if (!f.inside(n) || dist[idx(n)] >= 0 || !passable(n)) continue;
                dist[idx(n)] = dist[idx(x)] + 1;
                from[idx(n)] = idx(x);
                queue.push_back(n);
            }
        }
    }
    int idx(Cell x) const { return x.r * w + x.c; }
    int distance(Cell x) const { return dist[std::size_t(idx(x))]; }
    // The first step from the start toward x.
    Cell firstStep(Cell x) const {
        int i = idx(x);
        while (from[std::size_t(i)] >= 0 && dist[std::size_t(from[std::size_t(i)])] > 0) i = from[std::size_t(i)];
        return {i % w, i / w};
    }
};

// A step of the tutorial that bombs alone cannot take: stand on a cell,
// face a way and use a key, until a watched cell no longer holds a value.
struct Chore {
    Cell stand;
    int face;  // direction, or -1
    int slot;  // Player key slot, or -1
    Cell watch;
    int watchValue;  // on the object layer
};

// Kick the dynamite out of the doorway, set both off with the detonator,
// break the wall with the hammer and the last door with a missile.
const std::vector<Chore> kTutorialChores = {
    {{7, 2}, dir::kRight, -1, {8, 2}, cell::kBomb},
    {{9, 1}, -1, Player::KeySecondary, {13, 2}, cell::kBomb},
    {{16, 3}, dir::kDown, Player::KeySecondary, {16, 4}, cell::kBreakable},
    {{13, 8}, dir::kLeft, Player::KeySecondary, {12, 8}, cell::kBreakable},
};

const int kDirectionSlots[dir::kCount] = {Player::KeyRight, Player::KeyLeft, Player::KeyUp, Player::KeyDown};

// One bot: chooses which of its player's keys to hold on each tick.
class Bot {
public:
    Bot(uint32_t seed, const std::vector<Chore>& chores) : random(seed), chores(chores) {}

    // The chore under way, -1 when all are done.
    int chore(const Field& f) const {
        for (std::size_t i = 0; i < chores.size(); ++i)
            if (f.at(layer::kObjects, chores[i].watch) == chores[i].watchValue) return int(i);
        return -1;
    }

    std::set<int> keysFor(const Player& p, Field& f) {
        std::set<int> held;
        if (p.isDead()) return held;
        const Cell here{p.getCol(), p.getRow()};

        const bool threatened = anyCell(p, [&](Cell x) { return f.isDanger(x); }) || f.enemyNear(here);
        if (threatened) {
            // A blast on an enemy at hand first, then away. With no way
            // out, a blast that may take the enemy beats waiting for it.
            const Cell safe = nearestSafe(p, f, here, true);
            if (bombWorth(p, f, here) && (canDrop(p, f, here) || (safe == here && f.enemyNear(here))))
                held.insert(key(p, Player::KeyPrimary));
            steerTo(p, f, safe, held);
            return held;
        }
        if (ownsDynamite(p, f)) {
            held.insert(key(p, Player::KeySecondary));
            return held;
        }
        if (bombWorth(p, f, here) && canDrop(p, f, here)) {
            held.insert(key(p, Player::KeyPrimary));
            return held;
        }
        const int c = chore(f);
        if (c >= 0 && !powerupNear(p, f, here)) {
            const Chore& job = chores[std::size_t(c)];
            if (here != job.stand) {
                steerTo(p, f, job.stand, held);
                return held;
            }
            if (job.face >= 0) held.insert(key(p, kDirectionSlots[job.face]));
            if (job.slot >= 0 && (job.face < 0 || p.direction == job.face)) held.insert(key(p, job.slot));
            return held;
        }
        steerTo(p, f, chooseGoal(p, f, here), held);
        return held;
    }

private:
    template <typename Test>
    static bool anyCell(const Player& p, Test test) {
        const MovingObject::Box b = p.getHitbox();
        for (int x : {b.left, b.right})
            for (int y : {b.top, b.bottom})
                if (test(Cell{x / kTileSize, y / kTileSize})) return true;
        return false;
    }

    int key(const Player& p, int slot) const {
        const int code = p.keys[slot];
        // In window-message mode the bindings are virtual-key codes.
        return windowInput ? plat::dikFromVk(code) : code;
    }

    // One bomb at a time: chains of its own bombs are what a bot misjudges.
    bool hasBombs(const Player& p) const { return p.bombsPlaced == 0 && p.bombCount > 0; }

    bool ownsDynamite(const Player& p, const Field& f) const {
        for (const Bomb& b : f.level.bombs)
            if (b.active && !b.exploded && b.isDynamite && b.owner == &p) return true;
        return false;
    }

    // Something a blast from x would hit: a block, dynamite nobody lit, an
    // enemy, or in versus another player.
    bool bombWorth(const Player& p, const Field& f, Cell x) const {
        if (!hasBombs(p)) return false;
        for (const Cell& b : f.blast(x, p.bombPower)) {
            if (b == x) continue;
            const int v = f.at(layer::kObjects, b);
            if (v == cell::kBreakable || v == cell::kBomb) return true;
            for (const Enemy& e : f.level.enemies)
                if (e.active && !e.isDead() && e.getCol() == b.c && e.getRow() == b.r) return true;
            if (f.level.versus)
                for (const Player& o : f.level.players)
                    if (&o != &p && !o.isDead() && o.getCol() == b.c && o.getRow() == b.r) return true;
        }
        return false;
    }

    // A bomb here leaves a way out: a cell out of every blast, this one's
    // included, within a few steps.
    bool canDrop(const Player& p, Field& f, Cell x) const {
        for (const Bomb& b : f.level.bombs)
            if (b.active && !b.exploded && b.getCol() == x.c && b.getRow() == x.r) return false;
        Field after = f;
        after.addDanger(after.blast(x, p.bombPower));
        Paths paths(after, x, [&](Cell n) { return after.open(n); });
        for (int r = 0; r < after.h; ++r)
            for (int c = 0; c < after.w; ++c) {
                const int d = paths.distance({c, r});
                if (d > 0 && d <= kMaxEscapeSteps && !after.isDanger({c, r}) && !after.enemyNear({c, r}))
                    return true;
            }
        return false;
    }

    Cell nearestSafe(const Player& p, const Field& f, Cell here, bool throughDanger) const {
        Paths paths(f, here, [&](Cell n) { return f.open(n) && (throughDanger || !f.isDanger(n)); });
        // The player stops only roughly where it aims; a cell whose
        // neighbours are safe too forgives the slide.
        Cell best = here;
        int bestScore = -1;
        for (int r = 0; r < f.h; ++r)
            for (int c = 0; c < f.w; ++c) {
                const int d = paths.distance({c, r});
                if (d < 0 || f.isDanger({c, r}) || f.enemyNear({c, r})) continue;
                int score = d;
                for (int k = 0; k < dir::kCount; ++k)
                    if (f.isDanger({c + kStepCol[k], r + kStepRow[k]})) score += 2;
                if (bestScore < 0 || score < bestScore) {
                    best = {c, r};
                    bestScore = score;
                }
            }
        (void)p;
        return best;
    }

    bool powerupNear(const Player& p, const Field& f, Cell here) {
        return chooseGoal(p, f, here, true) != here;
    }

    // Powerups close by, else the nearest cell to bomb from, else a stroll.
    Cell chooseGoal(const Player& p, const Field& f, Cell here, bool powerupsOnly = false) {
        Paths paths(f, here, [&](Cell n) { return f.open(n) && !f.isDanger(n) && !f.enemyNear(n); });
        Cell powerup = here, target = here;
        int powerupDist = -1, targetDist = -1;
        for (int r = 0; r < f.h; ++r)
            for (int c = 0; c < f.w; ++c) {
                const Cell x{c, r};
                const int d = paths.distance(x);
                if (d < 0) continue;
                if (cell::isPowerup(f.at(layer::kPowerups, x)) && d <= kPowerupReach &&
                    (powerupDist < 0 || d < powerupDist)) {
                    powerup = x;
                    powerupDist = d;
                }
                if (d > 0 && (targetDist < 0 || d < targetDist) && bombWorth(p, f, x)) {
                    target = x;
                    targetDist = d;
                }
            }
        if (powerupDist > 0 || powerupsOnly) return powerup;
        if (targetDist > 0) return target;
        // Nothing to do from here: roam, so enemies and players meet.
        if (roam == here || paths.distance(roam) < 0) {
            std::vector<Cell> reachable;
            for (int r = 0; r < f.h; ++r)
                for (int c = 0; c < f.w; ++c)
                    if (paths.distance({c, r}) > 0) reachable.push_back({c, r});
            if (reachable.empty()) return here;
            roam = reachable[std::uniform_int_distribution<std::size_t>(0, reachable.size() - 1)(random)];
        }
        return roam;
    }

    // Holds the direction of the first step toward the goal; lets go early
    // enough for the player's glide to end on the goal.
    void steerTo(const Player& p, const Field& f, Cell goal, std::set<int>& held) const {
        const Cell here{p.getCol(), p.getRow()};
        if (goal == here) {
            // Half in a burning neighbour: back to the middle of the cell.
            if (!anyCell(p, [&](Cell x) { return x != here && f.isDanger(x); })) return;
            const int dx = here.c * kTileSize - p.getX();
            const int dy = here.r * kTileSize - p.getY();
            const int d = std::abs(dx) >= std::abs(dy) ? (dx > 0 ? dir::kRight : dir::kLeft)
                                                        : (dy > 0 ? dir::kDown : dir::kUp);
            held.insert(key(p, kDirectionSlots[d]));
            return;
        }
        Paths paths(f, here, [&](Cell n) { return f.open(n) || n == goal; });
        if (paths.distance(goal) < 0) return;
        const Cell step = paths.firstStep(goal);
        int d = dir::kRight;
        for (int k = 0; k < dir::kCount; ++k)
            if (here.c + kStepCol[k] == step.c && here.r + kStepRow[k] == step.r) d = k;
        if (step == goal) {
            const int left = std::abs(goal.c * kTileSize - p.getX()) + std::abs(goal.r * kTileSize - p.getY());
            if (left <= glide(p)) return;
        }
        held.insert(key(p, kDirectionSlots[d]));
    }

    // Roughly how far the player slides once its keys are up: it loses a
    // speed unit every momentum ms (checked every 10 ms).
    static int glide(const Player& p) {
        const float frames = float(p.momentum + Player::kDirectionPollMs) / MovingObject::kStepUnitMs;
        float px = 0.0f;
        for (int s = p.baseSpeed; s > 0; --s) px += float(s) * frames;
        return int(px);
    }

    std::mt19937 random;
    std::vector<Chore> chores;
    Cell roam;
};

// Drives a session and writes down everything it is given.
class Recorder {
public:
    Recorder(Session& session, Script& script) : session(session), script(script) {}

    void key(int code, bool down) { pending.keys.push_back({code, down}); }

    void pass() {
        if (!pending.keys.empty()) {
            for (const KeyChange& k : pending.keys) session.key(k.code, k.down);
            pending.pass = session.passes();
            pending.clock = plat::tickCount();
            script.events.push_back(pending);
        }
        pending = Event{};
        session.pass();
    }

    void runFor(uint32_t ms) {
        const uint32_t start = plat::tickCount();
        while (plat::tickCount() - start < ms && !session.game().hasQuit()) pass();
    }

    void tap(int code) {
        key(code, true);
        runFor(kTapDownMs);
        key(code, false);
        runFor(kTapUpMs);
    }

private:
    Session& session;
    Script& script;
    Event pending;
};

std::vector<int> keys(std::initializer_list<std::pair<int, int>> runs) {
    std::vector<int> out;
    for (const auto& run : runs)
        for (int i = 0; i < run.second; ++i) out.push_back(run.first);
    return out;
}

// From the title page: Enter to the main menu, START GAME, the number of
// players, then the way into the stage.
std::vector<int> onePlayer(std::initializer_list<std::pair<int, int>> then) {
    std::vector<int> out = keys({{DIK_RETURN, 3}});
    const std::vector<int> rest = keys(then);
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
}

}  // namespace

const std::vector<Scenario>& scenarios() {
    static const std::vector<Scenario> list = [] {
        std::vector<Scenario> s;
        Scenario tutorial;
        tutorial.name = "tutorial";
        tutorial.title = "the tutorial played through by one player";
        tutorial.menuKeys = onePlayer({{DIK_DOWN, 2}, {DIK_RETURN, 1}});
        tutorial.stage = 0;
        tutorial.botSeed = 11;
        s.push_back(tutorial);

        const char* names[] = {"novice", "experienced", "master"};
        const char* titles[] = {"NOVICE", "EXPERIENCED", "MASTER"};
        for (int d = 0; d < 3; ++d) {
            Scenario level;
            level.name = std::string("level1-") + names[d];
            level.title = std::string("level 1 at ") + titles[d] + ", one player";
            // START, then the difficulty.
            level.menuKeys = onePlayer({{DIK_RETURN, 1}, {DIK_DOWN, d}, {DIK_RETURN, 1}});
            level.stage = 1;
            level.botSeed = uint32_t(21 + d);
            level.calendar += 1000 * (d + 1);
            s.push_back(level);
        }

        Scenario dragon;
        dragon.name = "level5";
        dragon.title = "level 5 at EXPERIENCED, practice, one player through window messages";
        // PRACTICE, LEVEL 5, EXPERIENCED.
        dragon.menuKeys = onePlayer({{DIK_DOWN, 1}, {DIK_RETURN, 1}, {DIK_DOWN, 4}, {DIK_RETURN, 1},
                                     {DIK_DOWN, 1}, {DIK_RETURN, 1}});
        dragon.stage = 5;
        dragon.windowMessages = true;
        dragon.botSeed = 51;
        dragon.calendar += 5000;
        s.push_back(dragon);

        Scenario arctic;
        arctic.name = "arctic-4players";
        arctic.title = "a four-player versus round in the ARCTIC arena";
        // START GAME, 4 PLAYER, VS BATTLE, INSTANT ACTION: ARCTIC.
        arctic.menuKeys = keys({{DIK_RETURN, 2}, {DIK_DOWN, 3}, {DIK_RETURN, 1}, {DIK_DOWN, 1},
                                {DIK_RETURN, 1}, {DIK_DOWN, 5}, {DIK_RETURN, 1}});
        arctic.stage = 8;
        arctic.players = 4;
        arctic.botSeed = 81;
        arctic.calendar += 8000;
        s.push_back(arctic);
        return s;
    }();
    return list;
}

const Scenario* findScenario(const std::string& name) {
    for (const Scenario& s : scenarios())
        if (s.name == name) return &s;
    return nullptr;
}

bool record(const Scenario& scenario, const GameFiles& files, Script* out, std::string* digest,
            std::string* error) {
    Script script;
    script.title = scenario.title;
    script.calendar = scenario.calendar;
    script.windowMessages = scenario.windowMessages;
    try {
        Session session(files, script.calendar, script.clock, script.windowMessages);
        Recorder rec(session, script);
        Game& game = session.game();

        rec.runFor(kTitleWaitMs);
        for (int code : scenario.menuKeys) rec.tap(code);
        const uint32_t waitStart = plat::tickCount();
        while (game.state != kStatePlaying && plat::tickCount() - waitStart < kStageStartLimitMs) rec.pass();
        if (game.state != kStatePlaying || game.level.stageNumber != scenario.stage ||
            game.level.getNumPlayers() != scenario.players) {
            if (error)
                *error = "the menu keys led to state " + std::to_string(game.state) + ", stage " +
                         std::to_string(game.level.stageNumber) + ", page " + std::to_string(game.menu.page);
            return false;
        }

        std::map<int, Bot> bots;
        const std::vector<Chore> none;
        for (int n = 1; n <= scenario.players; ++n)
            bots.emplace(n, Bot(scenario.botSeed * 7919u + uint32_t(n),
                                scenario.stage == kStageTutorial ? kTutorialChores : none));
        const bool trace = std::getenv("EMBERHAUNT_REPLAY_TRACE") != nullptr;
        uint32_t traced = 0;
        std::set<int> held;
        uint32_t decided = plat::tickCount() - 1;
        uint32_t resultAt = 0;
        bool result = false;
        const uint32_t playStart = plat::tickCount();
        while (plat::tickCount() - playStart < scenario.limitMs && !game.hasQuit() &&
               game.state == kStatePlaying) {
            const uint32_t now = plat::tickCount();
            if (!result && game.level.state != kLevelRunning) {
                result = true;
                resultAt = now;
            }
            if (result && now - resultAt >= scenario.afterResultMs) break;
            if (now != decided && game.level.running && !game.paused) {
                decided = now;
                Field field(game.level);
                field.fencedTutorialRooms =
                    scenario.stage == kStageTutorial && bots.at(1).chore(field) < 0;
                if (trace && now - traced >= 1000) {
                    traced = now;
                    for (const Player& p : game.level.players)
                        std::fprintf(stderr, "%u ms: player %d at %d,%d health %d bombs %d/%d power %d chore %d\n",
                                     now, p.getNumber(), p.getCol(), p.getRow(), p.health, p.bombsPlaced,
                                     p.bombCount, p.bombPower, bots.at(p.getNumber()).chore(field));
                }
                std::set<int> wanted;
                for (const Player& p : game.level.players) {
                    const std::set<int> k = bots.at(p.getNumber()).keysFor(p, field);
                    wanted.insert(k.begin(), k.end());
                }
                for (int code : held)
                    if (!wanted.count(code)) rec.key(code, false);
                for (int code : wanted)
                    if (!held.count(code)) rec.key(code, true);
                held = wanted;
            }
            rec.pass();
        }
        script.passes = session.passes();
        if (digest) *digest = session.digest();
    } catch (...) {
        return runFailed(error);
    }
    *out = script;
    return true;
}

}  // namespace replay
