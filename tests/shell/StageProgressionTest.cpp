// The stage progression and the intro transitions on a started game that
// plays the real stages from the generated game folder.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ShellFixture.h"
#include "menu/Menu.h"
#include "platform/Clock.h"
#include "platform/Headless.h"
#include "platform/KeyCodes.h"
#include "platform/Surface.h"
#include "platform/Window.h"
#include "shell/Game.h"
#include "shell/StageProgression.h"
#include "shell/Transition.h"

namespace shelltest {
namespace {

namespace fs = std::filesystem;

using StageStart = void (Level::*)(int, int);

Game* current = nullptr;
void tick() {
    if (current) current->draw();
}

// The arenas take no difficulty.
void loadDesert(Level& l, int players) { l.loadArenaDesert(players); }
void loadRoman(Level& l, int players) { l.loadArenaRoman(players); }
void loadFuture(Level& l, int players) { l.loadArenaFuture(players); }
void loadArctic(Level& l, int players) { l.loadArenaArctic(players); }
void loadNinja(Level& l, int players) { l.loadArenaNinja(players); }
void loadChina(Level& l, int players) { l.loadArenaChina(players); }

class StageProgressionTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        // The real game folder, seen from a private one: its own copy of
        // config.cfg (the game may write it) beside the real filepaths.cfg
        // and a link to the real assets.
        const fs::path bin = EMBERHAUNT_BIN_DIR;
        fs::copy_file(fs::path(EMBERHAUNT_SOURCE_DIR) / "data" / "config.cfg", path("config.cfg"));
        fs::copy_file(bin / "filepaths.cfg", path("filepaths.cfg"));
        fs::create_directory_symlink(bin / "assets", path("assets"));
        game = std::make_unique<Game>();
        current = game.get();
        game->init(tick);
        buffer = plat::Surface::create(640, 480);
    }
    void TearDown() override {
        current = nullptr;
        if (game) game->level.cleanup();
        game.reset();
        ShellTest::TearDown();
    }

    // What a menu action does to start a stage.
    void start(StageStart setUp, int players, int difficulty, int lives) {
        game->level.cleanup();
        game->level.lives = lives;
        (game->level.*setUp)(players, difficulty);
        introCoverStarted = false;
        game->state = kStatePlaying;
    }
    void finish(int result) {
        game->level.state = result;
        game->level.finished = true;
    }
    // One press and release of Escape, as the player pauses and resumes.
    void escape() {
        plat::headless::pressKey(plat::DIK_ESCAPE);
        game->update();
        plat::headless::releaseKey(plat::DIK_ESCAPE);
        game->update();
    }
    void progress() {
        buffer->fill(0, 0, 640, 480, 0);
        runStageProgression(*game, *buffer);
    }

    std::unique_ptr<Game> game;
    std::unique_ptr<plat::Surface> buffer;
};

struct Row {
    const char* name;
    StageStart stage;  // the stage that ends
    int result;
    int lives;
    int state;    // game state afterwards
    int page;
    int next;     // stage number started, -1 for none
};

// Each row of the progression with the real set-ups: the next level, a
// retry or a menu page; a started stage keeps players, difficulty and lives
// and shows its intro page at once.
TEST_F(StageProgressionTest, LevelsLeadToTheNextLevelARetryOrAMenuPage) {
    const Row rows[] = {
        {"level 1 won", &Level::loadLevel1, kLevelWon, 4, kStatePlaying, kPageIntroLevel2, 2},
        {"level 1 life lost", &Level::loadLevel1, kLevelLifeLost, 3, kStatePlaying, kPageIntroLevel1, 1},
        {"level 1 last life", &Level::loadLevel1, kLevelLifeLost, 0, kStateMenu, kPageStart, -1},
        {"level 2 won", &Level::loadLevel2, kLevelWon, 2, kStatePlaying, kPageIntroLevel3, 3},
        {"level 2 life lost", &Level::loadLevel2, kLevelLifeLost, 1, kStatePlaying, kPageIntroLevel2, 2},
        {"level 2 last life", &Level::loadLevel2, kLevelLifeLost, 0, kStateMenu, kPageStart, -1},
        {"level 3 won", &Level::loadLevel3, kLevelWon, 4, kStatePlaying, kPageIntroLevel4, 4},
        {"level 3 life lost", &Level::loadLevel3, kLevelLifeLost, 2, kStatePlaying, kPageIntroLevel3, 3},
        {"level 3 last life", &Level::loadLevel3, kLevelLifeLost, 0, kStateMenu, kPageStart, -1},
        // The last player and the last enemy gone in one frame: won, no lives.
        {"level 3 won on the last life", &Level::loadLevel3, kLevelWon, 0, kStateMenu, kPageStart, -1},
        {"level 4 won", &Level::loadLevel4, kLevelWon, 3, kStatePlaying, kPageIntroLevel5, 5},
        {"level 4 life lost", &Level::loadLevel4, kLevelLifeLost, 2, kStatePlaying, kPageIntroLevel4, 4},
        {"level 4 last life", &Level::loadLevel4, kLevelLifeLost, 0, kStateMenu, kPageStart, -1},
        {"level 5 won", &Level::loadLevel5, kLevelWon, 1, kStateMenu, kPageCredits, -1},
        {"level 5 life lost", &Level::loadLevel5, kLevelLifeLost, 1, kStatePlaying, kPageIntroLevel5, 5},
        {"level 5 last life", &Level::loadLevel5, kLevelLifeLost, 0, kStateMenu, kPageStart, -1},
        // PRACTICE plays with lives -1: any end goes back to its page.
        {"practice won", &Level::loadLevel2, kLevelWon, -1, kStateMenu, kPageStart, -1},
        {"practice lost", &Level::loadLevel4, kLevelLifeLost, -2, kStateMenu, kPageStart, -1},
        // The tutorial goes back to the START / PRACTICE / TUTORIAL page
        // however it ends, so a lost one does not leave the game stuck.
        {"tutorial won", &Level::loadTutorial, kLevelWon, 4, kStateMenu, kPageStart, -1},
        {"tutorial life lost", &Level::loadTutorial, kLevelLifeLost, 3, kStateMenu, kPageStart, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const int players = row.next == 5 ? 3 : 2;
        const int difficulty = row.next == 3 ? 0 : 2;
        start(row.stage, players, difficulty, row.lives);
        finish(row.result);
        const int presented = plat::headless::presentCount();
        progress();

        EXPECT_EQ(game->state, row.state);
        EXPECT_EQ(game->menu.page, row.page);
        EXPECT_EQ(game->level.lives, row.lives);
        if (row.next < 0) {
            EXPECT_EQ(game->level.library, nullptr);  // left cleaned up
            EXPECT_EQ(plat::headless::presentCount(), presented);
            continue;
        }
        EXPECT_EQ(game->level.stageNumber, row.next);
        EXPECT_FALSE(game->level.isLevelOver());
        EXPECT_EQ(game->level.getNumPlayers(), players);
        EXPECT_EQ(game->level.players.size(), std::size_t(players));
        EXPECT_EQ(game->level.difficulty, difficulty);
        EXPECT_FALSE(introCoverStarted);
        // The intro page reached the window before the set-up ran.
        EXPECT_EQ(plat::headless::presentCount(), presented + 1);
        const plat::Surface* window = plat::windowSurface();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->pixel(320, 240), buffer->pixel(320, 240));
        EXPECT_EQ(window->pixel(17, 411), buffer->pixel(17, 411));
    }
}

TEST_F(StageProgressionTest, ArenasGoBackToTheArenaListAndOtherStagesToTheMainMenu) {
    struct ArenaRow {
        const char* name;
        void (*load)(Level&, int);
        int result;
        int page;
    };
    const ArenaRow rows[] = {
        {"desert won", loadDesert, kLevelWon, kPageArenas},
        {"roman drawn", loadRoman, kLevelDraw, kPageArenas},
        {"future won", loadFuture, kLevelWon, kPageArenas},
        {"arctic drawn", loadArctic, kLevelDraw, kPageArenas},
        {"ninja won", loadNinja, kLevelWon, kPageArenas},
        {"china won", loadChina, kLevelWon, kPageMain},
    };
    for (const ArenaRow& row : rows) {
        SCOPED_TRACE(row.name);
        game->level.cleanup();
        game->level.lives = 4;
        row.load(game->level, 2);
        game->state = kStatePlaying;
        finish(row.result);
        progress();
        EXPECT_EQ(game->state, kStateMenu);
        EXPECT_EQ(game->menu.page, row.page);
        EXPECT_EQ(game->level.library, nullptr);
    }

    // A stage number no table knows (10 is no arena) also ends in the main
    // menu; so does a finished level whose number was never set up.
    for (int stage : {10, 12, -1}) {
        SCOPED_TRACE(stage);
        game->state = kStatePlaying;
        game->level.stageNumber = stage;
        finish(kLevelWon);
        progress();
        EXPECT_EQ(game->state, kStateMenu);
        EXPECT_EQ(game->menu.page, kPageMain);
    }
}

// The checker closes over the intro screen once the level says so (more
// than 1000 ms after the set-up) and opens onto the field as the ready phase
// begins (more than 1500 ms), once per stage start; a retry arms it again.
TEST_F(StageProgressionTest, TheIntroCoverStartsAfter1000MsAndTheRevealAfter1500Ms) {
    start(&Level::loadLevel1, 1, 1, 4);
    const uint32_t setUp = game->level.setUpTick;
    transitionRunning = false;
    auto frame = [&](uint32_t at) {
        plat::headless::setTicks(setUp + at);
        game->level.draw(*buffer);
        runIntroTransitions(*game);
    };

    frame(1000);
    EXPECT_FALSE(introCoverStarted);
    EXPECT_FALSE(transitionRunning);
    frame(1001);
    EXPECT_TRUE(introCoverStarted);
    EXPECT_FALSE(introRevealStarted);
    EXPECT_TRUE(transitionRunning);
    EXPECT_FALSE(transitionReveal);
    EXPECT_EQ(transitionLastStep, setUp + 1001);
    frame(1200);  // not started again
    EXPECT_EQ(transitionLastStep, setUp + 1001);

    frame(1500);
    EXPECT_FALSE(transitionReveal);
    frame(1501);
    EXPECT_TRUE(introRevealStarted);
    EXPECT_TRUE(transitionReveal);
    EXPECT_EQ(transitionLastStep, setUp + 1501);
    frame(4000);
    EXPECT_EQ(transitionLastStep, setUp + 1501);

    // A life lost: the retry arms both steps again.
    finish(kLevelLifeLost);
    game->level.lives = 3;
    progress();
    ASSERT_EQ(game->level.stageNumber, 1);
    EXPECT_FALSE(introCoverStarted);
    const uint32_t retry = game->level.setUpTick;
    plat::headless::setTicks(retry + 1001);
    game->level.draw(*buffer);
    runIntroTransitions(*game);
    EXPECT_TRUE(introCoverStarted);
    EXPECT_FALSE(introRevealStarted);
    EXPECT_FALSE(transitionReveal);
}

// A pause stops the transition with the rest of the game; the first tick
// after it moves the countdown by the whole paused time, so the reveal onto
// the field ends at once.
TEST_F(StageProgressionTest, APauseFreezesTheRevealAndTheFirstTickAfterItEndsIt) {
    start(&Level::loadLevel1, 1, 1, 4);
    plat::headless::advance(1001);
    game->draw();
    plat::headless::advance(500);
    game->draw();
    ASSERT_TRUE(introRevealStarted);
    plat::headless::advance(15);
    game->draw();
    const int countdown = transitionCountdown;
    ASSERT_GT(countdown, 90);

    escape();
    ASSERT_TRUE(game->paused);
    for (int i = 0; i < 100; ++i) {
        plat::headless::advance(100);
        game->draw();
    }
    EXPECT_EQ(transitionCountdown, countdown);
    EXPECT_TRUE(transitionRunning);

    escape();
    ASSERT_FALSE(game->paused);
    plat::headless::advance(15);
    game->draw();
    EXPECT_EQ(transitionCountdown, countdown - 10015 / 5);
    EXPECT_FALSE(transitionRunning);
}

}  // namespace
}  // namespace shelltest
