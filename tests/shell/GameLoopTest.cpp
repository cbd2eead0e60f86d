#include "ShellFixture.h"
#include "platform/Clock.h"
#include "platform/Headless.h"
#include "platform/KeyCodes.h"
#include "platform/Surface.h"
#include "shell/CException.h"
#include "shell/Game.h"
#include "support/PassLoop.h"

namespace shelltest {
namespace {

// Counts the pixels of the window that are not black inside a rectangle.
int litPixels(int x0, int y0, int w, int h) {
    const plat::Surface* s = plat::windowSurface();
    int lit = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) lit += s->pixel(x, y) != 0;
    return lit;
}

class GameLoopTest : public GameTest {
protected:
    void start(const std::string& config = "") {
        writeStartupImages();
        write("config.cfg", "[input]\nlastUsedDI=1\n" + config);
        startGame();
    }

    testsupport::PassLoopResult run(uint32_t ms) {
        testsupport::PassLoop loop;
        loop.update = [this] { game->update(); };
        return testsupport::runPassLoop(ms, loop);
    }
    // A few passes: enough for queued key messages to arrive.
    void passes() { run(5); }

    // Pauses over a picture of one colour standing for the running level's
    // (no stage is set up: the level draws nothing).
    void pauseOver(uint32_t picture) {
        game->state = kStatePlaying;
        run(600);  // the opening reveal is over
        plat::windowSurface()->fill(0, 0, 640, 480, picture);
        plat::headless::pressKey(plat::DIK_ESCAPE);
        passes();
        ASSERT_TRUE(game->paused);
        plat::headless::releaseKey(plat::DIK_ESCAPE);
    }
};

// Escape toggles the pause once per press and Enter held after choosing
// RESUME on the pause page keeps the players' input back; the fixed keys work from whichever
// source the input mode reads.
TEST_F(GameLoopTest, EscapeTogglesThePauseOncePerPressInBothInputModes) {
    for (bool windowMode : {false, true}) {
        SCOPED_TRACE(windowMode ? "window messages" : "keyboard device");
        plat::headless::reset();
        if (windowMode) plat::headless::failKeyboardStep("system");
        start();
        ASSERT_EQ(windowInput, windowMode);
        game->state = kStatePlaying;

        plat::headless::pressKey(plat::DIK_ESCAPE);  // both sources at once
        passes();
        // Only the mode's own source ever holds the key.
        EXPECT_EQ(windowKeyDown(plat::VK_ESCAPE), windowMode);
        EXPECT_EQ(game->getInput().isKeyDown(plat::DIK_ESCAPE), !windowMode);
        EXPECT_TRUE(game->paused);
        passes();  // still held: no second toggle
        EXPECT_TRUE(game->paused);

        plat::headless::releaseKey(plat::DIK_ESCAPE);
        passes();
        EXPECT_TRUE(game->paused);
        EXPECT_TRUE(game->isWaitingForEnterRelease());

        // A second press resumes, a third pauses again.
        plat::headless::pressKey(plat::DIK_ESCAPE);
        passes();
        EXPECT_FALSE(game->paused);
        plat::headless::releaseKey(plat::DIK_ESCAPE);
        passes();
        plat::headless::pressKey(plat::DIK_ESCAPE);
        passes();
        plat::headless::releaseKey(plat::DIK_ESCAPE);
        passes();
        ASSERT_TRUE(game->paused);

        // Resumed with Enter on the pause page's RESUME: the level waits
        // until Enter is released.
        plat::headless::pressKey(plat::DIK_RETURN);
        passes();
        EXPECT_FALSE(game->paused);
        EXPECT_TRUE(game->isWaitingForEnterRelease());
        plat::headless::releaseKey(plat::DIK_RETURN);
        passes();
        EXPECT_FALSE(game->isWaitingForEnterRelease());

        game.reset();
    }
}

// A round that shows its result (won, draw, life lost) cannot be paused;
// pausing and resuming stop the level's clock in between.
TEST_F(GameLoopTest, EscapePausesOnlyWhileTheLevelRunsWithoutAResult) {
    start();
    game->state = kStatePlaying;
    for (int result : {kLevelDraw, kLevelWon, kLevelLifeLost}) {
        game->level.state = result;
        plat::headless::pressKey(plat::DIK_ESCAPE);
        passes();
        EXPECT_FALSE(game->paused) << result;
        plat::headless::releaseKey(plat::DIK_ESCAPE);
        passes();
    }

    game->level.state = kLevelRunning;
    game->level.secondsLeft = 100;
    game->level.clockBase = plat::tickCount();
    plat::headless::pressKey(plat::DIK_ESCAPE);
    passes();
    ASSERT_TRUE(game->paused);
    plat::headless::releaseKey(plat::DIK_ESCAPE);
    run(10000);
    plat::headless::pressKey(plat::DIK_ESCAPE);
    passes();
    EXPECT_FALSE(game->paused);
    EXPECT_EQ(game->level.secondsLeft, 100);  // drawn again, the clock went on where it stood
}

TEST_F(GameLoopTest, NoInputIsHandledWhileMinimisedOrInTheMenu) {
    start();
    // Menu state: Escape belongs to the menu, not the pause.
    plat::headless::pressKey(plat::DIK_ESCAPE);
    passes();
    EXPECT_FALSE(game->paused);
    plat::headless::releaseKey(plat::DIK_ESCAPE);
    passes();

    game->state = kStatePlaying;
    plat::headless::postMessage({plat::MsgType::Activate, 1, 0});
    plat::headless::pressKey(plat::DIK_ESCAPE);
    const auto r = run(100);
    EXPECT_FALSE(game->paused);
    EXPECT_GT(r.timerTicks, 0u);
    EXPECT_EQ(plat::headless::presentCount(), int(r.timerTicks));  // drawing goes on

    plat::headless::postMessage({plat::MsgType::Activate, 0, 0});
    passes();
    EXPECT_TRUE(game->paused);
}

TEST_F(GameLoopTest, TheFpsCountAppearsAfterTheFirstFullSecondOnlyWhenEnabled) {
    for (int shown : {1, 0}) {
        SCOPED_TRACE(shown);
        plat::headless::reset();
        start("[video]\ndisplayFPS=" + std::to_string(shown) + "\n");
        auto r = run(1000);
        EXPECT_EQ(game->getFps(), 0);
        EXPECT_EQ(litPixels(0, 0, 640, 480), 0);

        r = run(10);  // the tick at 1005 ms closes the first period
        EXPECT_EQ(game->getFps(), 67);  // 15, 30 ... 1005 ms
        EXPECT_EQ(litPixels(300, 460, 340, 20) > 0, shown == 1);
        EXPECT_EQ(litPixels(0, 0, 640, 460), 0);
        game.reset();
    }
}

TEST_F(GameLoopTest, WhilePausedTheFrozenPictureStaysWithThePauseBoxOverIt) {
    start();
    pauseOver(plat::rgb(10, 120, 200));
    run(50);

    const plat::Surface* s = plat::windowSurface();
    EXPECT_EQ(s->pixel(0, 0), plat::rgb(10, 120, 200));
    EXPECT_EQ(s->pixel(639, 479), plat::rgb(10, 120, 200));
    EXPECT_GT(litPixels(265, 180, 110, 58), 0);  // the pause page's labels
    EXPECT_EQ(s->pixel(264, 180), plat::rgb(10, 120, 200));
    EXPECT_EQ(s->pixel(375, 237), plat::rgb(10, 120, 200));

    plat::headless::pressKey(plat::DIK_ESCAPE);
    run(50);
    EXPECT_FALSE(game->paused);
    EXPECT_EQ(litPixels(0, 0, 640, 480), 0);  // full frames again
}

// EXIT on the pause page closes the checker over the picture the pause
// froze: the stage is neither drawn nor run, and the screen never goes
// black behind the cover.
TEST_F(GameLoopTest, TheExitCoverClosesOverThePictureThePauseFroze) {
    start();
    pauseOver(plat::rgb(10, 120, 200));
    passes();

    // What EXIT does while its cover closes (it draws the frames itself).
    game->paused = false;
    game->leavingStage = true;
    startTransition(false);
    for (int i = 0; i < 10; ++i) {
        plat::headless::advance(15);
        game->draw();
    }
    const plat::Surface* s = plat::windowSurface();
    int frozen = 0, checker = 0;
    for (int y = 0; y < 480; y += 2)
        for (int x = 0; x < 640; x += 2) {
            frozen += s->pixel(x, y) == plat::rgb(10, 120, 200);
            checker += s->pixel(x, y) == plat::rgb(200, 40, 40);
        }
    EXPECT_GT(frozen, 0);
    EXPECT_GT(checker, 0);
    EXPECT_EQ(frozen + checker, 320 * 240);
    game->leavingStage = false;
}

TEST_F(GameLoopTest, DrawTicksBeforeTheStartHasFinishedDrawNothing) {
    Game early;
    early.draw();
    EXPECT_EQ(plat::headless::presentCount(), 0);

    // A window and a timer exist, but start-up did not get to the end.
    writeStartupImages();
    write("filepaths.cfg", "[checker]\nframe1=checker.bmp\nwidth=32\nheight=32\n");
    write("config.cfg", "[input]\nlastUsedDI=1\n");
    EXPECT_THROW(startGame(), CException);
    ASSERT_TRUE(plat::windowExists());
    run(100);
    EXPECT_EQ(plat::headless::presentCount(), 0);
}

}  // namespace
}  // namespace shelltest
