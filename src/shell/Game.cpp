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
#include "shell/Transition.h"

namespace {

constexpr int kWindowWidth = 640;
constexpr int kWindowHeight = 480;
constexpr int kFullScreenBits = 16;
constexpr uint32_t kDrawTimerId = 1;
constexpr int kFpsX = 300;
constexpr int kFpsY = 460;
constexpr int kFontSpacing = 3;
constexpr uint32_t kFpsPeriod = 1000;

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
    if (logFile) std::fclose(logFile);
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

    loadConfig();

    quitFlag = false;
    drawInterval = frameUpdateInterval < kMinDrawInterval ? kMinDrawInterval : frameUpdateInterval;
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

    fpsText.init(kFpsX, kFpsY, getFrameFile("fontsmall", 1), getWidth("fontsmall"), getHeight("fontsmall"),
                 getPathInt("fontsmall", "charWidth"), getPathInt("fontsmall", "charHeight"), kFontSpacing);

    audioOn = audioEnabled != 0;
    initAudio();
    setGlobalVolume(globalVolume);
    writeLog("-Audio initialized\n");

    // The menu is set up here (Menu::init at (265, 290), the menu tree, the
    // title page) once the menus exist.
    writeLog("-Menu initialized\n");

    fpsPeriodStart = plat::tickCount();

    std::fclose(logFile);
    logFile = nullptr;

    // The opening checker reveal over the title page starts here once the
    // screen transition exists.
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
        // Menu::handleInput(gameInput) runs here once the menus exist.
        return;
    }
    if (state != kStatePlaying) return;

    if (escapeDown(gameInput)) {
        if (escapeHeld) return;
        escapeHeld = true;
        // While the level shows a result (won, draw, life lost) Escape only
        // sets the latch.
        if (level.state == kLevelRunning) togglePause();
        return;
    }

    escapeHeld = false;
    if (paused) {
        // Menu::handleInput(gameInput) on the pause page runs here once the
        // menus exist. Enter chooses there, so the level must not see it.
        waitEnterRelease = true;
    } else if (!waitEnterRelease) {
        level.handleInput(&gameInput);
    } else if (!enterDown(gameInput)) {
        waitEnterRelease = false;
    }
}

void Game::togglePause() {
    if (paused) {
        level.resume();
        paused = false;
        return;
    }
    level.pause();
    // The pause page (Menu::setPage(2)) is shown here once the menus exist.
    paused = true;

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
    if (!backBuffer || backBuffer->width() != w || backBuffer->height() != h)
        backBuffer = plat::Surface::create(w, h);
    if (!backBuffer) return;
    backBuffer->fill(0, 0, w, h, 0);

    if (state == kStateMenu) {
        // Menu::draw(back buffer) runs here once the menus exist.
    } else if (state == kStatePlaying && !paused) {
        level.draw(*backBuffer);
        // The intro transitions and the stage progression run here once the
        // transition and the stages exist.
    }

    ++framesThisPeriod;
    const uint32_t now = plat::tickCount();
    if (now - fpsPeriodStart > kFpsPeriod) {
        fps = framesThisPeriod;
        fpsText.setText(std::to_string(fps) + " FPS");
        framesThisPeriod = 0;
        fpsPeriodStart = now;
    }
    if (displayFPS != 0) fpsText.draw(*backBuffer);

    if (!paused) {
        // The screen transition step draws over the back buffer here once
        // the transition exists.
        window->copyFrom(*backBuffer, 0, 0, w, h, 0, 0);
    } else {
        // Menu::draw(back buffer) draws the pause page here once the menus
        // exist.
        if (pauseSnapshot) window->copyFrom(*pauseSnapshot, 0, 0, w, h, 0, 0);
        window->copyFrom(*backBuffer, 0, 0, kPauseBoxWidth, kPauseBoxHeight, kPauseBoxX, kPauseBoxY);
    }
    plat::presentWindow();
}

bool Game::randomChance(int low, int high) {
    const int r = int(double(rand15()) / double(kRandom15Max) * double(high));
    return low <= r && r <= high;
}
