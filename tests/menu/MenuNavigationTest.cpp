#include <map>
#include <string>

#include "menu/MenuFixture.h"
#include "platform/Clock.h"

namespace menutest {
namespace {

using plat::DIK_DOWN;
using plat::DIK_ESCAPE;
using plat::DIK_RETURN;
using plat::DIK_UP;

// One item as the player meets it: its page, label, action and the hint
// line the marquee shows (empty: none).
struct ItemRow {
    int page;
    const char* label;
    int action;
    const char* hint;
};

// Every item of every page, in the order the game creates them. Some
// credits lines carry names after a fixed beginning: a label ending in '+'
// is that beginning, and "*" is a line of our own words.
const ItemRow kTree[] = {
    {0, "", 0, ""},
    {1, "START GAME", 1, "START GAME"},
    {1, "OPTIONS", 2, "GAMEPLAY AND KEY CONFIGURATION OPTIONS"},
    {1, "HELP", 4, "POWERUP EFFECTS AND DEFAULT KEY CONFIGURATIONS REMINDER"},
    {1, "CREDITS", 3, "CREDITS"},
    {1, "EXIT", 5, "THANK YOU COME AGAIN"},
    {3, "1 PLAYER", 8, "SELECT NUMBER OF PLAYERS"},
    {3, "2 PLAYER", 9, "SELECT NUMBER OF PLAYERS"},
    {3, "3 PLAYER", 10, "SELECT NUMBER OF PLAYERS"},
    {3, "4 PLAYER", 11, "SELECT NUMBER OF PLAYERS"},
    {3, "BACK", 12, "BACK TO MAIN MENU"},
    {4, "MULTIPLAYER: COOPERATIVE", 14, "WORK TOGETHER TO CLEAR THE LEVELS"},
    {4, "MULTIPLAYER: VS BATTLE", 13, "BLOW EACH OTHER UP"},
    {25, "START", 48, "START PLAYING"},
    {25, "PRACTICE", 49, "PRACTICE INDIVIDUAL LEVELS"},
    {25, "TUTORIAL", 50, "LEARN TO PLAY EMBERHAUNT"},
    {25, "BACK", 51, "BACK"},
    {19, "LEVEL 1", 52, "SELECT LEVEL TO PRACTICE"},
    {19, "LEVEL 2", 53, "SELECT LEVEL TO PRACTICE"},
    {19, "LEVEL 3", 54, "SELECT LEVEL TO PRACTICE"},
    {19, "LEVEL 4", 55, "SELECT LEVEL TO PRACTICE"},
    {19, "LEVEL 5", 56, "SELECT LEVEL TO PRACTICE"},
    {19, "BACK", 57, "BACK TO START GAME SCREEN"},
    {20, "NOVICE", 58, "SELECT DIFFICULTY"},
    {20, "EXPERIENCED", 59, "SELECT DIFFICULTY"},
    {20, "MASTER", 60, "SELECT DIFFICULTY"},
    {16, "LARGE: NINJA", 40, "LARGE ARENA"},
    {16, "LARGE: CHINA", 39, "LARGE ARENA"},
    {16, "MEDIUM: ROMAN", 42, "MEDIUM ARENA"},
    {16, "MEDIUM: DESERT", 41, "MEDIUM ARENA"},
    {16, "SMALL: FUTURE", 43, "SMALL ARENA"},
    {16, "INSTANT ACTION: ARCTIC", 44, "INSTANT MAYHEM"},
    {16, "BACK", 45, "BACK"},
    {7, "VOLUME ..................", 16, "ADJUST VOLUME"},
    {7, "MULTIPLAYER OPTIONS", 18, "CHANGE MULTIPLAYER GAMEPLAY OPTIONS"},
    {7, "CONFIGURE KEYS", 15, "CHANGE KEYS OR RESTORE BACK TO DEFAULT"},
    {7, "BACK", 19, "BACK TO MAIN SCREEN"},
    {8, "PLAYER SPEED ............", 21, ""},
    {8, "HEALTH ..................", 22, ""},
    {8, "MAX MISSILES ............", 20, "AMOUNT OF MISSILES THE POWERUP GIVES"},
    {8, "STARTING BOMBS ..........", 23, "AMOUNT OF BOMBS EACH PLAYER STARTS WITH"},
    {8, "BOMB POWER ..............", 24, "STARTING BOMB POWER"},
    {8, "DEFAULT", 25, "DEFAULT"},
    {8, "BACK", 26, "BACK TO OPTIONS SCREEN"},
    {9, "CONFIGURE P1 KEYS", 27, ""},
    {9, "CONFIGURE P2 KEYS", 28, ""},
    {9, "CONFIGURE P3 KEYS", 29, ""},
    {9, "CONFIGURE P4 KEYS", 30, ""},
    {9, "RESTORE DEFAULT KEYS", 31, ""},
    {9, "BACK", 32, ""},
    {10, "PRESS UP KEY", 33, ""},
    {11, "PRESS DOWN KEY", 34, ""},
    {13, "PRESS LEFT KEY", 36, ""},
    {12, "PRESS RIGHT KEY", 35, ""},
    {14, "PRESS PRIMARY KEY", 37, ""},
    {15, "PRESS SECONDARY KEY", 38, ""},
    {18, "  POWERUPS ", 47, ""},
    {18, "   DYNAMITE: PRESS SECONDARY KEY TO DETONATE", 47, ""},
    {18, "   GREEN MISSILE: PRESS SECONDARY KEY TO FIRE MISSILE", 47, ""},
    {18, "   RED MISSILE: PRESS SECONDARY KEY TO FIRE HOMING MISSILE", 47, ""},
    {18, "   KICK: WALK INTO BOMB TO KICK IT", 47, ""},
    {18, "   BOMB: INCREASES NUMBER OF BOMBS YOU CAN DROP AT A TIME", 47, ""},
    {18, "   FIRE: INCREASES YOUR BOMB POWER", 47, ""},
    {18, "   MEDIKIT: RECHARGES HEALTH BUT LOSE SECONDARY FUNCTION", 47, ""},
    {18, "   HAMMER: PRESS SECONDARY KEY TO LAY A BLOCK OR DESTROY", 47, ""},
    {18, "           AN EXISTING ONE", 47, ""},
    {18, "", 47, ""},
    {18, "DEFAULT KEYS  :    P1           P2       P3       P4", 47, ""},
    {18, "........................................................", 47, ""},
    {18, "UP            :  ARROW UP        W        O       NUM 8", 47, ""},
    {18, "DOWN          :  ARROW DOWN      S        L       NUM 5", 47, ""},
    {18, "LEFT          :  ARROW LEFT      A        K       NUM 4", 47, ""},
    {18, "RIGHT         :  ARROW RIGHT     D        :       NUM 6", 47, ""},
    {18, "PRIMARY       :  ENTER           TAB      8       NUM 0", 47, ""},
    {18, "SECONDARY     :  CONTROL         Q        I       NUM DEL", 47, ""},
    {17, "DESIGN AND PROGRAMMING: +", 46, ""},
    {17, "", 46, ""},
    {17, "ART: +", 46, ""},
    {17, "", 46, ""},
    {17, "MUSIC: +", 46, ""},
    {17, "", 46, ""},
    {17, "COW AND LOGO: +", 46, ""},
    {17, "", 46, ""},
    {17, "TESTING: ", 46, ""},
    {17, "    +", 46, ""}, {17, "    +", 46, ""}, {17, "    +", 46, ""}, {17, "    +", 46, ""},
    {17, "    +", 46, ""}, {17, "    +", 46, ""}, {17, "    +", 46, ""}, {17, "    +", 46, ""},
    {17, "    +", 46, ""}, {17, "    +", 46, ""}, {17, "    +", 46, ""},
    {17, "", 46, ""},
    {17, "*", 46, ""},  // the acknowledgement
    {17, "", 46, ""},
    {17, "", 46, ""},
    {17, "*", 46, ""},  // the contact line
    {17, "", 46, ""}, {17, "", 46, ""}, {17, "", 46, ""}, {17, "", 46, ""}, {17, "", 46, ""},
    {17, "", 46, ""}, {17, "", 46, ""}, {17, "", 46, ""}, {17, "", 46, ""}, {17, "", 46, ""},
    {17, "", 46, ""}, {17, "", 46, ""}, {17, "", 46, ""}, {17, "", 46, ""}, {17, "", 46, ""},
    {17, "", 46, ""}, {17, "", 46, ""}, {17, "", 46, ""},
    {2, "RESUME", 7, ""},
    {2, "EXIT", 6, ""},
};

// The tree as the game builds it, item by item; the value items with their
// bounds (the volume shows 200 x 0.4 from the shipped settings).
TEST_F(MenuGameTest, TheTreeHoldsEveryItemOfEveryPageInOrder) {
    startGame();
    ASSERT_EQ(sizeof kTree / sizeof *kTree, 120u);
    ASSERT_EQ(menu().itemCount, 120);
    for (int i = 0; i < 120; ++i) {
        const ItemRow& row = kTree[i];
        const MenuItem& item = *menu().items[i];
        const std::string label = item.label.getText();
        SCOPED_TRACE("item " + std::to_string(i) + " " + label);
        EXPECT_EQ(item.page, row.page);
        EXPECT_EQ(item.action, row.action);
        EXPECT_EQ(item.hint.getText(), row.hint);
        const std::string expected = row.label;
        if (expected == "*") {
            EXPECT_FALSE(label.empty());
        } else if (!expected.empty() && expected.back() == '+') {
            const std::string start = expected.substr(0, expected.size() - 1);
            EXPECT_EQ(label.rfind(start, 0), 0u);
            EXPECT_NE(label.find_first_not_of(' ', start.size()), std::string::npos);  // a name follows
        } else {
            EXPECT_EQ(label, expected);
        }
    }

    // The value items: only these edit a value, within these bounds.
    struct Bounds {
        int min, max;
    };
    const std::map<int, Bounds> values = {{16, {0, 100}}, {21, {10, 50}}, {22, {1, 500}},
                                          {20, {0, 100}}, {23, {1, 20}},  {24, {1, 20}}};
    for (int i = 0; i < 120; ++i) {
        const MenuItem& item = *menu().items[i];
        const auto bounds = values.find(item.action);
        SCOPED_TRACE(item.label.getText());
        EXPECT_EQ(item.hasValue, bounds != values.end());
        if (!item.hasValue) continue;
        EXPECT_EQ(item.min, bounds->second.min);
        EXPECT_EQ(item.max, bounds->second.max);
        if (item.action == kActionVolume) {
            EXPECT_EQ(item.value, 80);
        }
    }
}

// The title page waits 2500 ms and then shows the main menu, once; the
// opening reveal runs over it.
TEST_F(MenuGameTest, TheTitlePageAdvancesByItselfOnceAfterTwoAndAHalfSeconds) {
    startGame();
    EXPECT_EQ(page(), kPageTitle);
    EXPECT_TRUE(transitionRunning);
    passes(2400);
    EXPECT_EQ(page(), kPageTitle);
    EXPECT_FALSE(transitionRunning);
    passes(200);
    EXPECT_EQ(page(), kPageMain);
    EXPECT_TRUE(menu().introDone);
    EXPECT_EQ(game->state, kStateMenu);

    menu().setPage(kPageTitle);
    passes(3000);
    EXPECT_EQ(page(), kPageTitle);
}

TEST_F(MenuGameTest, EnterLeavesTheTitlePageAtOnce) {
    startGame();
    passes(100);
    tap(DIK_RETURN);
    EXPECT_EQ(page(), kPageMain);
    EXPECT_EQ(selectedLabel(), "START GAME");
    EXPECT_EQ(menu().previousPage, kPageTitle);
}

// The page change that Enter starts draws the title page behind its cover:
// the page's own timer, run out by then, must not start a second one.
TEST_F(MenuGameTest, EnterAsTheTitleTimerRunsOutChangesThePageOnce) {
    startGame();
    plat::headless::advance(2600);  // no frame drawn meanwhile
    plat::headless::pressKey(DIK_RETURN);
    game->update();
    EXPECT_EQ(page(), kPageMain);
    EXPECT_EQ(menu().previousPage, kPageTitle);
    plat::headless::releaseKey(DIK_RETURN);
    passes(3000);
    EXPECT_EQ(page(), kPageMain);
}

// Down past the last item comes back to the first and up from the first
// goes to the last; every move plays the move sound.
TEST_F(MenuGameTest, UpAndDownWrapAroundWithinThePage) {
    startGame();
    toMainMenu();
    plat::headless::clearAudioLog();
    const std::vector<std::string> down = {"OPTIONS", "HELP", "CREDITS", "EXIT", "START GAME"};
    for (const std::string& label : down) {
        tap(DIK_DOWN);
        EXPECT_EQ(selectedLabel(), label);
    }
    tap(DIK_UP);
    EXPECT_EQ(selectedLabel(), "EXIT");
    tap(DIK_UP);
    EXPECT_EQ(selectedLabel(), "CREDITS");
    EXPECT_EQ(audioCalls("play ", "/menu.wav"), 7);
}

// One action per key press: a key held across a page change does nothing
// on the new page, and keys the menu ignores leave the latch alone.
TEST_F(MenuGameTest, EachKeyPressActsOnceEvenAcrossAPageChange) {
    startGame();
    toMainMenu();
    press(DIK_RETURN);  // START GAME
    EXPECT_EQ(page(), kPagePlayers);
    passes(300);
    EXPECT_EQ(page(), kPagePlayers);
    EXPECT_EQ(selectedLabel(), "1 PLAYER");

    press(DIK_DOWN);  // Enter is still down: the latch holds
    EXPECT_EQ(selectedLabel(), "1 PLAYER");
    release(DIK_DOWN);
    release(DIK_RETURN);
    tap(DIK_DOWN);
    EXPECT_EQ(selectedLabel(), "2 PLAYER");

    // A key without a menu meaning does not arm the latch: Down still acts.
    press(kDikA);
    press(DIK_DOWN);
    EXPECT_EQ(selectedLabel(), "3 PLAYER");
    release(DIK_DOWN);
    release(kDikA);
}

TEST_F(MenuGameTest, EscapeGoesBackOnePageAndDoesNothingOnTheMainPage) {
    startGame();
    toMainMenu();
    const std::vector<std::pair<int, int>> back = {
        {kPagePlayers, kPageMain}, {kPageOptions, kPageMain},  {kPageMode, kPagePlayers},
        {kPageStart, kPagePlayers}, {kPageMultiplayer, kPageOptions}, {kPageKeys, kPageOptions},
        {kPageArenas, kPageMode},   {kPagePractice, kPageStart},      {kPageMain, kPageMain},
    };
    for (const auto& [from, to] : back) {
        menu().setPage(from);
        tap(DIK_ESCAPE);
        EXPECT_EQ(page(), to) << "from " << from;
    }
    EXPECT_FALSE(game->hasQuit());
    EXPECT_FALSE(game->paused);
}

// The difficulty page goes back to whichever page led to it; one player
// skips the mode page both ways.
TEST_F(MenuGameTest, EscapeFromTheDifficultyPageReturnsToWhereItCameFrom) {
    startGame();
    toMainMenu();
    chooseAll({"START GAME", "1 PLAYER"});
    EXPECT_EQ(page(), kPageStart);
    EXPECT_EQ(playerCount, 1);
    choose("START");
    EXPECT_EQ(page(), kPageDifficulty);
    tap(DIK_ESCAPE);
    EXPECT_EQ(page(), kPageStart);

    choose("PRACTICE");
    EXPECT_EQ(page(), kPagePractice);
    choose("LEVEL 4");
    EXPECT_EQ(page(), kPageDifficulty);
    EXPECT_EQ(chosenLevel, 4);
    tap(DIK_ESCAPE);
    EXPECT_EQ(page(), kPagePractice);
    tap(DIK_ESCAPE);
    EXPECT_EQ(page(), kPageStart);
    tap(DIK_ESCAPE);
    EXPECT_EQ(page(), kPagePlayers);
}

TEST_F(MenuGameTest, CreditsIgnoreKeysForTwoSecondsThenAnyKeyReturns) {
    startGame();
    toMainMenu();
    plat::headless::clearAudioLog();
    choose("CREDITS");
    EXPECT_EQ(page(), kPageCredits);
    EXPECT_EQ(audioCalls("stream 63 ", "/creditsbgm.wav"), 1);
    EXPECT_EQ(audioCalls("stop ", "/menubgm.wav"), 1);

    passes(1500);
    tap(kDikSpace);
    EXPECT_EQ(page(), kPageCredits);
    const int y = menu().originY;
    EXPECT_LT(y, 290);  // scrolling up
    passes(600);
    tap(kDikSpace);
    EXPECT_EQ(page(), kPageMain);
    EXPECT_EQ(audioCalls("stop ", "/creditsbgm.wav"), 1);
    EXPECT_EQ(audioCalls("stream 63 ", "/menubgm.wav"), 1);
}

TEST_F(MenuGameTest, CreditsLeftAloneReturnOnceTheTitleHasScrolledAway) {
    startGame();
    toMainMenu();
    choose("CREDITS");
    const int titleY = menu().getTitleY();
    int lastY = titleY;
    for (int i = 0; i < 100 && page() == kPageCredits; ++i) {
        lastY = menu().title->y;
        plat::headless::advance(1000);  // 20 px per step
        passes(20);
    }
    ASSERT_EQ(page(), kPageMain);
    EXPECT_GE(lastY, -690);
    EXPECT_LT(lastY, -690 + 30);
    EXPECT_EQ(page(), kPageMain);
    // Back at its place for the main page; it left the credits above -690.
    EXPECT_EQ(menu().title->y, titleY);
}

TEST_F(MenuGameTest, HelpShowsItsLinesAndAnyKeyReturns) {
    startGame();
    toMainMenu();
    choose("HELP");
    ASSERT_EQ(page(), kPageHelp);
    EXPECT_FALSE(menu().showCursor);
    EXPECT_FALSE(menu().showTitle);
    EXPECT_EQ(menu().background, menu().library.helpbackground);
    passes(50);
    const MenuItem* last = nullptr;
    for (int i = 0; i < menu().itemCount; ++i)
        if (menu().items[i]->page == kPageHelp) last = menu().items[i];
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->x, 20);
    EXPECT_EQ(last->y, 424);
    EXPECT_EQ(last->label.getText(), "SECONDARY     :  CONTROL         Q        I       NUM DEL");

    tap(kDikZ);
    EXPECT_EQ(page(), kPageMain);
}

// Enter on a line that does nothing gives no sound; the menu music plays on
// through the menu pages and stops for a stage's intro page.
TEST_F(MenuGameTest, SoundsAndMusicFollowWhatTheChoiceDid) {
    startGame();
    plat::headless::clearAudioLog();
    toMainMenu();
    EXPECT_EQ(audioCalls("stream 63 ", "/menubgm.wav"), 1);
    chooseAll({"START GAME", "2 PLAYER", "MULTIPLAYER: VS BATTLE"});
    EXPECT_EQ(page(), kPageArenas);
    EXPECT_EQ(audioCalls("play ", "/menuSelect.wav"), 4);  // title page, then three choices
    EXPECT_EQ(audioCalls("stream 63 ", "/menubgm.wav"), 1);

    menu().setPage(kPageHelp);
    plat::headless::clearAudioLog();
    menu().activateCurrent();
    menu().setPage(kPageIntroLevel2);
    EXPECT_EQ(audioCalls("play ", ".wav"), 0);
    EXPECT_EQ(audioCalls("stop ", "/menubgm.wav"), 1);
    EXPECT_EQ(menu().background, menu().library.introLevel2);
    EXPECT_FALSE(menu().showCursor);
}

TEST_F(MenuGameTest, APageWithoutItemsKeepsTheSelectionAndIsSafeToUse) {
    startGame();
    toMainMenu();
    tap(DIK_DOWN);
    const int selected = menu().selected;
    menu().setPage(99);
    EXPECT_EQ(menu().selected, selected);
    // The old selection belongs to another page: nothing acts on it.
    tap(DIK_DOWN);
    tap(plat::DIK_RIGHT);
    tap(DIK_RETURN);
    passes(50);
    EXPECT_EQ(page(), 99);
    EXPECT_EQ(menu().selected, selected);
}

}  // namespace
}  // namespace menutest
