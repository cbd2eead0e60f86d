#include <climits>
#include <filesystem>
#include <sstream>
#include <tuple>
#include <vector>

#include "ShellFixture.h"
#include "platform/Paths.h"

namespace shelltest {
namespace {

using Entry = std::tuple<std::string, std::string, std::string>;  // section, key, value

// The key lines of an INI text in file order, with the section they are in.
std::vector<Entry> entries(const std::string& text) {
    std::vector<Entry> out;
    std::istringstream in(text);
    std::string line, section;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        if (line.front() == '[') {
            section = line.substr(1, line.find(']') - 1);
            continue;
        }
        const auto eq = line.find('=');
        if (eq != std::string::npos) out.emplace_back(section, line.substr(0, eq), line.substr(eq + 1));
    }
    return out;
}

using ConfigTest = ShellTest;

TEST_F(ConfigTest, MissingFileKeepsCompiledValuesAndFirstSaveWritesOnlyPersistedKeys) {
    loadConfig();
    EXPECT_EQ(configPath, path("config.cfg"));
    EXPECT_EQ(filePathsPath, path("filepaths.cfg"));

    // int keys keep their compiled value.
    EXPECT_EQ(frameUpdateInterval, 15);
    EXPECT_EQ(globalVolume, 200);
    EXPECT_EQ(audioEnabled, 1);
    EXPECT_EQ(missileIntervalTime, 1000);
    EXPECT_EQ(enemyHealth, 100);
    // Tenths read as int keep theirs too.
    EXPECT_FLOAT_EQ(minPlayerSpeed, 1.0f);
    EXPECT_FLOAT_EQ(playerSpeed, 3.0f);
    EXPECT_FLOAT_EQ(multiplayerPlayerSpeed, 4.0f);
    EXPECT_FLOAT_EQ(enemySpeed, 1.0f);
    // string-int keys and texts do not.
    EXPECT_EQ(powerupFrequency, 0);
    EXPECT_EQ(bombTime, 0);
    EXPECT_EQ(searchIntervalTime, 0);
    EXPECT_FLOAT_EQ(bombSpeed, 0.0f);
    EXPECT_EQ(gameTitle, "00");
    EXPECT_EQ(playerKeys[3][KEY_SECONDARY], 0);
    EXPECT_EQ(getConfigInt("enemy", "maxEnemies"), -1);

    multiplayerPlayerSpeed = 3.5f;
    playerKeys[1][KEY_LEFT] = 30;
    saveConfig();
    std::vector<Entry> expected = {
        {"video", "fullscreen", "0"},        {"audio", "globalVolume", "200"},
        {"audio", "audioEnabled", "1"},      {"input", "lastUsedDI", "0"},
        {"multiplayer", "maxMissiles", "7"}, {"multiplayer", "playerSpeed", "35"},
        {"multiplayer", "maxHealth", "100"}, {"multiplayer", "bombCount", "1"},
        {"multiplayer", "bombPower", "1"},   {"multiplayer", "rounds", "1"},
    };
    const char* names[] = {"up", "down", "right", "left", "primary", "secondary"};
    for (int p = 1; p <= 4; ++p)
        for (const char* key : names)
            expected.emplace_back("player" + std::to_string(p) + "keys", key,
                                  p == 2 && std::string(key) == "left" ? "30" : "0");
    EXPECT_EQ(entries(read("config.cfg")), expected);
}

TEST_F(ConfigTest, ReadsEachKindOfValue) {
    write("config.cfg",
          "[game]\ngameTitle=" + std::string(300, 't') +
              "\ngameAuthor = Somebody\n"
              "[video]\nfullscreen=1\nframeUpdateInterval=20\n"
              "[player]\nplayerSpeed=35\nminPlayerSpeed=\nmaxHealth=abc\n"
              "[multiplayer]\nplayerSpeed=41\nmaxMissiles=-2\n"
              "[powerup]\npowerupFrequency=\ndynamitePowerupBoundary=abc\nmissilePowerupBoundary=12abc\n"
              "hmissilePowerupBoundary=99999999999\nkickPowerupBoundary=-3\n"
              "[bomb]\nbombSpeed=65\n"
              "[PLAYER1KEYS]\nUP=200\nsecondary=157\n");
    loadConfig();

    EXPECT_EQ(gameTitle, std::string(99, 't'));  // a 100-character buffer's worth
    EXPECT_EQ(gameAuthor, "Somebody");
    EXPECT_EQ(gameVersion, "00");
    EXPECT_EQ(fullscreen, 1);
    EXPECT_EQ(frameUpdateInterval, 20);
    EXPECT_FLOAT_EQ(playerSpeed, 3.5f);
    EXPECT_FLOAT_EQ(minPlayerSpeed, 1.0f);  // empty: as if missing
    EXPECT_EQ(maxHealth, 0);                // present but not a number
    EXPECT_FLOAT_EQ(multiplayerPlayerSpeed, 4.1f);
    EXPECT_EQ(multiplayerMaxMissiles, -2);

    EXPECT_EQ(powerupFrequency, 0);
    EXPECT_EQ(dynamitePowerupBoundary, 0);
    EXPECT_EQ(missilePowerupBoundary, 12);
    EXPECT_EQ(hmissilePowerupBoundary, INT_MAX);
    EXPECT_EQ(kickPowerupBoundary, -3);
    EXPECT_FLOAT_EQ(bombSpeed, 6.5f);
    EXPECT_FLOAT_EQ(missileSpeed, 0.0f);
    EXPECT_EQ(playerKeys[0][KEY_UP], 200);
    EXPECT_EQ(playerKeys[0][KEY_SECONDARY], 157);
    EXPECT_EQ(playerKeys[0][KEY_DOWN], 0);
}

TEST_F(ConfigTest, SaveChangesOnlyThePersistedValuesAndKeepsTenthsExact) {
    const std::string original =
        "; player's settings\n[game]\ngameTitle=Emberhaunt\n"
        "[video]\nfullscreen=0\ndisplayFPS=1\n"
        "[multiplayer]\nmaxMissiles=7\nplayerSpeed=35\nunknownKey=kept\n"
        "[enemyHard]\nenemyHealth=300\n";
    write("config.cfg", original);
    loadConfig();
    saveConfig();
    const std::string saved = read("config.cfg");
    // Every line of the original is still there, in its order; the writer
    // only added the keys it owns.
    std::istringstream savedLines(saved), originalLines(original);
    std::string want, got;
    while (std::getline(originalLines, want)) {
        while (std::getline(savedLines, got) && got != want) {
        }
        EXPECT_EQ(got, want);
    }
    EXPECT_EQ(getConfigInt("video", "displayFPS"), 1);
    EXPECT_EQ(getConfigInt("enemyHard", "enemyHealth"), 300);

    // Tenths that are not exact in binary must come back as read, not one
    // lower.
    for (int tenths : {7, 9, 13, 41, 57, 77, 123, 999, 1000, 0, -15}) {
        write("config.cfg", "[multiplayer]\nplayerSpeed=" + std::to_string(tenths) + "\n");
        loadConfig();
        saveConfig();
        EXPECT_EQ(getConfigInt("multiplayer", "playerSpeed"), tenths);
    }
}

TEST_F(ConfigTest, RestoreDefaultKeysLoadsTheSetOfTheInputModeAndSavesIt) {
    write("config.cfg",
          "[defaultplayer1keys]\nup=200\ndown=208\nleft=203\nright=205\nprimary=28\nsecondary=157\n"
          "[defaultplayer1wininputkeys]\nup=38\ndown=40\nleft=37\nright=39\nprimary=13\nsecondary=17\n"
          "[defaultplayer2keys]\nup=17\n"
          "[player1keys]\nup=1\ndown=2\nright=3\nleft=4\nprimary=5\nsecondary=6\n");
    loadConfig();
    ASSERT_EQ(playerKeys[0][KEY_LEFT], 4);

    windowInput = false;
    restoreDefaultKeys();
    EXPECT_EQ(playerKeys[0][KEY_UP], 200);
    EXPECT_EQ(playerKeys[0][KEY_DOWN], 208);
    EXPECT_EQ(playerKeys[0][KEY_RIGHT], 205);
    EXPECT_EQ(playerKeys[0][KEY_LEFT], 203);
    EXPECT_EQ(playerKeys[0][KEY_PRIMARY], 28);
    EXPECT_EQ(playerKeys[0][KEY_SECONDARY], 157);
    EXPECT_EQ(playerKeys[1][KEY_UP], 17);
    EXPECT_EQ(playerKeys[1][KEY_DOWN], -1);  // missing default: -1, saved so
    EXPECT_EQ(playerKeys[3][KEY_PRIMARY], -1);
    EXPECT_EQ(getConfigInt("player1keys", "left"), 203);
    EXPECT_EQ(getConfigInt("player2keys", "down"), -1);
    EXPECT_EQ(getConfigInt("player4keys", "secondary"), -1);

    windowInput = true;
    restoreDefaultKeys();
    EXPECT_EQ(playerKeys[0][KEY_UP], 38);
    EXPECT_EQ(playerKeys[0][KEY_RIGHT], 39);
    EXPECT_EQ(playerKeys[0][KEY_LEFT], 37);
    EXPECT_EQ(playerKeys[1][KEY_UP], -1);
    EXPECT_EQ(getConfigInt("player1keys", "primary"), 13);

    // The bindings survive a reload as saved.
    resetConfig();
    loadConfig();
    EXPECT_EQ(playerKeys[0][KEY_SECONDARY], 17);
    EXPECT_EQ(playerKeys[2][KEY_UP], -1);
}

TEST_F(ConfigTest, FilesAreFoundBesideTheExecutableWhateverTheFolderIsCalled) {
    configDirectory.clear();
    loadConfig();
    EXPECT_EQ(configPath, plat::executableDir() + "/config.cfg");
    EXPECT_EQ(filePathsPath, plat::executableDir() + "/filepaths.cfg");

    // A folder with dots in its name, deeper than any fixed path buffer.
    std::string deep = dir->path();
    for (int i = 0; deep.size() < 400; ++i) deep += "/folder.with.dots" + std::to_string(i);
    std::filesystem::create_directories(deep);
    ASSERT_TRUE(testsupport::writeFile(deep + "/config.cfg", "[video]\nframeUpdateInterval=33\n"));
    configDirectory = deep + "/";
    loadConfig();
    EXPECT_EQ(configPath, deep + "/config.cfg");
    EXPECT_EQ(frameUpdateInterval, 33);
}

}  // namespace
}  // namespace shelltest
