#include "menu/MenuFixture.h"
#include "platform/Clock.h"

namespace menutest {
namespace {

using plat::DIK_DOWN;
using plat::DIK_ESCAPE;
using plat::DIK_RETURN;
using plat::DIK_UP;

// Stage numbers of the set-ups the menu starts.
constexpr int kTutorialStage = 0;
constexpr int kDesertStage = 6;
constexpr int kRomanStage = 7;
constexpr int kFutureOrArcticStage = 8;
constexpr int kNinjaStage = 9;
constexpr int kChinaStage = 11;

class MenuActionTest : public MenuGameTest {
protected:
    // The stage is running: the game plays it behind its intro page.
    void expectStarted(int stage, int players, int difficulty, int lives, int introPage) {
        EXPECT_EQ(game->state, kStatePlaying);
        EXPECT_EQ(game->level.stageNumber, stage);
        EXPECT_EQ(game->level.getNumPlayers(), players);
        EXPECT_EQ(int(game->level.players.size()), players);
        EXPECT_EQ(game->level.difficulty, difficulty);
        EXPECT_EQ(game->level.lives, lives);
        EXPECT_EQ(page(), introPage);
        EXPECT_FALSE(introCoverStarted);
    }
    // The checker closes over the stage's intro screen once 1000 ms have
    // passed since its set-up, whichever stage ran before.
    void expectIntroCover() {
        passes(1100 - (plat::tickCount() - game->level.setUpTick));
        EXPECT_TRUE(transitionRunning);
        EXPECT_FALSE(transitionReveal);
    }
    // Back to the menu without playing the stage.
    void leaveStage() {
        game->level.cleanup();
        game->state = kStateMenu;
    }
};

TEST_F(MenuActionTest, StartPlaysLevelOneWithFourLivesAtTheChosenDifficulty) {
    startGame();
    toMainMenu();
    plat::headless::clearAudioLog();
    chooseAll({"START GAME", "1 PLAYER", "START", "MASTER"});
    expectStarted(1, 1, 2, 4, kPageIntroLevel1);
    EXPECT_EQ(chosenLevel, 1);
    // Three choices stayed in the menu; the difficulty left it silently.
    EXPECT_EQ(audioCalls("play ", "/menuSelect.wav"), 3);
    EXPECT_EQ(audioCalls("stop ", "/menubgm.wav"), 1);

    // The players read no key until the round's own phases allow it.
    passes(100);
    EXPECT_EQ(game->state, kStatePlaying);
    EXPECT_FALSE(game->level.isLevelOver());
}

TEST_F(MenuActionTest, PracticePlaysTheChosenLevelWithoutLives) {
    struct Case {
        const char* level;
        int stage;
        const char* difficulty;
        int d;
        int intro;
    };
    const Case cases[] = {
        {"LEVEL 2", 2, "NOVICE", 0, kPageIntroLevel2},
        {"LEVEL 3", 3, "EXPERIENCED", 1, kPageIntroLevel3},
        {"LEVEL 4", 4, "NOVICE", 0, kPageIntroLevel4},
        {"LEVEL 5", 5, "MASTER", 2, kPageIntroLevel5},
    };
    startGame();
    toMainMenu();
    chooseAll({"START GAME", "3 PLAYER", "MULTIPLAYER: COOPERATIVE"});
    ASSERT_EQ(page(), kPageStart);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        menu().setPage(kPageStart);
        chooseAll({"PRACTICE", c.level, c.difficulty});
        expectStarted(c.stage, 3, c.d, -1, c.intro);
        expectIntroCover();
        leaveStage();
    }
}

TEST_F(MenuActionTest, TheTutorialIsPlayedAtExperiencedWithFourLives) {
    startGame();
    toMainMenu();
    game->level.lives = 0;
    chooseAll({"START GAME", "2 PLAYER", "MULTIPLAYER: COOPERATIVE", "TUTORIAL"});
    expectStarted(kTutorialStage, 2, 1, 4, kPageIntroTutorial);
}

// Every arena takes the number of players chosen on the player-count page
// and is played at EXPERIENCED; versus has no lives, so the counter stays as
// an earlier game left it.
TEST_F(MenuActionTest, EachArenaIsSetUpForTheChosenPlayers) {
    struct Case {
        const char* label;
        int stage;
        int intro;
    };
    const Case cases[] = {
        {"LARGE: NINJA", kNinjaStage, kPageIntroNinja},
        {"LARGE: CHINA", kChinaStage, kPageIntroChina},
        {"MEDIUM: ROMAN", kRomanStage, kPageIntroRoman},
        {"MEDIUM: DESERT", kDesertStage, kPageIntroDesert},
        {"SMALL: FUTURE", kFutureOrArcticStage, kPageIntroFuture},
        {"INSTANT ACTION: ARCTIC", kFutureOrArcticStage, kPageIntroArctic},
    };
    startGame();
    toMainMenu();
    chooseAll({"START GAME", "3 PLAYER", "MULTIPLAYER: VS BATTLE"});
    ASSERT_EQ(page(), kPageArenas);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        menu().setPage(kPageArenas);
        game->level.difficulty = 2;  // left from a MASTER game
        game->level.lives = 3;
        choose(c.label);
        EXPECT_TRUE(game->level.versus);
        expectStarted(c.stage, 3, 1, 3, c.intro);
        leaveStage();
    }
    EXPECT_EQ(playerCount, 3);
}

TEST_F(MenuActionTest, ExitOnTheMainPageQuits) {
    startGame();
    toMainMenu();
    choose("EXIT");
    EXPECT_TRUE(game->hasQuit());
}

class PauseMenuTest : public MenuActionTest {
protected:
    // Starts the stage and runs it until the players may move.
    void playUntilRunning() {
        for (int i = 0; i < 100 && !game->level.running; ++i) passes(50);
        ASSERT_TRUE(game->level.running);
    }
    void pause() {
        tap(DIK_ESCAPE);
        ASSERT_TRUE(game->paused);
        ASSERT_EQ(page(), kPagePause);
    }
    // A fresh start in the given input mode, on the main page.
    void restart(bool windowMode) {
        if (game) {
            currentGame = nullptr;
            game->level.cleanup();
            game.reset();
            plat::headless::reset();
        }
        startGame(windowMode);
        toMainMenu();
    }
};

TEST_F(PauseMenuTest, ResumeReturnsToTheStageAndHoldsThePlayersUntilEnterIsUp) {
    startGame();
    toMainMenu();
    chooseAll({"START GAME", "1 PLAYER", "START", "NOVICE"});
    playUntilRunning();
    pause();
    EXPECT_EQ(selectedLabel(), "RESUME");
    const int secondsLeft = game->level.secondsLeft;
    passes(3000);
    EXPECT_EQ(game->level.secondsLeft, secondsLeft);  // the clock stands still

    // The pause box shows the pause page over the frozen picture.
    const plat::Surface* window = plat::windowSurface();
    int lit = 0;
    for (int y = 180; y < 238; ++y)
        for (int x = 265; x < 375; ++x) lit += window->pixel(x, y) != 0;
    EXPECT_GT(lit, 0);

    plat::headless::clearAudioLog();
    press(DIK_RETURN);
    EXPECT_FALSE(game->paused);
    EXPECT_EQ(audioCalls("play ", "/menuSelect.wav"), 1);
    EXPECT_TRUE(game->isWaitingForEnterRelease());
    // Enter is also player 1's bomb key: held on, it drops nothing.
    passes(500);
    EXPECT_TRUE(game->level.bombs.empty());
    release(DIK_RETURN);
    EXPECT_FALSE(game->isWaitingForEnterRelease());
    EXPECT_EQ(game->state, kStatePlaying);
    EXPECT_TRUE(game->level.bombs.empty());
    press(DIK_RETURN);  // a new press is the player's
    passes(300);
    EXPECT_EQ(game->level.bombs.size(), 1u);
    release(DIK_RETURN);
}

TEST_F(PauseMenuTest, ExitLeavesALevelForTheStartPageAndAnArenaForTheArenaList) {
    startGame();
    toMainMenu();
    chooseAll({"START GAME", "2 PLAYER", "MULTIPLAYER: COOPERATIVE", "PRACTICE", "LEVEL 2", "NOVICE"});
    playUntilRunning();
    pause();
    tap(DIK_DOWN);
    EXPECT_EQ(selectedLabel(), "EXIT");
    plat::headless::clearAudioLog();
    tap(DIK_RETURN);
    EXPECT_FALSE(game->paused);
    EXPECT_EQ(game->state, kStateMenu);
    EXPECT_EQ(page(), kPageStart);
    EXPECT_TRUE(game->level.players.empty());  // cleaned up
    EXPECT_EQ(audioCalls("play ", "/menuSelect.wav"), 0);
    EXPECT_EQ(audioCalls("stream 63 ", "/menubgm.wav"), 1);

    menu().setPage(kPagePlayers);
    chooseAll({"2 PLAYER", "MULTIPLAYER: VS BATTLE", "SMALL: FUTURE"});
    playUntilRunning();
    pause();
    tap(DIK_DOWN);
    tap(DIK_RETURN);
    EXPECT_EQ(game->state, kStateMenu);
    EXPECT_EQ(page(), kPageArenas);
    EXPECT_FALSE(game->level.versus);

    // The menu works as before.
    passes(200);
    choose("BACK");
    EXPECT_EQ(page(), kPagePlayers);
}

// Keys held when play hands the keyboard to the menu do nothing there until
// they are released: the walk that goes on into the pause box (Down would
// move the cursor to EXIT, and player 1's bomb key Enter would then leave
// the stage), and a direction held as a stage ends. Only those keys wait:
// player 2's walk does not lock player 1 out of the pause box, nor is a
// key pressed before the Escape that paused is let go lost.
TEST_F(PauseMenuTest, KeysHeldWhenPlayHandsOverToTheMenuWaitForTheirRelease) {
    for (bool windowMode : {false, true}) {
        SCOPED_TRACE(windowMode ? "window messages" : "keyboard device");
        restart(windowMode);
        chooseAll({"START GAME", "2 PLAYER", "MULTIPLAYER: COOPERATIVE", "PRACTICE", "LEVEL 1", "NOVICE"});
        playUntilRunning();
        // A pause without keys held, so the menu has seen every key up.
        pause();
        passes(100);
        tap(DIK_ESCAPE);
        ASSERT_FALSE(game->paused);

        press(DIK_DOWN);  // player 1 walks down
        passes(100);
        pause();
        passes(100);
        EXPECT_EQ(selectedLabel(), "RESUME");
        release(DIK_DOWN);
        EXPECT_EQ(selectedLabel(), "RESUME");
        tap(DIK_DOWN);  // a new press acts
        EXPECT_EQ(selectedLabel(), "EXIT");
        tap(DIK_ESCAPE);
        ASSERT_FALSE(game->paused);

        press(DIK_DOWN);
        passes(100);
        game->level.state = kLevelWon;  // practice: back to the start page
        game->level.finished = true;
        passes(100);
        ASSERT_EQ(game->state, kStateMenu);
        EXPECT_EQ(page(), kPageStart);
        EXPECT_EQ(selectedLabel(), "START");
        release(DIK_DOWN);
        tap(DIK_DOWN);
        EXPECT_EQ(selectedLabel(), "PRACTICE");

        chooseAll({"PRACTICE", "LEVEL 1", "NOVICE"});
        playUntilRunning();
        press(DIK_ESCAPE);
        ASSERT_TRUE(game->paused);
        tap(DIK_DOWN);  // while the Escape that paused is still down
        EXPECT_EQ(selectedLabel(), "EXIT");
        tap(DIK_UP);
        press(DIK_RETURN);
        ASSERT_FALSE(game->paused);  // RESUME
        release(DIK_ESCAPE);
        ASSERT_FALSE(game->paused);
        release(DIK_RETURN);

        press(kDikW);  // player 2 walks up
        passes(100);
        pause();
        tap(DIK_DOWN);
        EXPECT_EQ(selectedLabel(), "EXIT");
        tap(DIK_DOWN);
        EXPECT_EQ(selectedLabel(), "RESUME");
        tap(DIK_DOWN);
        tap(DIK_RETURN);
        ASSERT_EQ(page(), kPageStart);
        tap(DIK_DOWN);  // the page EXIT led to
        EXPECT_EQ(selectedLabel(), "PRACTICE");
        release(kDikW);
    }
}

// EXIT chosen while the stage's own intro runs: nothing of the stage starts
// behind the exit cover, neither its intro transitions (which would stretch
// the cover) nor its music and "ready" (which the menu music would cut off).
TEST_F(PauseMenuTest, ExitDuringTheIntroStartsNothingOfTheStage) {
    struct Case {
        const char* name;
        uint32_t pausedMs;  // from 900 ms after the set-up
    };
    for (const Case& c : {Case{"cover due", 300}, Case{"ready due", 1000}}) {
        SCOPED_TRACE(c.name);
        restart(false);
        chooseAll({"START GAME", "1 PLAYER", "START", "NOVICE"});
        passes(900 - (plat::tickCount() - game->level.setUpTick));
        pause();
        passes(c.pausedMs);
        tap(DIK_DOWN);
        plat::headless::clearAudioLog();
        tap(DIK_RETURN);  // EXIT
        EXPECT_EQ(game->state, kStateMenu);
        EXPECT_EQ(page(), kPageStart);
        EXPECT_FALSE(introCoverStarted);
        EXPECT_EQ(audioCalls("play ", "/ready.wav"), 0);
        EXPECT_EQ(audioCalls("stream ", "/level1bgm.wav"), 0);
        EXPECT_EQ(audioCalls("stream 63 ", "/menubgm.wav"), 1);
    }
}

// A key held when the window loses the focus and released in another
// window counts as released: the player stops, in both input modes.
TEST_F(PauseMenuTest, APlayerStopsWhenTheFocusLeavesWithAKeyHeld) {
    for (bool windowMode : {false, true}) {
        SCOPED_TRACE(windowMode ? "window messages" : "keyboard device");
        restart(windowMode);
        chooseAll({"START GAME", "1 PLAYER", "PRACTICE", "LEVEL 1", "NOVICE"});
        playUntilRunning();
        Player& player = game->level.players.front();

        press(DIK_DOWN);  // a cell of open floor lies below, then a block
        passes(40);
        plat::headless::setFocus(false);
        plat::headless::setKeyState(DIK_DOWN, false);  // released elsewhere: no message
        passes(500);  // the glide after a release
        EXPECT_FALSE(player.isMoving());
        const float stopped = player.posY;
        passes(1000);
        EXPECT_EQ(player.posY, stopped);

        plat::headless::setFocus(true);
        passes(500);
        EXPECT_FALSE(player.isMoving());
        EXPECT_EQ(player.posY, stopped);
    }
}

}  // namespace
}  // namespace menutest
