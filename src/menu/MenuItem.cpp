#include "menu/MenuItem.h"

#include <chrono>
#include <cmath>
#include <string>

#include "menu/Menu.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "shell/Config.h"
#include "shell/FilePaths.h"
#include "shell/Game.h"
#include "shell/Sound.h"
#include "shell/Transition.h"

namespace {

constexpr int kStartLives = 4;
constexpr int kPracticeLives = -1;
constexpr int kTutorialDifficulty = 1;
constexpr int kVolumeScale = 250;
// The first stage number of the versus arenas.
constexpr int kFirstArenaStage = 6;

// A transition half takes about 500 ms of game time; a page change that has
// not finished after this long has a transition that cannot move (the
// frame is not being drawn), and gives up instead of freezing the game.
constexpr uint32_t kTransitionLimitMs = 3000;

void initText(BitmapText& text, int x, int y) {
    text.initGameFont(x, y);
}

// Speeds are held as floats but edited as whole tenths; rounding keeps a
// value such as 4.1 from showing (and stepping) as 40.
int toTenths(float speed) { return int(std::lround(double(speed) * 10.0)); }

// Waits until the game clock has moved past `since`. The transition only
// moves with the clock, so drawing twice within one millisecond is wasted.
// False when the clock stands still: the headless test clock moves only
// when a test moves it, and a real clock that stops must not hang the game.
bool clockMoved(uint32_t since) {
    if (plat::tickCount() != since) return true;
    if (plat::backend() == plat::Backend::Headless) return false;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(50);
    while (std::chrono::steady_clock::now() < until)
        if (plat::tickCount() != since) return true;
    // Looked at once more: a process held up past the deadline has not yet
    // seen the clock it waited for.
    return plat::tickCount() != since;
}

// Draws frames back to back until the transition half is done.
template <typename Done>
void drawUntil(Game* game, Done done) {
    const uint32_t start = plat::tickCount();
    while (!done()) {
        const uint32_t before = plat::tickCount();
        game->draw();
        if (done()) return;
        if (!clockMoved(before) || plat::tickCount() - start > kTransitionLimitMs) return;
    }
}

}  // namespace

MenuItem::MenuItem(const char* labelText, int action, int page, Game* game, Menu* menu, const char* hintText)
    : page(page), action(action), game(game), menu(menu) {
    setUpTexts(labelText, hintText);
}

MenuItem::MenuItem(const char* labelText, int action, int page, Game* game, Menu* menu, int value, int min,
                   int max, const char* hintText)
    : page(page), action(action), game(game), menu(menu) {
    setUpTexts(labelText, hintText);
    setValue(value, min, max);
    hasValue = true;
    initText(valueText, x + kValueOffset, y);
    valueText.setText(std::to_string(value));
}

void MenuItem::setUpTexts(const char* labelText, const char* hintText) {
    initText(label, x, y);
    label.setText(labelText ? labelText : "");
    initText(hint, kHintX, kHintY);
    hint.setText(hintText ? hintText : "");
}

void MenuItem::setPosition(int newX, int newY) {
    x = newX;
    y = newY;
    label.setPosition(x, y);
}

void MenuItem::setValue(int newValue, int newMin, int newMax) {
    value = newValue;
    min = newMin;
    max = newMax;
}

void MenuItem::refreshValue() {
    switch (action) {
    case kActionMaxMissiles: value = multiplayerMaxMissiles; break;
    case kActionPlayerSpeed: value = toTenths(multiplayerPlayerSpeed); break;
    case kActionHealth: value = multiplayerMaxHealth; break;
    case kActionBombCount: value = multiplayerBombCount; break;
    case kActionBombPower: value = multiplayerBombPower; break;
    default: break;  // VOLUME shows its own value
    }
}

void MenuItem::draw(plat::Surface& target) {
    label.setPosition(x, y);
    label.draw(target);
    if (!hasValue) return;
    refreshValue();
    valueText.setPosition(x + kValueOffset, y);
    valueText.setText(std::to_string(value));
    valueText.draw(target);
}

int MenuItem::step() const {
    switch (action) {
    case kActionVolume:
    case kActionPlayerSpeed: return 5;
    case kActionHealth: return 10;
    case kActionMaxMissiles:
    case kActionBombCount:
    case kActionBombPower: return 1;
    default: return 0;
    }
}

void MenuItem::increase() { stepValue(step()); }

void MenuItem::decrease() { stepValue(-step()); }

// Both bounds after every step: a value outside its range comes back inside
// it with the first press either way. The step is taken wide, so that a
// value at the end of the int range saturates instead of wrapping.
void MenuItem::stepValue(int delta) {
    if (!hasValue || delta == 0) return;
    refreshValue();
    long long stepped = static_cast<long long>(value) + delta;
    if (stepped > max) stepped = max;
    if (stepped < min) stepped = min;
    value = static_cast<int>(stepped);
    storeValue();
}

void MenuItem::storeValue() {
    switch (action) {
    case kActionVolume:
        // A zero range would divide by zero: the volume then stays.
        if (max != 0) globalVolume = value * kVolumeScale / max;
        setGlobalVolume(globalVolume);
        break;
    case kActionMaxMissiles: multiplayerMaxMissiles = value; break;
    case kActionPlayerSpeed: multiplayerPlayerSpeed = float(value / 10.0); break;
    case kActionHealth: multiplayerMaxHealth = value; break;
    case kActionBombCount: multiplayerBombCount = value; break;
    case kActionBombPower: multiplayerBombPower = value; break;
    default: return;
    }
    saveConfig();
}

void MenuItem::changePage(int newPage) {
    startTransition(false);
    drawUntil(game, [] { return transitionCountdown < 1; });
    menu->setPage(newPage);
    game->state = kStateMenu;
    startTransition(true);
    drawUntil(game, [] { return !transitionRunning; });
}

template <typename SetUp>
void MenuItem::startStage(int introPage, SetUp setUp) {
    changePage(introPage);
    setUp(game->level);
    introCoverStarted = false;
    game->state = kStatePlaying;
}

bool MenuItem::activate() {
    Level& level = game->level;
    switch (action) {
    case kActionTitle:
        // Left now, by Enter or by its timer: the page change below draws
        // the title page again, and its timer must not start a second one.
        menu->introDone = true;
        menu->restartTitleBounce();
        changePage(kPageMain);
        return true;
    case kActionStartGame: menu->setPage(kPagePlayers); return true;
    case kActionOptions: menu->setPage(kPageOptions); return true;
    case kActionCredits: menu->setPage(kPageCredits); return true;
    case kActionHelp: menu->setPage(kPageHelp); return true;
    case kActionExitMain: game->quit(); return true;
    case kActionExitPause: {
        const bool arena = level.versus || level.stageNumber >= kFirstArenaStage;
        // Once EXIT is chosen the stage starts nothing new: the cover closes
        // over the picture the pause froze.
        game->paused = false;
        game->leavingStage = true;
        changePage(arena ? kPageArenas : kPageStart);
        game->leavingStage = false;
        level.cleanup();
        return false;
    }
    case kActionResume:
        level.resume();
        game->paused = false;
        return true;
    case kActionOnePlayer:
        playerCount = 1;
        menu->setPage(kPageStart);
        return true;
    case kActionTwoPlayers:
    case kActionThreePlayers:
    case kActionFourPlayers:
        playerCount = action - kActionOnePlayer + 1;
        menu->setPage(kPageMode);
        return true;
    case kActionPlayersBack: menu->setPage(kPageMain); return true;
    case kActionVersus: menu->setPage(kPageArenas); return true;
    case kActionCooperative: menu->setPage(kPageStart); return true;
    case kActionConfigureKeys: menu->setPage(kPageKeys); return true;
    case kActionMultiplayerOptions: menu->setPage(kPageMultiplayer); return true;
    case kActionOptionsBack: menu->setPage(kPageMain); return true;
    case kActionMultiplayerDefault: {
        // Into the bounds of the items that show them.
        const SettingRange speeds{toTenths(minPlayerSpeed), toTenths(maxPlayerSpeed)};
        multiplayerMaxMissiles = getConfigInt("multiplayerDefault", "maxMissiles", ranges::kMissiles);
        multiplayerPlayerSpeed = float(getConfigInt("multiplayerDefault", "playerSpeed", speeds) / 10.0);
        multiplayerMaxHealth = getConfigInt("multiplayerDefault", "maxHealth", ranges::kHealth);
        multiplayerBombCount = getConfigInt("multiplayerDefault", "bombCount", ranges::kBombs);
        multiplayerBombPower = getConfigInt("multiplayerDefault", "bombPower", ranges::kBombs);
        saveConfig();
        return true;
    }
    case kActionMultiplayerBack: menu->setPage(kPageOptions); return true;
    case kActionConfigureP1:
    case kActionConfigureP1 + 1:
    case kActionConfigureP1 + 2:
    case kActionConfigureP4:
        menu->configuredPlayer = action - kActionConfigureP1 + 1;
        menu->setPage(kPagePressUp);
        return true;
    case kActionRestoreKeys:
        restoreDefaultKeys();
        menu->setPage(kPageOptions);
        return true;
    case kActionKeysBack: menu->setPage(kPageOptions); return true;
    case kActionArenaChina:
        startStage(kPageIntroChina, [](Level& l) { l.loadArenaChina(playerCount); });
        return false;
    case kActionArenaNinja:
        startStage(kPageIntroNinja, [](Level& l) { l.loadArenaNinja(playerCount); });
        return false;
    case kActionArenaDesert:
        startStage(kPageIntroDesert, [](Level& l) { l.loadArenaDesert(playerCount); });
        return false;
    case kActionArenaRoman:
        startStage(kPageIntroRoman, [](Level& l) { l.loadArenaRoman(playerCount); });
        return false;
    case kActionArenaFuture:
        startStage(kPageIntroFuture, [](Level& l) { l.loadArenaFuture(playerCount); });
        return false;
    case kActionArenaArctic:
        startStage(kPageIntroArctic, [](Level& l) { l.loadArenaArctic(playerCount); });
        return false;
    case kActionArenasBack: menu->setPage(kPagePlayers); return true;
    case kActionStart:
        chosenLevel = 1;
        level.lives = kStartLives;
        menu->setPage(kPageDifficulty);
        return true;
    case kActionPractice:
        level.lives = kPracticeLives;
        menu->setPage(kPagePractice);
        return true;
    case kActionTutorial:
        startStage(kPageIntroTutorial, [](Level& l) {
            l.loadTutorial(playerCount, kTutorialDifficulty);
            l.lives = kStartLives;
        });
        return false;
    case kActionStartBack: menu->setPage(kPageMain); return true;
    case kActionLevel1:
    case kActionLevel1 + 1:
    case kActionLevel1 + 2:
    case kActionLevel1 + 3:
    case kActionLevel5:
        chosenLevel = action - kActionLevel1 + 1;
        menu->setPage(kPageDifficulty);
        return true;
    case kActionPracticeBack: menu->setPage(kPageStart); return true;
    case kActionNovice:
    case kActionExperienced:
    case kActionMaster:
        startChosenLevel(action - kActionNovice);
        return false;
    default:
        // Value items, key prompts, credits and help lines do nothing here.
        return false;
    }
}

void MenuItem::startChosenLevel(int difficulty) {
    switch (chosenLevel) {
    case 1: startStage(kPageIntroLevel1, [=](Level& l) { l.loadLevel1(playerCount, difficulty); }); break;
    case 2: startStage(kPageIntroLevel2, [=](Level& l) { l.loadLevel2(playerCount, difficulty); }); break;
    case 3: startStage(kPageIntroLevel3, [=](Level& l) { l.loadLevel3(playerCount, difficulty); }); break;
    case 4: startStage(kPageIntroLevel4, [=](Level& l) { l.loadLevel4(playerCount, difficulty); }); break;
    case 5: startStage(kPageIntroLevel5, [=](Level& l) { l.loadLevel5(playerCount, difficulty); }); break;
    default: break;  // no level chosen yet: nothing to start
    }
}
