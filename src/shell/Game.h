// The object that owns the running program: the window, the keyboard, the
// frames-per-second text and the game state. The entry point calls init
// once, update on every pass of its loop, and the draw timer calls draw.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>

#include "graphics/BitmapText.h"
#include "menu/Menu.h"
#include "platform/Window.h"
#include "shell/GameWindow.h"
#include "shell/Input.h"
#include "world/Level.h"

namespace plat {
class Surface;
}

// Game states.
constexpr int kStateMenu = 0;
constexpr int kStatePlaying = 1;
constexpr int kStateStarting = 3;  // constructed, init not yet run

class Game {
public:
    Game();
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Start-up. Ends the process (exit code 1) when log.txt cannot be
    // created; throws CException when an image, the window or the draw timer
    // cannot be had.
    void init(plat::TimerProc timerCallback);
    // One pass of input handling.
    void update();
    // One draw tick.
    void draw();

    void quit() { quitFlag = true; }
    bool hasQuit() const { return quitFlag; }
    // A random draw r = rand / 32767 x high (0..high, truncated); true when
    // low <= r <= high. The checker transition settles its cells with it.
    static bool randomChance(int low, int high);

    int getDrawInterval() const { return drawInterval; }
    int getFps() const { return fps; }
    bool isWaitingForEnterRelease() const { return waitEnterRelease; }
    GameWindow& getWindow() { return gameWindow; }
    Input& getInput() { return gameInput; }

private:
    void writeLog(const char* line);
    void chooseInputMode();
    void togglePause();
    void menuInput();
    void handOverToMenu();
    static bool escapeDown(const Input& input);
    static bool enterDown(const Input& input);

    bool quitFlag = false;
    int drawInterval = 0;
    bool fullScreen = false;
    GameWindow gameWindow;

public:
    // The fields below are public because the menu actions, the stage
    // progression and the pause page write them directly.
    // The play field, reused for every stage.
    Level level;
    int state = kStateStarting;
    // The paged menu, also the pause menu and the intro screens.
    Menu menu;

private:
    int fps = 0;
    int framesThisPeriod = 0;
    uint32_t fpsPeriodStart = 0;
    BitmapText fpsText;
    std::FILE* logFile = nullptr;
    std::unique_ptr<plat::Surface> pauseSnapshot;

public:
    bool paused = false;
    // The pause page's EXIT is covering the stage up: the stage is shown as
    // the pause froze it and starts nothing more.
    bool leavingStage = false;

private:
    bool escapeHeld = false;
    bool waitEnterRelease = false;
    // The last pass that handled keys did so for play rather than for the
    // menu, and the keyboard has not been handed over since (see menuInput).
    bool playHadKeys = false;
    Input gameInput;

    // Kept between ticks instead of being made anew for every frame.
    std::unique_ptr<plat::Surface> backBuffer;
    // Set once start-up has finished: draw ticks before that draw nothing.
    bool started = false;
};
