#include <map>

#include "menu/MenuFixture.h"
#include "platform/Clock.h"

namespace menutest {
namespace {

using plat::DIK_DOWN;
using plat::DIK_ESCAPE;
using plat::DIK_RETURN;
using plat::DIK_UP;

// The tree as the game builds it: every page with its number of items, each
// page's items stored together, and the value labels all 25 wide.
TEST_F(MenuGameTest, TheTreeHoldsEveryPageInOneBlockInItsOrder) {
    startGame();
    const std::map<int, int> expected = {
        {0, 1},  {1, 5},  {2, 2},  {3, 5},  {4, 2},  {7, 4},  {8, 7},   {9, 6},  {10, 1}, {11, 1},
        {12, 1}, {13, 1}, {14, 1}, {15, 1}, {16, 7}, {17, 43}, {18, 19}, {19, 6}, {20, 3}, {25, 4},
    };
    EXPECT_EQ(menu().itemCount, 120);
    int total = 0;
    for (const auto& [p, count] : expected) {
        EXPECT_EQ(menu().countItemsOnPage(p), count) << "page " << p;
        total += count;
    }
    EXPECT_EQ(total, 120);

    std::vector<int> blockOrder;
    for (int i = 0; i < menu().itemCount; ++i) {
        const MenuItem* item = menu().items[i];
        if (blockOrder.empty() || blockOrder.back() != item->page) {
            EXPECT_EQ(std::count(blockOrder.begin(), blockOrder.end(), item->page), 0)
                << "page " << item->page << " is split";
            blockOrder.push_back(item->page);
        }
        if (item->hasValue) {
            const std::string& label = item->label.getText();
            EXPECT_EQ(label.size(), 25u) << label;
            // The name, one blank, then dots to the end.
            const std::size_t dots = label.find(" .");
            ASSERT_NE(dots, std::string::npos) << label;
            EXPECT_EQ(label.find_first_not_of('.', dots + 1), std::string::npos) << label;
            EXPECT_EQ(label.find('.'), dots + 1) << label;
        }
    }
    const std::vector<int> order = {0, 1, 3, 4, 25, 19, 20, 16, 7, 8, 9, 10, 11, 13, 12, 14, 15, 18, 17, 2};
    EXPECT_EQ(blockOrder, order);
    EXPECT_EQ(menu().items[0]->action, kActionTitle);
    EXPECT_EQ(menu().items[menu().itemCount - 1]->label.getText(), "EXIT");
    EXPECT_EQ(menu().items[menu().itemCount - 1]->action, kActionExitPause);
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
