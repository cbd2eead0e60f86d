#include <sys/stat.h>

#include <climits>

#include "menu/MenuFixture.h"
#include "platform/Profile.h"
#include "shell/Config.h"

namespace menutest {
namespace {

using plat::DIK_LEFT;
using plat::DIK_RETURN;
using plat::DIK_RIGHT;

class MenuOptionTest : public MenuGameTest {
protected:
    void openMultiplayerOptions() {
        toMainMenu();
        chooseAll({"OPTIONS", "MULTIPLAYER OPTIONS"});
        ASSERT_EQ(page(), kPageMultiplayer);
    }
    // Moves the cursor to the item without choosing it.
    void select(const std::string& label) {
        for (int i = 0; i < 20 && selectedLabel() != label; ++i) tap(plat::DIK_DOWN);
        ASSERT_EQ(selectedLabel(), label);
    }
    void taps(int dik, int n) {
        for (int i = 0; i < n; ++i) tap(dik);
    }
    int saved(const char* section, const char* key) { return getConfigInt(section, key); }
};

// VOLUME runs 0 to 100 in fives and sets the global volume to value x 250 /
// 100 at once, saving it; a press at a bound saves and applies it again.
TEST_F(MenuOptionTest, VolumeStepsByFiveAndMapsOntoTheGlobalVolume) {
    startGame();
    toMainMenu();
    choose("OPTIONS");
    ASSERT_EQ(selectedLabel(), "VOLUME ..................");
    EXPECT_EQ(selectedItem()->value, 80);  // 200 x 0.4

    tap(DIK_RIGHT);
    EXPECT_EQ(selectedItem()->value, 85);
    EXPECT_EQ(globalVolume, 212);
    EXPECT_EQ(saved("audio", "globalVolume"), 212);
    EXPECT_EQ(currentVolume, 212);
    taps(DIK_RIGHT, 4);
    EXPECT_EQ(selectedItem()->value, 100);
    EXPECT_EQ(globalVolume, 250);

    taps(DIK_LEFT, 20);
    EXPECT_EQ(selectedItem()->value, 0);
    EXPECT_EQ(saved("audio", "globalVolume"), 0);
    // Changed on disk behind the game's back: the press writes it again.
    ASSERT_TRUE(plat::profileWrite("audio", "globalVolume", "123", path("config.cfg")));
    plat::headless::clearAudioLog();
    tap(DIK_LEFT);
    EXPECT_EQ(selectedItem()->value, 0);
    EXPECT_EQ(saved("audio", "globalVolume"), 0);
    EXPECT_EQ(audioCalls("volume -3 ", " 0"), 1);
}

TEST_F(MenuOptionTest, MultiplayerValuesStepWithinTheirBoundsAndAreSavedAtOnce) {
    startGame();
    openMultiplayerOptions();

    // Speed: shown in tenths (40), stepped by 5 between the [player] limits.
    ASSERT_EQ(selectedLabel(), "PLAYER SPEED ............");
    EXPECT_EQ(selectedItem()->min, 10);
    EXPECT_EQ(selectedItem()->max, 50);
    tap(DIK_RIGHT);
    EXPECT_FLOAT_EQ(multiplayerPlayerSpeed, 4.5f);
    EXPECT_EQ(saved("multiplayer", "playerSpeed"), 45);
    taps(DIK_RIGHT, 3);
    EXPECT_FLOAT_EQ(multiplayerPlayerSpeed, 5.0f);
    taps(DIK_LEFT, 9);
    EXPECT_FLOAT_EQ(multiplayerPlayerSpeed, 1.0f);
    EXPECT_EQ(saved("multiplayer", "playerSpeed"), 10);

    select("HEALTH ..................");
    tap(DIK_LEFT);
    EXPECT_EQ(multiplayerMaxHealth, 90);
    multiplayerMaxHealth = 495;
    taps(DIK_RIGHT, 2);
    EXPECT_EQ(multiplayerMaxHealth, 500);
    EXPECT_EQ(saved("multiplayer", "maxHealth"), 500);

    select("MAX MISSILES ............");
    taps(DIK_LEFT, 8);
    EXPECT_EQ(multiplayerMaxMissiles, 0);
    EXPECT_EQ(saved("multiplayer", "maxMissiles"), 0);

    select("STARTING BOMBS ..........");
    tap(DIK_LEFT);
    EXPECT_EQ(multiplayerBombCount, 1);
    taps(DIK_RIGHT, 25);
    EXPECT_EQ(multiplayerBombCount, 20);

    select("BOMB POWER ..............");
    tap(DIK_RIGHT);
    EXPECT_EQ(multiplayerBombPower, 2);
    EXPECT_EQ(saved("multiplayer", "bombPower"), 2);

    // Items without a value ignore left and right.
    select("DEFAULT");
    const int before = saved("multiplayer", "bombPower");
    multiplayerBombPower = 9;
    tap(DIK_RIGHT);
    EXPECT_EQ(saved("multiplayer", "bombPower"), before);

    // What the page shows follows the settings.
    passes(50);
    for (int i = 0; i < menu().itemCount; ++i) {
        if (menu().items[i]->action != kActionBombPower) continue;
        EXPECT_EQ(menu().items[i]->value, 9);
    }
}

TEST_F(MenuOptionTest, AValueOutsideItsBoundsIsPulledToTheNearestBound) {
    ASSERT_TRUE(plat::profileWrite("audio", "globalVolume", "255", path("config.cfg")));
    startGame(false, "");
    multiplayerMaxHealth = 900;
    multiplayerBombCount = -4;
    // A hand-written full volume shows as 102; left steps from there.
    toMainMenu();
    choose("OPTIONS");
    EXPECT_EQ(selectedItem()->value, 102);
    tap(DIK_LEFT);
    EXPECT_EQ(selectedItem()->value, 97);
    EXPECT_EQ(globalVolume, 242);
    EXPECT_EQ(saved("audio", "globalVolume"), 242);

    chooseAll({"MULTIPLAYER OPTIONS"});
    ASSERT_EQ(page(), kPageMultiplayer);
    select("HEALTH ..................");
    tap(DIK_LEFT);
    EXPECT_EQ(multiplayerMaxHealth, 500);
    select("STARTING BOMBS ..........");
    tap(DIK_RIGHT);
    EXPECT_EQ(multiplayerBombCount, 1);
}

TEST_F(MenuOptionTest, DefaultReloadsTheVersusRulesAndSavesThem) {
    startGame();
    openMultiplayerOptions();
    multiplayerMaxHealth = 300;
    multiplayerPlayerSpeed = 2.0f;
    multiplayerRounds = 3;
    choose("DEFAULT");
    EXPECT_EQ(multiplayerMaxHealth, 100);
    EXPECT_FLOAT_EQ(multiplayerPlayerSpeed, 4.0f);
    EXPECT_EQ(multiplayerRounds, 3);
    EXPECT_EQ(saved("multiplayer", "maxHealth"), 100);
    EXPECT_EQ(page(), kPageMultiplayer);

    // Defaults out of range come in within the items' bounds.
    const std::string config = read("config.cfg");
    ASSERT_TRUE(plat::profileWriteAll({{"multiplayerDefault", "maxMissiles", "2147483647"},
                                       {"multiplayerDefault", "playerSpeed", "-2147483648"},
                                       {"multiplayerDefault", "maxHealth", ""},
                                       {"multiplayerDefault", "bombCount", "0"},
                                       {"multiplayerDefault", "bombPower", "x"}},
                                      path("config.cfg")));
    multiplayerMaxHealth = 300;
    tap(DIK_RETURN);
    EXPECT_EQ(multiplayerMaxMissiles, 100);
    EXPECT_FLOAT_EQ(multiplayerPlayerSpeed, 1.0f);
    EXPECT_EQ(multiplayerMaxHealth, 100);  // empty: the shipped default
    EXPECT_EQ(multiplayerBombCount, 1);
    EXPECT_EQ(multiplayerBombPower, 1);
    EXPECT_EQ(saved("multiplayer", "maxMissiles"), 100);
    EXPECT_EQ(saved("multiplayer", "playerSpeed"), 10);

    // Without a default section in the player's file, the shipped one serves.
    std::string gone = config;
    gone.replace(gone.find("[multiplayerDefault]"), 20, "[multiplayerGone]");
    write("config.cfg", gone);
    tap(DIK_RETURN);
    EXPECT_EQ(multiplayerMaxMissiles, 7);
    EXPECT_FLOAT_EQ(multiplayerPlayerSpeed, 4.0f);
    EXPECT_EQ(multiplayerBombPower, 1);
    EXPECT_EQ(saved("multiplayer", "playerSpeed"), 40);
}

// Whatever the file holds, the multiplayer page shows values within its
// items' bounds, and a step from the end of the int range saturates.
TEST_F(MenuOptionTest, ExtremeValuesShowWithinTheBoundsAndStepWithoutOverflow) {
    ASSERT_TRUE(plat::profileWriteAll({{"audio", "globalVolume", "2147483647"},
                                       {"player", "maxPlayerSpeed", "-1"},
                                       {"multiplayer", "playerSpeed", "2147483647"},
                                       {"multiplayer", "maxHealth", "-2147483648"},
                                       {"multiplayer", "maxMissiles", "2147483647"}},
                                      path("config.cfg")));
    startGame();
    toMainMenu();
    choose("OPTIONS");
    // Full volume, 255, is 102 on the item; the first press either way
    // brings it within the item's 0 to 100, that is 0 to 250.
    EXPECT_EQ(globalVolume, 255);
    EXPECT_EQ(selectedItem()->value, 102);
    tap(DIK_RIGHT);
    EXPECT_EQ(selectedItem()->value, 100);
    EXPECT_EQ(globalVolume, 250);
    EXPECT_EQ(saved("audio", "globalVolume"), 250);

    choose("MULTIPLAYER OPTIONS");
    passes(50);
    for (int i = 0; i < menu().itemCount; ++i) {
        const MenuItem& item = *menu().items[i];
        if (item.page != kPageMultiplayer || !item.hasValue) continue;
        EXPECT_GE(item.value, item.min) << item.label.getText();
        EXPECT_LE(item.value, item.max) << item.label.getText();
    }
    ASSERT_EQ(selectedLabel(), "PLAYER SPEED ............");
    // A maximum below the minimum: the range shrinks to the one value 0.1.
    EXPECT_EQ(selectedItem()->value, 1);
    EXPECT_EQ(selectedItem()->min, 1);
    EXPECT_EQ(selectedItem()->max, 1);

    // Set behind the menu's back, at the ends of the int range.
    select("HEALTH ..................");
    multiplayerMaxHealth = INT_MAX;
    tap(DIK_RIGHT);
    EXPECT_EQ(multiplayerMaxHealth, 500);
    multiplayerMaxHealth = INT_MIN;
    tap(DIK_LEFT);
    EXPECT_EQ(multiplayerMaxHealth, 1);
    select("MAX MISSILES ............");
    multiplayerMaxMissiles = INT_MAX;
    tap(DIK_RIGHT);
    EXPECT_EQ(multiplayerMaxMissiles, 100);
}

// A config.cfg that cannot be written: the change is in force all the same,
// the file stays as it was, and the start-up log gets one line for it.
TEST_F(MenuOptionTest, ChangesStandWhenTheFileCannotBeSaved) {
    startGame();
    toMainMenu();
    const std::string before = read("config.cfg");
    const std::string startLog = read("log.txt");
    ASSERT_EQ(::chmod(path("config.cfg").c_str(), 0444), 0);
    choose("OPTIONS");
    taps(DIK_LEFT, 3);
    EXPECT_EQ(selectedItem()->value, 65);
    EXPECT_EQ(globalVolume, 162);
    EXPECT_EQ(currentVolume, 162);
    EXPECT_EQ(read("config.cfg"), before);
    EXPECT_EQ(read("log.txt"),
              startLog + "-Error saving config.cfg, changed settings last only until the game ends\n");
}

// The six prompts take one key each, in the order up, down, left, right,
// primary, secondary, for the player chosen; Enter (still down from the
// choice) must be released first, and of two keys the higher code counts.
TEST_F(MenuOptionTest, KeyPromptsCaptureOneKeyEachForTheChosenPlayer) {
    startGame();
    toMainMenu();
    chooseAll({"OPTIONS", "CONFIGURE KEYS"});
    ASSERT_EQ(page(), kPageKeys);
    select("CONFIGURE P3 KEYS");
    press(DIK_RETURN);
    EXPECT_EQ(page(), kPagePressUp);
    EXPECT_EQ(menu().configuredPlayer, 3);
    passes(100);
    EXPECT_EQ(page(), kPagePressUp);  // Enter is still held
    release(DIK_RETURN);

    tap(plat::DIK_ESCAPE);
    EXPECT_EQ(page(), kPagePressDown);
    tap(DIK_RETURN);
    EXPECT_EQ(page(), kPagePressLeft);
    tap(plat::DIK_UP);
    EXPECT_EQ(page(), kPagePressRight);
    plat::headless::pressKey(kDikA);
    press(kDikZ);
    EXPECT_EQ(page(), kPagePressPrimary);
    passes(100);
    EXPECT_EQ(page(), kPagePressPrimary);  // held keys are taken once
    release(kDikA);
    release(kDikZ);
    tap(kDikSpace);
    EXPECT_EQ(page(), kPagePressSecondary);
    tap(plat::DIK_LEFT);
    EXPECT_EQ(page(), kPageKeys);

    const int expected[KEY_SLOTS] = {plat::DIK_ESCAPE, plat::DIK_RETURN, kDikZ,
                                     plat::DIK_UP,     kDikSpace,  plat::DIK_LEFT};
    const char* const names[KEY_SLOTS] = {"up", "down", "right", "left", "primary", "secondary"};
    for (int k = 0; k < KEY_SLOTS; ++k) {
        EXPECT_EQ(playerKeys[2][k], expected[k]) << names[k];
        EXPECT_EQ(saved("player3keys", names[k]), expected[k]) << names[k];
    }
    EXPECT_EQ(saved("player1keys", "up"), playerKeys[0][KEY_UP]);
}

TEST_F(MenuOptionTest, PromptsTakeWindowKeyCodesInWindowMessageMode) {
    startGame(true);
    ASSERT_TRUE(windowInput);
    toMainMenu();
    chooseAll({"OPTIONS", "CONFIGURE KEYS", "CONFIGURE P1 KEYS"});
    tap(kDikW);
    EXPECT_EQ(playerKeys[0][KEY_UP], plat::vkFromDik(kDikW));
    EXPECT_EQ(menu().getPressedKey(&game->getInput()), -1);

    // A configured player out of range stores nothing.
    menu().configuredPlayer = 7;
    const int before = playerKeys[0][KEY_DOWN];
    menu().setDownKey(99);
    EXPECT_EQ(playerKeys[0][KEY_DOWN], before);
}

TEST_F(MenuOptionTest, RestoreDefaultKeysReloadsTheSetOfTheInputModeAndSavesIt) {
    startGame(true);
    toMainMenu();
    playerKeys[1][KEY_UP] = 1;
    chooseAll({"OPTIONS", "CONFIGURE KEYS", "RESTORE DEFAULT KEYS"});
    EXPECT_EQ(page(), kPageOptions);
    const char* const names[KEY_SLOTS] = {"up", "down", "right", "left", "primary", "secondary"};
    for (int p = 1; p <= 4; ++p) {
        const std::string defaults = "defaultplayer" + std::to_string(p) + "wininputkeys";
        const std::string section = "player" + std::to_string(p) + "keys";
        for (int k = 0; k < KEY_SLOTS; ++k) {
            const int expected = getConfigInt(defaults.c_str(), names[k]);
            EXPECT_EQ(playerKeys[p - 1][k], expected);
            EXPECT_EQ(saved(section.c_str(), names[k]), expected);
        }
    }
    EXPECT_EQ(playerKeys[0][KEY_UP], plat::VK_UP);
}

}  // namespace
}  // namespace menutest
