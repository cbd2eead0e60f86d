// Every item of every menu page, in display order. The font has capitals,
// digits and a few marks only, so every text is upper case.
#include <cmath>

#include "menu/Menu.h"
#include "menu/MenuItem.h"
#include "shell/Config.h"

namespace {

// The help page: the powerups, then the default keys of each player.
const char* const kHelpLines[] = {
    "  POWERUPS ",
    "   DYNAMITE: PRESS SECONDARY KEY TO DETONATE",
    "   GREEN MISSILE: PRESS SECONDARY KEY TO FIRE MISSILE",
    "   RED MISSILE: PRESS SECONDARY KEY TO FIRE HOMING MISSILE",
    "   KICK: WALK INTO BOMB TO KICK IT",
    "   BOMB: INCREASES NUMBER OF BOMBS YOU CAN DROP AT A TIME",
    "   FIRE: INCREASES YOUR BOMB POWER",
    "   MEDIKIT: RECHARGES HEALTH BUT LOSE SECONDARY FUNCTION",
    "   HAMMER: PRESS SECONDARY KEY TO LAY A BLOCK OR DESTROY",
    "           AN EXISTING ONE",
    "",
    "DEFAULT KEYS  :    P1           P2       P3       P4",
    "........................................................",
    "UP            :  ARROW UP        W        O       NUM 8",
    "DOWN          :  ARROW DOWN      S        L       NUM 5",
    "LEFT          :  ARROW LEFT      A        K       NUM 4",
    "RIGHT         :  ARROW RIGHT     D        :       NUM 6",
    "PRIMARY       :  ENTER           TAB      8       NUM 0",
    "SECONDARY     :  CONTROL         Q        I       NUM DEL",
};

// The credits scroll up from below the title; the empty lines at the end
// give the scroll its length.
const char* const kCreditsLines[] = {
    "DESIGN AND PROGRAMMING: EMBERHAUNT TEAM",
    "",
    "ART: OUR OWN ART GENERATOR",
    "",
    "MUSIC: OUR OWN SOUND GENERATOR",
    "",
    "COW AND LOGO: OUR OWN ART GENERATOR",
    "",
    "TESTING: ",
    "    THE HEADLESS TEST HARNESS",
    "    ADDRESS SANITIZER",
    "    UNDEFINED BEHAVIOUR SANITIZER",
    "    LEAK SANITIZER",
    "    THE PATH SEARCH REFERENCE",
    "    THE BENCHMARKS",
    "    THE VIRTUAL DISPLAY",
    "    THE CAPITAL LETTERS FONT",
    "    THE CHECKER TRANSITION",
    "    THE DRAGON",
    "    EVERY BOMB THAT WENT OFF",
    "",
    "THANKS FOR PLAYING!",
    "",
    "",
    "FIND US WHERE YOU FOUND THIS GAME",
    "", "", "", "", "", "", "", "", "", "",
    "", "", "", "", "", "", "", "",
};

static_assert(sizeof kHelpLines / sizeof *kHelpLines == 19, "the help page has 19 lines");
static_assert(sizeof kCreditsLines / sizeof *kCreditsLines == 43, "the credits page has 43 lines");

}  // namespace

void buildMenuTree(Game* game, Menu* menu) {
    auto plain = [&](int page, const char* label, int action, const char* hint) {
        menu->addItem(new MenuItem(label, action, page, game, menu, hint));
    };
    auto valued = [&](int page, const char* label, int action, int value, int min, int max, const char* hint) {
        menu->addItem(new MenuItem(label, action, page, game, menu, value, min, max, hint));
    };
    // Speeds are whole tenths held as floats: rounded, so 4.1 stays 41.
    auto tenths = [](float speed) { return int(std::lround(double(speed) * 10.0)); };

    plain(kPageTitle, "", kActionTitle, nullptr);

    plain(kPageMain, "START GAME", kActionStartGame, "START GAME");
    plain(kPageMain, "OPTIONS", kActionOptions, "GAMEPLAY AND KEY CONFIGURATION OPTIONS");
    plain(kPageMain, "HELP", kActionHelp, "POWERUP EFFECTS AND DEFAULT KEY CONFIGURATIONS REMINDER");
    plain(kPageMain, "CREDITS", kActionCredits, "CREDITS");
    plain(kPageMain, "EXIT", kActionExitMain, "THANK YOU COME AGAIN");

    plain(kPagePlayers, "1 PLAYER", kActionOnePlayer, "SELECT NUMBER OF PLAYERS");
    plain(kPagePlayers, "2 PLAYER", kActionTwoPlayers, "SELECT NUMBER OF PLAYERS");
    plain(kPagePlayers, "3 PLAYER", kActionThreePlayers, "SELECT NUMBER OF PLAYERS");
    plain(kPagePlayers, "4 PLAYER", kActionFourPlayers, "SELECT NUMBER OF PLAYERS");
    plain(kPagePlayers, "BACK", kActionPlayersBack, "BACK TO MAIN MENU");

    plain(kPageMode, "MULTIPLAYER: COOPERATIVE", kActionCooperative, "WORK TOGETHER TO CLEAR THE LEVELS");
    plain(kPageMode, "MULTIPLAYER: VS BATTLE", kActionVersus, "BLOW EACH OTHER UP");

    plain(kPageStart, "START", kActionStart, "START PLAYING");
    plain(kPageStart, "PRACTICE", kActionPractice, "PRACTICE INDIVIDUAL LEVELS");
    plain(kPageStart, "TUTORIAL", kActionTutorial, "LEARN TO PLAY EMBERHAUNT");
    plain(kPageStart, "BACK", kActionStartBack, "BACK");

    plain(kPagePractice, "LEVEL 1", kActionLevel1, "SELECT LEVEL TO PRACTICE");
    plain(kPagePractice, "LEVEL 2", kActionLevel1 + 1, "SELECT LEVEL TO PRACTICE");
    plain(kPagePractice, "LEVEL 3", kActionLevel1 + 2, "SELECT LEVEL TO PRACTICE");
    plain(kPagePractice, "LEVEL 4", kActionLevel1 + 3, "SELECT LEVEL TO PRACTICE");
    plain(kPagePractice, "LEVEL 5", kActionLevel5, "SELECT LEVEL TO PRACTICE");
    plain(kPagePractice, "BACK", kActionPracticeBack, "BACK TO START GAME SCREEN");

    plain(kPageDifficulty, "NOVICE", kActionNovice, "SELECT DIFFICULTY");
    plain(kPageDifficulty, "EXPERIENCED", kActionExperienced, "SELECT DIFFICULTY");
    plain(kPageDifficulty, "MASTER", kActionMaster, "SELECT DIFFICULTY");

    plain(kPageArenas, "LARGE: NINJA", kActionArenaNinja, "LARGE ARENA");
    plain(kPageArenas, "LARGE: CHINA", kActionArenaChina, "LARGE ARENA");
    plain(kPageArenas, "MEDIUM: ROMAN", kActionArenaRoman, "MEDIUM ARENA");
    plain(kPageArenas, "MEDIUM: DESERT", kActionArenaDesert, "MEDIUM ARENA");
    plain(kPageArenas, "SMALL: FUTURE", kActionArenaFuture, "SMALL ARENA");
    plain(kPageArenas, "INSTANT ACTION: ARCTIC", kActionArenaArctic, "INSTANT MAYHEM");
    plain(kPageArenas, "BACK", kActionArenasBack, "BACK");

    // A hand-written volume above 250 shows above the item's top (up to 102);
    // the first press either way brings it back within 0 to 250.
    valued(kPageOptions, "VOLUME ..................", kActionVolume, int(globalVolume * 0.4), 0, 100,
           "ADJUST VOLUME");
    plain(kPageOptions, "MULTIPLAYER OPTIONS", kActionMultiplayerOptions, "CHANGE MULTIPLAYER GAMEPLAY OPTIONS");
    plain(kPageOptions, "CONFIGURE KEYS", kActionConfigureKeys, "CHANGE KEYS OR RESTORE BACK TO DEFAULT");
    plain(kPageOptions, "BACK", kActionOptionsBack, "BACK TO MAIN SCREEN");

    valued(kPageMultiplayer, "PLAYER SPEED ............", kActionPlayerSpeed, tenths(multiplayerPlayerSpeed),
           tenths(minPlayerSpeed), tenths(maxPlayerSpeed), nullptr);
    valued(kPageMultiplayer, "HEALTH ..................", kActionHealth, multiplayerMaxHealth,
           ranges::kHealth.low, ranges::kHealth.high, nullptr);
    valued(kPageMultiplayer, "MAX MISSILES ............", kActionMaxMissiles, multiplayerMaxMissiles,
           ranges::kMissiles.low, ranges::kMissiles.high,
           "AMOUNT OF MISSILES THE POWERUP GIVES");
    valued(kPageMultiplayer, "STARTING BOMBS ..........", kActionBombCount, multiplayerBombCount,
           ranges::kBombs.low, ranges::kBombs.high,
           "AMOUNT OF BOMBS EACH PLAYER STARTS WITH");
    valued(kPageMultiplayer, "BOMB POWER ..............", kActionBombPower, multiplayerBombPower,
           ranges::kBombs.low, ranges::kBombs.high,
           "STARTING BOMB POWER");
    plain(kPageMultiplayer, "DEFAULT", kActionMultiplayerDefault, "DEFAULT");
    plain(kPageMultiplayer, "BACK", kActionMultiplayerBack, "BACK TO OPTIONS SCREEN");

    plain(kPageKeys, "CONFIGURE P1 KEYS", kActionConfigureP1, nullptr);
    plain(kPageKeys, "CONFIGURE P2 KEYS", kActionConfigureP1 + 1, nullptr);
    plain(kPageKeys, "CONFIGURE P3 KEYS", kActionConfigureP1 + 2, nullptr);
    plain(kPageKeys, "CONFIGURE P4 KEYS", kActionConfigureP4, nullptr);
    plain(kPageKeys, "RESTORE DEFAULT KEYS", kActionRestoreKeys, nullptr);
    plain(kPageKeys, "BACK", kActionKeysBack, nullptr);

    plain(kPagePressUp, "PRESS UP KEY", kActionPressUp, nullptr);
    plain(kPagePressDown, "PRESS DOWN KEY", kActionPressUp + 1, nullptr);
    plain(kPagePressLeft, "PRESS LEFT KEY", kActionPressUp + 3, nullptr);
    plain(kPagePressRight, "PRESS RIGHT KEY", kActionPressUp + 2, nullptr);
    plain(kPagePressPrimary, "PRESS PRIMARY KEY", kActionPressUp + 4, nullptr);
    plain(kPagePressSecondary, "PRESS SECONDARY KEY", kActionPressSecondary, nullptr);

    for (const char* line : kHelpLines) plain(kPageHelp, line, kActionHelpLine, nullptr);
    for (const char* line : kCreditsLines) plain(kPageCredits, line, kActionCreditsLine, nullptr);

    plain(kPagePause, "RESUME", kActionResume, nullptr);
    plain(kPagePause, "EXIT", kActionExitPause, nullptr);
}
