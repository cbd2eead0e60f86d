// Soak runs: every stage played hard for fifty seconds of simulated time
// by random but reproducible key presses, through the same input path the
// game uses, with the field's invariants checked after every frame. Run
// under the sanitizers they catch crashes, leaks, reads outside arrays and
// rounds that never end. A last run drives the whole Game from the title
// page into a level, pauses, resumes and leaves it again.
//
// Everything is deterministic: the headless clock only moves when told, the
// calendar (which the enemies seed the random numbers from) is fixed, and
// the key presses come from a generator with a fixed seed per run.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "StageFixture.h"
#include "menu/Menu.h"
#include "platform/KeyCodes.h"
#include "platform/Window.h"
#include "shell/Game.h"
#include "shell/GameWindow.h"
#include "shell/Input.h"
#include "shell/ShellFixture.h"
#include "support/PassLoop.h"

namespace stagetest {
namespace {

constexpr uint32_t kFrameMs = 15;
// The main loop passes several times per frame; the players poll their keys
// on their own timers in between.
constexpr uint32_t kPassesPerFrame = 3;
constexpr uint32_t kSoakMs = 50000;
constexpr uint32_t kMaxStallMs = 500;
// Every round is given at most this long on its clock, so that each run also
// reaches the end of the round by the clock and the result that follows.
constexpr int kSoakClockSeconds = 40;
constexpr int kCalmClockSeconds = 12;

// Generous bounds: the lists keep every object until the stage ends, so
// they grow over a round, but never without limit.
constexpr std::size_t kMaxExplosions = 2000;
constexpr std::size_t kMaxEnemies = 300;
constexpr std::size_t kMaxBombs = 1000;
constexpr std::size_t kMaxMissiles = 1000;
constexpr std::size_t kMaxPowerups = 1000;
constexpr std::size_t kMaxBlocks = 2000;

using LoadStage = void (*)(Level&, int players, int difficulty);

struct SoakRun {
    std::string name;
    LoadStage load;
    int players;
    int difficulty;
    int lives;         // for the levels; versus ignores them
    bool windowInput;  // keys through window messages instead of the keyboard device
};

void PrintTo(const SoakRun& run, std::ostream* os) { *os << run.name; }

// The seed of a run's key presses, from its name (FNV-1a: the same on every
// system, unlike std::hash).
uint32_t seedOf(const std::string& name) {
    uint32_t h = 2166136261u;
    for (char c : name) h = (h ^ uint8_t(c)) * 16777619u;
    return h;
}

// EMBERHAUNT_SOAK_SEED=n plays other games than the usual ones (other key
// presses and another calendar for the enemies' random numbers), for a
// longer hunt by hand; unset, every run is the same.
uint32_t soakSeed() {
    const char* text = std::getenv("EMBERHAUNT_SOAK_SEED");
    return text ? uint32_t(std::strtoul(text, nullptr, 10)) : 0;
}

std::vector<SoakRun> soakRuns() {
    std::vector<SoakRun> runs;
    runs.push_back({"Tutorial", [](Level& l, int p, int d) { l.loadTutorial(p, d); }, 1, 1, 4, false});
    const LoadStage levels[] = {
        [](Level& l, int p, int d) { l.loadLevel1(p, d); },
        [](Level& l, int p, int d) { l.loadLevel2(p, d); },
        [](Level& l, int p, int d) { l.loadLevel3(p, d); },
        [](Level& l, int p, int d) { l.loadLevel4(p, d); },
        [](Level& l, int p, int d) { l.loadLevel5(p, d); },
    };
    for (int n = 0; n < 5; ++n) {
        for (int d = 0; d < 3; ++d) {
            const int players = 1 + (n + d) % 4;
            // Practice (lives -1) now and then: no life icon falls there.
            const int lives = (n + d) % 3 == 2 ? -1 : 4;
            runs.push_back({"Level" + std::to_string(n + 1) + "Difficulty" + std::to_string(d),
                            levels[n], players, d, lives, (n + d) % 2 == 1});
        }
    }
    const std::pair<const char*, LoadStage> arenas[] = {
        {"Desert", [](Level& l, int p, int) { l.loadArenaDesert(p); }},
        {"Roman", [](Level& l, int p, int) { l.loadArenaRoman(p); }},
        {"Future", [](Level& l, int p, int) { l.loadArenaFuture(p); }},
        {"Arctic", [](Level& l, int p, int) { l.loadArenaArctic(p); }},
        {"Ninja", [](Level& l, int p, int) { l.loadArenaNinja(p); }},
        {"China", [](Level& l, int p, int) { l.loadArenaChina(p); }},
    };
    int i = 0;
    for (const auto& arena : arenas) {
        for (int players : {2, 4}) {
            runs.push_back({std::string("Arena") + arena.first + std::to_string(players) + "Players",
                            arena.second, players, 1, 4, (i++ % 2) == 0});
        }
    }
    return runs;
}

// A restless player at the keyboard: holds a direction (sometimes two) for
// a while, taps and holds the bomb key and then runs for cover round a
// corner, uses the secondary key, and now and then hits a key that belongs
// to nobody.
class KeyDriver {
public:
    // Directions of the driver: 0 up, 1 down, 2 left, 3 right.
    static constexpr int kColStep[4] = {0, 0, -1, 1};
    static constexpr int kRowStep[4] = {-1, 1, 0, 0};

    KeyDriver(uint32_t seed, int players, bool windowMessages)
        : random(seed), playerCount(players), windowMessages(windowMessages), plans(players) {}

    // Where player `number` stands; false when it is gone.
    std::function<bool(int number, int& col, int& row)> position;
    // Whether a player could step onto the cell.
    std::function<bool(int col, int row)> open;
    // No bombs while set.
    bool calm = false;

    // Brings the keys to what the plan wants at `now`.
    void step(uint32_t now) {
        std::set<int> wanted;
        for (int p = 0; p < playerCount; ++p) {
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
            if (now >= plan.secondaryUntil && pick(0, 99) < 3)
                plan.secondaryUntil = now + uint32_t(pick(20, 600));
            const int directionSlots[4] = {KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT};
            for (int d : plan.directions) wanted.insert(keys[directionSlots[d]]);
            if (now < plan.primaryUntil) wanted.insert(keys[KEY_PRIMARY]);
            if (now < plan.secondaryUntil) wanted.insert(keys[KEY_SECONDARY]);
        }
        if (pick(0, 999) < 5) wanted.insert(pick(0, 255));
        for (int code : down)
            if (!wanted.count(code)) send(code, false);
        for (int code : wanted)
            if (!down.count(code)) send(code, true);
        down = wanted;
    }

    void releaseAll() {
        for (int code : down) send(code, false);
        down.clear();
    }

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

    void send(int code, bool pressed) {
        if (!windowMessages) {
            plat::headless::setKeyState(code, pressed);
            return;
        }
        plat::Message msg;
        msg.type = pressed ? plat::MsgType::KeyDown : plat::MsgType::KeyUp;
        msg.wParam = uint32_t(code);
        window.wndProc(msg);
    }

    std::mt19937 random;
    int playerCount;
    bool windowMessages;
    std::vector<Plan> plans;
    std::set<int> down;
    // Only its window procedure is used: it fills the window key table.
    GameWindow window;
};

class StageSoakTest : public StageTest, public ::testing::WithParamInterface<SoakRun> {
protected:
    void TearDown() override {
        windowInput = false;
        std::fill(std::begin(windowKeys), std::end(windowKeys), uint8_t(0));
        StageTest::TearDown();
    }

    // What must hold after every frame. False after the first failure, so a
    // broken run reports once instead of on every frame.
    bool checkField(int startSeconds) {
        const int w = level.grid.getWidth();
        const int h = level.grid.getHeight();
        for (int l = 0; l < layer::kCount; ++l)
            for (int r = 0; r < h; ++r)
                for (int c = 0; c < w; ++c) {
                    const int v = level.grid.getTile(l, c, r);
                    if (v < cell::kEmpty || v > cell::kLastPowerup) {
                        ADD_FAILURE() << "cell value " << v << " on layer " << l << " at " << c << "," << r;
                        return false;
                    }
                }
        // On a cell of the grid, and drawn no farther than a cell from it.
        auto inside = [&](const GridObject& o, const char* what) {
            const int t = level.tileSize;
            if (o.getCol() >= 0 && o.getCol() < w && o.getRow() >= 0 && o.getRow() < h &&
                std::abs(o.getX() - o.getCol() * t) <= t && std::abs(o.getY() - o.getRow() * t) <= t)
                return true;
            ADD_FAILURE() << what << " outside the grid at " << o.getCol() << "," << o.getRow() << " (pixel "
                          << o.getX() << "," << o.getY() << ")";
            return false;
        };
        for (const Player& p : level.players) {
            if (!inside(p, "player")) return false;
            if (p.health < 0 || p.health > std::max(p.startingHealth(), 100) || p.bombsPlaced < 0 ||
                p.bombCount < 0 || p.bombPower < 1) {
                ADD_FAILURE() << "player " << p.getNumber() << ": health " << p.health << ", bombs placed "
                              << p.bombsPlaced << " of " << p.bombCount << ", power " << p.bombPower;
                return false;
            }
        }
        for (const Enemy& e : level.enemies)
            if (!inside(e, "enemy")) return false;
        for (const Bomb& b : level.bombs)
            if (b.active && !inside(b, "bomb")) return false;
        for (const Missile& m : level.missiles)
            if (m.active && !inside(m, "missile")) return false;
        for (const HomingMissile& m : level.homingMissiles)
            if (m.active && !inside(m, "homing missile")) return false;
        for (const Explosion& e : level.explosions)
            if (e.active && !inside(e, "explosion")) return false;
        for (const Powerup& u : level.powerups)
            if (u.active && !inside(u, "powerup")) return false;

        const bool listsBounded = level.explosions.size() < kMaxExplosions &&
                                  level.enemies.size() < kMaxEnemies && level.bombs.size() < kMaxBombs &&
                                  level.missiles.size() + level.homingMissiles.size() < kMaxMissiles &&
                                  level.powerups.size() < kMaxPowerups && level.blocks.size() < kMaxBlocks;
        if (!listsBounded) {
            ADD_FAILURE() << "lists: explosions " << level.explosions.size() << ", enemies "
                          << level.enemies.size() << ", bombs " << level.bombs.size() << ", missiles "
                          << level.missiles.size() << "+" << level.homingMissiles.size() << ", powerups "
                          << level.powerups.size() << ", blocks " << level.blocks.size();
            return false;
        }
        if (level.secondsLeft < 0 || level.secondsLeft > startSeconds ||
            level.livePlayers > level.getNumPlayers()) {
            ADD_FAILURE() << "clock " << level.secondsLeft << ", live players " << level.livePlayers;
            return false;
        }
        return true;
    }
};

TEST_P(StageSoakTest, SurvivesRoundAfterRoundOfRandomPlay) {
    const SoakRun& run = GetParam();
    const uint32_t extraSeed = soakSeed();
    if (extraSeed != 0) plat::headless::setCalendarSeconds(1000000000 + int64_t(extraSeed) * 7919);
    windowInput = run.windowInput;
    restoreDefaultKeys();  // the bindings of the input mode

    Input input;
    if (!run.windowInput) {
        ASSERT_TRUE(input.init());
    }
    KeyDriver keys(seedOf(run.name) ^ extraSeed, run.players, run.windowInput);
    keys.position = [this](int number, int& col, int& row) {
        for (const Player& p : level.players) {
            if (p.getNumber() != number || p.isDead()) continue;
            col = p.getCol();
            row = p.getRow();
            return true;
        }
        return false;
    };
    keys.open = [this](int col, int row) {
        return level.grid.isValidX(col) && level.grid.isValidY(row) &&
               level.grid.getTile(layer::kObjects, col, row) == cell::kEmpty &&
               level.grid.getTile(layer::kExplosions, col, row) == cell::kEmpty;
    };
    auto backBuffer = plat::Surface::create(640, 480);

    // Round after round, as the stage progression restarts a stage after a
    // lost life, until the soak time is up: every round ends by the clock at
    // the latest, and each restart frees and loads the whole stage again.
    const uint32_t soakStart = plat::tickCount();
    int rounds = 0;
    while (plat::tickCount() - soakStart < kSoakMs) {
        SCOPED_TRACE("round " + std::to_string(rounds + 1));
        level.cleanup();
        run.load(level, run.players, run.difficulty);
        level.lives = run.lives;
        ASSERT_EQ(level.getNumPlayers(), run.players);
        ASSERT_EQ(level.players.size(), std::size_t(run.players));
        ++rounds;
        // Every third round nobody drops a bomb and the clock is short: the
        // round then ends by the clock (or by the enemies).
        keys.calm = rounds % 3 == 0;
        level.secondsLeft = std::min(level.secondsLeft, keys.calm ? kCalmClockSeconds : kSoakClockSeconds);
        const int startSeconds = level.secondsLeft;

        // One pause in the round, as long as the player likes.
        const uint32_t pauseAt = uint32_t(keys.pick(3000, 20000));
        const uint32_t pauseFor = uint32_t(keys.pick(100, 3000));
        bool pausedOnce = false;

        // Intro and ready, the clock, the pause and the longer result delay
        // of a game over; a second for the clock's whole-second steps.
        const uint32_t start = plat::tickCount();
        const uint32_t deadline = Level::kIntroTime + Level::kReadyTime + uint32_t(startSeconds) * 1000 +
                                  pauseFor + Level::kGameOverDelay + 1000 + kMaxStallMs;
        uint32_t elapsed = 0;
        while (plat::tickCount() - soakStart < kSoakMs && !level.isLevelOver()) {
            // Now and then the machine stalls and a frame comes late.
            const uint32_t frameMs =
                keys.pick(0, 199) == 0 ? uint32_t(keys.pick(50, int(kMaxStallMs))) : kFrameMs;
            for (uint32_t pass = 0; pass < kPassesPerFrame; ++pass) {
                plat::headless::advance(frameMs / kPassesPerFrame);
                keys.step(plat::tickCount() - soakStart);
                input.update();
                level.handleInput(&input);
            }
            level.draw(*backBuffer);
            elapsed = plat::tickCount() - start;

            if (!pausedOnce && elapsed >= pauseAt && level.state == kLevelRunning) {
                pausedOnce = true;
                const int secondsBefore = level.secondsLeft;
                level.pause();
                plat::headless::advance(pauseFor);
                level.resume();
                level.draw(*backBuffer);
                ASSERT_GE(level.secondsLeft, secondsBefore - 1) << "the clock ran on during the pause";
                elapsed = plat::tickCount() - start;
            }
            ASSERT_TRUE(checkField(startSeconds)) << "after " << elapsed << " ms";
            ASSERT_LE(elapsed, deadline) << "the round did not end, clock " << level.secondsLeft
                                         << ", state " << level.state;
        }
        if (level.isLevelOver()) {
            EXPECT_NE(level.state, kLevelRunning);
        }
    }
    EXPECT_GE(rounds, 1);
    keys.releaseAll();
    input.shutdown();
    level.cleanup();
    EXPECT_EQ(level.library, nullptr);
}

INSTANTIATE_TEST_SUITE_P(EveryStage, StageSoakTest, ::testing::ValuesIn(soakRuns()),
                         [](const ::testing::TestParamInfo<SoakRun>& info) { return info.param.name; });

}  // namespace
}  // namespace stagetest

// The whole game: start-up, the menu by keys into a level, play, pause,
// resume, and back out to the menu.
namespace shelltest {
namespace {

namespace fs = std::filesystem;

Game* soakGame = nullptr;
void soakTick() {
    if (soakGame) soakGame->draw();
}

class GameSoakTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        const fs::path bin = EMBERHAUNT_BIN_DIR;
        fs::copy_file(fs::path(EMBERHAUNT_SOURCE_DIR) / "data" / "config.cfg", path("config.cfg"));
        fs::copy_file(bin / "filepaths.cfg", path("filepaths.cfg"));
        fs::create_directory_symlink(bin / "assets", path("assets"));
        game = std::make_unique<Game>();
        soakGame = game.get();
        game->init(soakTick);
    }
    void TearDown() override {
        soakGame = nullptr;
        if (game) game->level.cleanup();
        game.reset();
        ShellTest::TearDown();
    }

    // The main loop for ms of simulated time; the draw timer draws.
    void runFor(uint32_t ms, const std::function<void()>& everyPass = {}) {
        testsupport::PassLoop loop;
        loop.update = [&] {
            if (everyPass) everyPass();
            game->update();
        };
        loop.onQuit = [this](uint32_t) { game->quit(); };
        testsupport::runPassLoop(ms, loop);
    }
    void tap(int dik) {
        plat::headless::pressKey(dik);
        runFor(100);
        plat::headless::releaseKey(dik);
        runFor(400);
    }

    std::unique_ptr<Game> game;
};

TEST_F(GameSoakTest, MenuToALevelPlayPauseResumeAndExit) {
    ASSERT_EQ(game->state, kStateMenu);
    runFor(1000);
    tap(plat::DIK_RETURN);  // past the title
    ASSERT_EQ(game->menu.page, kPageMain);
    tap(plat::DIK_RETURN);  // START GAME
    ASSERT_EQ(game->menu.page, kPagePlayers);
    tap(plat::DIK_RETURN);  // 1 PLAYER
    ASSERT_EQ(game->menu.page, kPageStart);
    tap(plat::DIK_RETURN);  // START
    ASSERT_EQ(game->menu.page, kPageDifficulty);
    tap(plat::DIK_RETURN);  // NOVICE
    ASSERT_TRUE(testsupport::runUntil([&] { return game->state == kStatePlaying; }, 10000,
                                      [&] { game->update(); }));
    EXPECT_EQ(game->level.stageNumber, 1);
    EXPECT_EQ(game->level.difficulty, 0);
    EXPECT_EQ(game->level.getNumPlayers(), 1);

    // Thirty seconds of play by the device keys of player 1.
    std::mt19937 random(20240611u);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const int* keys = playerKeys[0];
    const int directions[4] = {keys[KEY_UP], keys[KEY_DOWN], keys[KEY_LEFT], keys[KEY_RIGHT]};
    int held = -1;
    uint32_t heldUntil = 0;
    runFor(30000, [&] {
        const uint32_t now = plat::tickCount();
        if (now < heldUntil) return;
        if (held >= 0) plat::headless::setKeyState(held, false);
        plat::headless::setKeyState(keys[KEY_PRIMARY], false);
        plat::headless::setKeyState(keys[KEY_SECONDARY], false);
        held = directions[pick(0, 3)];
        plat::headless::setKeyState(held, true);
        if (pick(0, 3) == 0) plat::headless::setKeyState(keys[KEY_PRIMARY], true);
        if (pick(0, 9) == 0) plat::headless::setKeyState(keys[KEY_SECONDARY], true);
        heldUntil = now + uint32_t(pick(50, 800));
    });
    plat::headless::clearKeyStates();
    ASSERT_EQ(game->state, kStatePlaying) << "the player lost every life in thirty seconds";

    // Escape pauses only while the round has no result.
    auto roundRuns = [&] {
        return game->level.running && game->level.state == kLevelRunning && !game->level.isLevelOver();
    };
    ASSERT_TRUE(testsupport::runUntil(roundRuns, 20000, [&] { game->update(); }));
    tap(plat::DIK_ESCAPE);
    ASSERT_TRUE(game->paused);
    ASSERT_EQ(game->menu.page, kPagePause);
    const int secondsBefore = game->level.secondsLeft;
    runFor(3000);
    EXPECT_EQ(game->level.secondsLeft, secondsBefore) << "the clock ran during the pause";
    tap(plat::DIK_RETURN);  // RESUME
    EXPECT_FALSE(game->paused);
    runFor(2000);
    EXPECT_EQ(game->state, kStatePlaying);

    ASSERT_TRUE(testsupport::runUntil([&] { return game->level.state == kLevelRunning; }, 20000,
                                      [&] { game->update(); }));
    tap(plat::DIK_ESCAPE);
    ASSERT_TRUE(game->paused);
    tap(plat::DIK_DOWN);
    tap(plat::DIK_RETURN);  // EXIT
    ASSERT_TRUE(testsupport::runUntil([&] { return game->state == kStateMenu; }, 10000,
                                      [&] { game->update(); }));
    EXPECT_FALSE(game->paused);
    EXPECT_EQ(game->menu.page, kPageStart);
    EXPECT_EQ(game->level.library, nullptr);
    runFor(2000);
    EXPECT_FALSE(game->hasQuit());
}

}  // namespace
}  // namespace shelltest
