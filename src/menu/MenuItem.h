// One line of a menu page: a label, an optional value with its bounds, a
// description line (shown by the menu's marquee), the page it belongs to and
// the action it runs when chosen.
#pragma once

#include "graphics/BitmapText.h"

class Game;
class Menu;

// Action ids of the menu items.
enum MenuAction {
    kActionTitle = 0,
    kActionStartGame = 1,
    kActionOptions = 2,
    kActionCredits = 3,
    kActionHelp = 4,
    kActionExitMain = 5,
    kActionExitPause = 6,
    kActionResume = 7,
    kActionOnePlayer = 8,
    kActionTwoPlayers = 9,
    kActionThreePlayers = 10,
    kActionFourPlayers = 11,
    kActionPlayersBack = 12,
    kActionVersus = 13,
    kActionCooperative = 14,
    kActionConfigureKeys = 15,
    kActionVolume = 16,
    kActionMultiplayerOptions = 18,
    kActionOptionsBack = 19,
    kActionMaxMissiles = 20,
    kActionPlayerSpeed = 21,
    kActionHealth = 22,
    kActionBombCount = 23,
    kActionBombPower = 24,
    kActionMultiplayerDefault = 25,
    kActionMultiplayerBack = 26,
    kActionConfigureP1 = 27,
    kActionConfigureP4 = 30,
    kActionRestoreKeys = 31,
    kActionKeysBack = 32,
    kActionPressUp = 33,
    kActionPressSecondary = 38,
    kActionArenaChina = 39,
    kActionArenaNinja = 40,
    kActionArenaDesert = 41,
    kActionArenaRoman = 42,
    kActionArenaFuture = 43,
    kActionArenaArctic = 44,
    kActionArenasBack = 45,
    kActionCreditsLine = 46,
    kActionHelpLine = 47,
    kActionStart = 48,
    kActionPractice = 49,
    kActionTutorial = 50,
    kActionStartBack = 51,
    kActionLevel1 = 52,
    kActionLevel5 = 56,
    kActionPracticeBack = 57,
    kActionNovice = 58,
    kActionExperienced = 59,
    kActionMaster = 60,
};

class MenuItem {
public:
    static constexpr int kValueOffset = 250;
    static constexpr int kHintX = 300;
    static constexpr int kHintY = 460;

    // A plain item; hint null means none.
    MenuItem(const char* label, int action, int page, Game* game, Menu* menu, const char* hint);
    // A value item showing and editing value within [min, max].
    MenuItem(const char* label, int action, int page, Game* game, Menu* menu, int value, int min, int max,
             const char* hint);
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    void setPosition(int x, int y);
    void setValue(int value, int min, int max);
    void draw(plat::Surface& target);

    // Value editing with the right and left keys; items without a value
    // ignore them.
    void increase();
    void decrease();
    // Runs the action; true when the game stays in the menu.
    bool activate();
    // Page change behind the checker transition: cover, switch, reveal.
    void changePage(int page);

    int x = 0;
    int y = 0;
    BitmapText label;
    int page = 0;
    int action = 0;
    Game* game = nullptr;
    Menu* menu = nullptr;
    int value = 0;
    int min = 0;
    int max = 0;
    bool hasValue = false;
    BitmapText valueText;
    BitmapText hint;

private:
    void setUpTexts(const char* labelText, const char* hintText);
    // Steps the value by delta within [min, max], stores and saves it.
    void stepValue(int delta);
    // The setting a value item edits, stored from value, then saved.
    void storeValue();
    // The multiplayer items show their setting, which DEFAULT may change.
    void refreshValue();
    // Step of the value for this item's action (0: not a value action).
    int step() const;
    // Cover, switch to page, run the set-up, then play.
    template <typename SetUp>
    void startStage(int page, SetUp setUp);
    // The level START or PRACTICE chose, at the given difficulty.
    void startChosenLevel(int difficulty);
};
