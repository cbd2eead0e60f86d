#include "shell/StageProgression.h"

#include "menu/Menu.h"
#include "platform/Surface.h"
#include "platform/Window.h"
#include "shell/Game.h"
#include "shell/Transition.h"
#include "world/Level.h"

namespace {

using SetUp = void (Level::*)(int players, int difficulty);

// What follows a finished stage: the game state, the page shown and, when
// a stage follows, its set-up (null: back to the menu).
struct NextStep {
    int state;
    int page;
    SetUp setUp;
};

constexpr int kFirstArena = 6;
constexpr int kLastArena = 9;

// Each single-player stage's intro page and set-up, by stage number (0 the
// tutorial, 1 to 5 the levels).
struct LevelEntry {
    int introPage;
    SetUp setUp;
};
const LevelEntry kLevels[] = {
    {kPageIntroTutorial, &Level::loadTutorial},
    {kPageIntroLevel1, &Level::loadLevel1},
    {kPageIntroLevel2, &Level::loadLevel2},
    {kPageIntroLevel3, &Level::loadLevel3},
    {kPageIntroLevel4, &Level::loadLevel4},
    {kPageIntroLevel5, &Level::loadLevel5},
};
constexpr int kLastLevel = 5;

NextStep toMenu(int page) { return {kStateMenu, page, nullptr}; }

NextStep decide(int stage, int result, int lives) {
    const bool won = result == kLevelWon;
    if (stage == kStageTutorial) {
        // A tutorial that ends without a win (a life lost, the clock run
        // out) goes back to the same page as a won one: from there the
        // player can start it again with full lives.
        return toMenu(kPageStart);
    }
    if (stage >= 1 && stage <= kLastLevel) {
        if (won && lives > 0) {
            if (stage == kLastLevel) return toMenu(kPageCredits);
            const LevelEntry& next = kLevels[stage + 1];
            return {kStatePlaying, next.introPage, next.setUp};
        }
        if (lives < 1) return toMenu(kPageStart);
        const LevelEntry& same = kLevels[stage];
        return {kStatePlaying, same.introPage, same.setUp};
    }
    if (stage >= kFirstArena && stage <= kLastArena) return toMenu(kPageArenas);
    return toMenu(kPageMain);
}

}  // namespace

void runIntroTransitions(Game& game) {
    const Level& level = game.level;
    if (!level.started && !introCoverStarted && level.introTransitionDue) {
        startTransition(false);
        introRevealStarted = false;
        introCoverStarted = true;
    }
    if (level.started && !introRevealStarted && introCoverStarted) {
        startTransition(true);
        introRevealStarted = true;
    }
}

void runStageProgression(Game& game, plat::Surface& backBuffer) {
    Level& level = game.level;
    if (!level.isLevelOver()) return;
    level.cleanup();

    const NextStep next = decide(level.stageNumber, level.state, level.lives);
    if (!next.setUp) {
        game.state = next.state;
        game.menu.setPage(next.page);
        return;
    }

    // The next stage's intro page goes on screen at once, while its set-up
    // loads the files.
    game.menu.setPage(next.page);
    game.menu.draw(backBuffer);
    if (plat::Surface* window = game.getWindow().getDC()) {
        window->copyFrom(backBuffer, 0, 0, backBuffer.width(), backBuffer.height(), 0, 0);
        plat::presentWindow();
    }

    introCoverStarted = false;
    // Lives stay as they are: a won level carries them over, and a retry
    // lost its life when the round ended.
    (level.*next.setUp)(level.getNumPlayers(), level.difficulty);
    game.state = next.state;
}
