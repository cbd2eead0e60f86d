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
#include "support/FieldCheck.h"
#include "support/PassLoop.h"
#include "support/RandomPlayer.h"

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

class StageSoakTest : public StageTest, public ::testing::WithParamInterface<SoakRun> {
protected:
    void TearDown() override {
        windowInput = false;
        std::fill(std::begin(windowKeys), std::end(windowKeys), uint8_t(0));
        StageTest::TearDown();
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
    // Only the window procedure of this window is used: it fills the window
    // key table, as the game's window does.
    GameWindow window;
    RandomPlayer keys(seedOf(run.name) ^ extraSeed, run.players, [&](int code, bool pressed) {
        if (!run.windowInput) {
            plat::headless::setKeyState(code, pressed);
            return;
        }
        plat::Message msg;
        msg.type = pressed ? plat::MsgType::KeyDown : plat::MsgType::KeyUp;
        msg.wParam = uint32_t(code);
        window.wndProc(msg);
    });
    keys.watch(level);
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
            ASSERT_EQ(fieldFault(level, startSeconds), "") << "after " << elapsed << " ms";
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
