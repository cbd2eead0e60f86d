#include "shell/Game.h"

#include <cstdlib>
#include <string>

#include "platform/Clock.h"
#include "platform/KeyCodes.h"
#include "platform/MessageBox.h"
#include "platform/Surface.h"
#include "shell/CException.h"
#include "shell/Config.h"
#include "shell/FilePaths.h"
#include "world/Random.h"
#include "shell/Sound.h"
#include "shell/StageProgression.h"
#include "shell/Transition.h"

namespace {

constexpr int kWindowWidth = 640;
constexpr int kWindowHeight = 480;
constexpr int kFullScreenBits = 16;
constexpr uint32_t kDrawTimerId = 1;
constexpr int kFpsX = 300;
constexpr int kFpsY = 460;
constexpr uint32_t kFpsPeriod = 1000;
// Where most menu pages put their first item.
constexpr int kMenuX = 265;
constexpr int kMenuY = 290;

// While paused the pause page, laid out in the back buffer's top-left
// corner, is shown centred over the frozen picture.
constexpr int kPauseBoxWidth = 110;
constexpr int kPauseBoxHeight = 58;
constexpr int kPauseBoxX = 265;
constexpr int kPauseBoxY = 180;

}  // namespace

Game::Game() {
    transitionLastStep = 0;
    transitionRunning = false;
    checkerCellSize = 0;
    transitionCountdown = 0;
    transitionReveal = false;
    introRevealStarted = false;
    introCoverStarted = false;
    for (auto& column : transitionMask)
        for (int32_t& cell : column) cell = 0;
}

Game::~Game() {
    gameInput.shutdown();
    if (logFile) {
        setConfigLog(nullptr);
        std::fclose(logFile);
    }
}

// Flushed line by line: after a failed start the log stays open until the
// process ends, and it must already say how far the start got.
void Game::writeLog(const char* line) {
    if (!logFile) return;
    std::fputs(line, logFile);
    std::fflush(logFile);
}

bool Game::escapeDown(const Input& input) {
    return windowKeyDown(plat::VK_ESCAPE) || input.isKeyDown(plat::DIK_ESCAPE);
}

bool Game::enterDown(const Input& input) {
    return windowKeyDown(plat::VK_RETURN) || input.isKeyDown(plat::DIK_RETURN);
}

void Game::init(plat::TimerProc timerCallback) {
    logFile = std::fopen("log.txt", "w");
    if (!logFile) {
        plat::messageBox("Error opening log file", "ERROR!", plat::BoxIcon::Information);
        std::exit(1);
    }
    writeLog("Emberhaunt v7 Log\n\n");
    // What the configuration code has to say during start-up goes into this
    // log, in its place among the other lines.
    setConfigLog([this](const char* line) { writeLog(line); });

    loadConfig();

    quitFlag = false;
    drawInterval = frameUpdateInterval;
    fullScreen = fullscreen != 0;
    state = kStateMenu;

    transitionCountdown = 100;

    std::srand(static_cast<unsigned>(plat::calendarSeconds()));

    checkerBitmap.load(getFrameFile("checker", 1), getWidth("checker"), getHeight("checker"));
    checkerCellSize = getWidth("checker");

    if (!gameWindow.create(gameTitle, kWindowWidth, kWindowHeight, kFullScreenBits, fullScreen)) {
        writeLog("-Error creating window!\n");
        throw CException("Error creating window");
    }
    writeLog("-Window created\n");

    if (!plat::setTimer(kDrawTimerId, drawInterval, timerCallback)) {
        writeLog("-Error setting draw timer!\n");
        throw CException("Error setting timer");
    }

    chooseInputMode();

    fpsText.initGameFont(kFpsX, kFpsY);

    audioOn = audioEnabled != 0;
    initAudio();
    setGlobalVolume(globalVolume);
    writeLog("-Audio initialized\n");

    menu.init(kMenuX, kMenuY);
    buildMenuTree(this, &menu);
    menu.setPage(kPageTitle);
    writeLog("-Menu initialized\n");

    fpsPeriodStart = plat::tickCount();

    setConfigLog(nullptr);
    std::fclose(logFile);
    logFile = nullptr;

    startTransition(true);
    started = true;
}

// The key bindings follow the input mode: whenever the mode differs from the
// one config.cfg remembers (and on every window-message start), the default
// set of the mode replaces them.
void Game::chooseInputMode() {
    if (!gameInput.init()) {
        writeLog("-Error initializing directinput, using windows messages instead\n");
        lastUsedDI = 0;
        saveConfig();
        windowInput = true;
        restoreDefaultKeys();
    } else if (lastUsedDI == 0) {
        writeLog("-DirectInput initialized, last time used winInput\n");
        windowInput = false;
        restoreDefaultKeys();
        lastUsedDI = 1;
        saveConfig();
    } else {
        writeLog("-DirectInput initialized\n");
        windowInput = false;
    }
}

void Game::update() {
    if (!gameWindow.isActive()) return;
    gameInput.update();
    if (quitFlag) return;

    if (state == kStateMenu) {
        menuInput();
        return;
    }
    if (state != kStatePlaying) return;

    const bool escape = escapeDown(gameInput);
    // While the level shows a result (won, draw, life lost) Escape only
    // sets the latch.
    if (escape && !escapeHeld && level.state == kLevelRunning) togglePause();
    escapeHeld = escape;
    if (paused) {
        // Enter chooses on the pause page, so the level must not see it. The
        // Escape that paused waits among the menu's held keys, so a key
        // pressed while it is still down acts at once.
        menuInput();
        waitEnterRelease = true;
        return;
    }
    playHadKeys = true;
    if (escape) return;
    if (!waitEnterRelease) {
        level.handleInput(&gameInput);
    } else if (!enterDown(gameInput)) {
        waitEnterRelease = false;
    }
}

// The first menu pass after play hands the keyboard over (a stage ended on
// a menu page); the pause box does so as it opens.
void Game::menuInput() {
    if (playHadKeys) handOverToMenu();
    menu.handleInput(&gameInput);
}

// Keys down at a hand-over were pressed for play (a walk, player 1's Enter
// bomb key) and must not move the cursor or choose an item: each waits for
// its own release. Keys pressed after it act at once: another player's walk
// does not lock the menu, and an Enter pressed while the Escape that paused
// is still down chooses.
void Game::handOverToMenu() {
    menu.ignoreHeldKeys(&gameInput);
    playHadKeys = false;
}

void Game::togglePause() {
    if (paused) {
        level.resume();
        paused = false;
        return;
    }
    level.pause();
    paused = true;
    menu.setPage(kPagePause);
    handOverToMenu();

    const plat::Surface* window = gameWindow.getDC();
    if (!window) return;
    const int w = gameWindow.getClientWidth();
    const int h = gameWindow.getClientHeight();
    if (!pauseSnapshot || pauseSnapshot->width() != w || pauseSnapshot->height() != h)
        pauseSnapshot = plat::Surface::create(w, h);
    if (pauseSnapshot) pauseSnapshot->copyFrom(*window, 0, 0, w, h, 0, 0);
}

void Game::draw() {
    // Ticks that arrive while start-up still runs have nothing to show.
    if (!started) return;
    plat::Surface* window = gameWindow.getDC();
    if (!window) return;

    // The frame is built at the client size: the outer rectangle of
    // getClientRect includes a frame the picture never covers.
    const int w = gameWindow.getClientWidth();
    const int h = gameWindow.getClientHeight();
    // Held locally for the whole tick: a page change inside it (the title
    // page's timer, or a menu action) runs whole draw ticks of its own,
    // which then build their frames in a buffer of their own.
    std::unique_ptr<plat::Surface> frame = std::move(backBuffer);
    if (!frame || frame->width() != w || frame->height() != h) frame = plat::Surface::create(w, h);
    if (!frame) return;
    frame->fill(0, 0, w, h, 0);

    if (state == kStateMenu) {
        menu.draw(*frame);
    } else if (state == kStatePlaying && !paused) {
        if (leavingStage) {
            // Drawing the level would run it: its intro would start its
            // transitions inside the exit cover, its music and "ready".
            if (pauseSnapshot) frame->copyFrom(*pauseSnapshot, 0, 0, w, h, 0, 0);
        } else {
            level.draw(*frame);
            runIntroTransitions(*this);
            if (level.isLevelOver()) runStageProgression(*this, *frame);
        }
    }

    ++framesThisPeriod;
    const uint32_t now = plat::tickCount();
    if (now - fpsPeriodStart > kFpsPeriod) {
        fps = framesThisPeriod;
        fpsText.setText(std::to_string(fps) + " FPS");
        framesThisPeriod = 0;
        fpsPeriodStart = now;
    }
    if (displayFPS != 0) fpsText.draw(*frame);

    if (!paused) {
        stepTransition(*frame, w, h);
        window->copyFrom(*frame, 0, 0, w, h, 0, 0);
    } else {
        // The pause page is laid out in the frame's top-left corner and
        // shown centred over the picture frozen when the pause began.
        menu.draw(*frame);
        if (pauseSnapshot) window->copyFrom(*pauseSnapshot, 0, 0, w, h, 0, 0);
        window->copyFrom(*frame, 0, 0, kPauseBoxWidth, kPauseBoxHeight, kPauseBoxX, kPauseBoxY);
    }
    plat::presentWindow();
    backBuffer = std::move(frame);
}

bool Game::randomChance(int low, int high) {
    const int r = int(double(rand15()) / double(kRandom15Max) * double(high));
    return low <= r && r <= high;
}
