// The shipped config.cfg: every setting the game reads is there with a
// usable value, every stage has its enemy tuning at every difficulty and
// stays winnable, and the default keys are the ones the help page shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/KeyCodes.h"
#include "platform/Profile.h"
#include "support/TestFiles.h"

namespace {

const std::string kConfig = std::string(EMBERHAUNT_SOURCE_DIR) + "/data/config.cfg";
const char* const kMissing = "<missing>";

std::string text(const std::string& section, const std::string& key) {
    return plat::profileString(section, key, kMissing, 100, kConfig);
}

bool isInteger(const std::string& s) {
    std::size_t i = (!s.empty() && s[0] == '-') ? 1 : 0;
    if (i >= s.size()) return false;
    for (; i < s.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(s[i]))) return false;
    return true;
}

// The value as an integer; a missing or non-numeric value fails the test.
int number(const std::string& section, const std::string& key) {
    const std::string v = text(section, key);
    EXPECT_TRUE(isInteger(v)) << "[" << section << "] " << key << " = " << v;
    return plat::profileInt(section, key, -1, kConfig);
}

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

const std::vector<std::string> kCommonEnemyKeys = {
    "searchIntervalTime",          "attackDistance", "healthDamage", "enemySpeed",
    "directionChangeIntervalTime", "stopWaitTime",   "enemyHealth"};
const std::vector<std::string> kShooterKeys = {"enemyMissileIntervalTime", "enemyMissileSpeed",
                                               "missileStopWaitTime", "missileFireWaitTime"};
const std::vector<std::string> kReplicationKeys = {"maxEnemies", "replicateChance",
                                                   "replicateWaitTime"};
const std::vector<std::string> kDragonKeys = {"dragonLength", "dragonHealth", "dragonSpeed",
                                              "dragonSpeedIncrement"};

struct Stage {
    std::string base;
    std::vector<std::string> keys;
};

std::vector<Stage> stages() {
    auto join = [](std::vector<std::vector<std::string>> parts) {
        std::vector<std::string> all;
        for (auto& p : parts) all.insert(all.end(), p.begin(), p.end());
        return all;
    };
    return {
        {"enemyGrunt", join({kCommonEnemyKeys, kReplicationKeys})},
        {"enemy", kCommonEnemyKeys},
        {"enemyMech", join({kCommonEnemyKeys, kShooterKeys})},
        {"enemyGrunt2", join({kCommonEnemyKeys, kShooterKeys})},
        {"replicatingEnemy", join({kCommonEnemyKeys, kReplicationKeys, {"replicateBlockChance"}})},
        {"dragonEnemy",
         join({kCommonEnemyKeys, kReplicationKeys, {"replicateBlockChance"}, kDragonKeys})},
    };
}

const char* const kDifficulties[] = {"Easy", "", "Hard"};

// Up, down, right, left, primary, secondary for players 1 to 4.
const int kDirectKeys[4][6] = {
    {200, 208, 205, 203, 28, 157},  // arrows, Enter, right Control
    {17, 31, 32, 30, 15, 16},       // W S D A, Tab, Q
    {24, 38, 39, 37, 9, 23},        // O L ; K, 8, I
    {72, 76, 77, 75, 82, 83},       // keypad 8 5 6 4, keypad 0, keypad Del
};
const int kWindowKeys[4][6] = {
    {38, 40, 39, 37, 13, 17},
    {87, 83, 68, 65, 9, 81},
    {79, 76, 186, 75, 56, 73},
    {104, 101, 102, 100, 96, 110},
};
const char* const kKeyNames[6] = {"up", "down", "right", "left", "primary", "secondary"};

TEST(ConfigFile, HoldsEveryStartupSettingWithAUsableValue) {
    ASSERT_TRUE(testsupport::fileExists(kConfig)) << kConfig;
    EXPECT_EQ(text("game", "gameTitle"), "Emberhaunt");
    EXPECT_NE(text("game", "gameVersion"), kMissing);
    EXPECT_NE(text("game", "gameAuthor"), kMissing);

    const std::map<std::string, std::vector<std::string>> integers = {
        {"video", {"fullscreen", "frameUpdateInterval", "displayFPS"}},
        {"audio", {"globalVolume", "audioEnabled"}},
        {"input", {"lastUsedDI"}},
        {"player",
         {"missileIntervalTime", "maxMissiles", "minPlayerSpeed", "maxPlayerSpeed", "playerSpeed",
          "maxHealth", "playerMomentum", "playerIceMomentum"}},
        {"multiplayer",
         {"maxMissiles", "playerSpeed", "maxHealth", "bombCount", "bombPower", "rounds"}},
        {"multiplayerDefault",
         {"maxMissiles", "playerSpeed", "maxHealth", "bombCount", "bombPower"}},
        {"powerup",
         {"powerupFrequency", "dynamitePowerupBoundary", "missilePowerupBoundary",
          "hmissilePowerupBoundary", "kickPowerupBoundary", "bombPowerupBoundary",
          "explosionPowerupBoundary", "healthPowerupBoundary", "hammerPowerupBoundary"}},
        {"bomb", {"bombTime", "bombSpeed", "missileSpeed"}},
        {"enemy",
         {"enemyHealth", "searchIntervalTime", "attackDistance", "healthDamage", "enemySpeed",
          "directionChangeIntervalTime", "stopWaitTime"}},
    };
    for (const auto& [section, keys] : integers)
        for (const std::string& key : keys) number(section, key);

    EXPECT_GT(number("video", "frameUpdateInterval"), 0);
    const int volume = number("audio", "globalVolume");
    EXPECT_TRUE(volume >= 0 && volume <= 250) << volume;
    EXPECT_NE(number("audio", "audioEnabled"), 0);
    EXPECT_EQ(number("input", "lastUsedDI"), 1);

    // The speed menu item starts inside its own range, and so do the
    // versus speed and its default.
    const int low = number("player", "minPlayerSpeed"), high = number("player", "maxPlayerSpeed");
    EXPECT_LT(0, low);
    EXPECT_LE(low, number("player", "playerSpeed"));
    EXPECT_LE(number("player", "playerSpeed"), high);
    for (const char* section : {"multiplayer", "multiplayerDefault"}) {
        SCOPED_TRACE(section);
        EXPECT_LE(low, number(section, "playerSpeed"));
        EXPECT_LE(number(section, "playerSpeed"), high);
        EXPECT_GT(number(section, "maxHealth"), 0);
        EXPECT_GT(number(section, "bombCount"), 0);
        EXPECT_GT(number(section, "bombPower"), 0);
    }

    // Boundaries out of order would leave some powerups impossible to find.
    int previous = 0;
    for (const char* key :
         {"dynamitePowerupBoundary", "missilePowerupBoundary", "hmissilePowerupBoundary",
          "kickPowerupBoundary", "bombPowerupBoundary", "explosionPowerupBoundary",
          "healthPowerupBoundary", "hammerPowerupBoundary"}) {
        const int boundary = number("powerup", key);
        EXPECT_GT(boundary, previous) << key;
        previous = boundary;
    }
    EXPECT_EQ(previous, 100);
    EXPECT_GT(number("bomb", "bombTime"), 0);
}

TEST(ConfigFile, EveryStageHasWinnableEnemyTuningAtEveryDifficulty) {
    const int playerSpeed = number("player", "playerSpeed");
    for (const Stage& stage : stages()) {
        std::map<std::string, int> easier;  // the same stage one difficulty down
        for (const char* suffix : kDifficulties) {
            const std::string section = stage.base + suffix;
            SCOPED_TRACE(section);
            std::map<std::string, int> v;
            for (const std::string& key : stage.keys) v[key] = number(section, key);

            // Enemies that take no damage, or have no health, make a level
            // unwinnable or trivial; enemies faster than the player cannot be escaped.
            EXPECT_GT(v["healthDamage"], 0);
            EXPECT_GT(v["enemyHealth"], 0);
            EXPECT_GT(v["enemySpeed"], 0);
            EXPECT_LT(v["enemySpeed"], playerSpeed);
            EXPECT_GT(v["searchIntervalTime"], 0);
            EXPECT_GT(v["directionChangeIntervalTime"], 0);
            EXPECT_GT(v["stopWaitTime"], 0);
            if (v.count("enemyMissileSpeed")) {
                EXPECT_GT(v["enemyMissileSpeed"], 0);
                EXPECT_GT(v["enemyMissileIntervalTime"], 0);
                EXPECT_GT(v["missileFireWaitTime"], 0);  // a warning before each shot
            }
            if (v.count("dragonLength")) {
                EXPECT_GE(v["dragonLength"], 0);
                EXPECT_GT(v["dragonHealth"], 0);
                // Every part destroyed speeds the dragon up; at its fastest
                // it must still be slower than the player.
                const int fastest =
                    v["dragonSpeed"] + (v["dragonLength"] + 1) * v["dragonSpeedIncrement"];
                EXPECT_LT(fastest, playerSpeed);
                EXPECT_GT(v["dragonSpeed"], 0);
            }
            if (v.count("maxEnemies")) {
                EXPECT_GT(v["maxEnemies"], 0);
            }

            // NOVICE is gentlest and MASTER hardest.
            if (!easier.empty()) {
                EXPECT_GE(v["enemySpeed"], easier["enemySpeed"]);
                EXPECT_GE(v["enemyHealth"], easier["enemyHealth"]);
                EXPECT_LE(v["healthDamage"], easier["healthDamage"]);
                EXPECT_GE(v["attackDistance"], easier["attackDistance"]);
                if (v.count("enemyMissileIntervalTime")) {
                    EXPECT_LE(v["enemyMissileIntervalTime"], easier["enemyMissileIntervalTime"]);
                }
                if (v.count("dragonHealth")) {
                    EXPECT_GE(v["dragonHealth"], easier["dragonHealth"]);
                }
            }
            easier = v;
        }
    }
}

TEST(ConfigFile, DefaultKeysAreTheHelpPageKeysAndThePlayersStartWithThem) {
    for (int p = 0; p < 4; ++p) {
        const std::string n = std::to_string(p + 1);
        for (int k = 0; k < 6; ++k) {
            SCOPED_TRACE("player " + n + " " + kKeyNames[k]);
            EXPECT_EQ(number("defaultplayer" + n + "keys", kKeyNames[k]), kDirectKeys[p][k]);
            EXPECT_EQ(number("defaultplayer" + n + "wininputkeys", kKeyNames[k]),
                      kWindowKeys[p][k]);
            EXPECT_EQ(number("player" + n + "keys", kKeyNames[k]), kDirectKeys[p][k]);
            // Both sets name the same physical key.
            EXPECT_EQ(plat::vkFromDik(kDirectKeys[p][k]), kWindowKeys[p][k]);
        }
    }
    // No key is shared by two bindings.
    std::set<int> used;
    for (const auto& player : kDirectKeys)
        for (int code : player) EXPECT_TRUE(used.insert(code).second) << code;
}

// The profile reader takes the first of two equal sections or keys, so a
// repeated or misspelt one would silently be ignored.
TEST(ConfigFile, NoSectionOrKeyIsRepeatedOrUnknown) {
    std::set<std::string> known = {
        "game",    "video", "audio", "input", "player", "multiplayer", "multiplayerdefault",
        "powerup", "bomb"};
    for (const Stage& stage : stages())
        for (const char* suffix : kDifficulties) known.insert(lower(stage.base + suffix));
    for (int p = 1; p <= 4; ++p) {
        const std::string n = std::to_string(p);
        known.insert("player" + n + "keys");
        known.insert("defaultplayer" + n + "keys");
        known.insert("defaultplayer" + n + "wininputkeys");
    }

    std::istringstream in(testsupport::readFile(kConfig));
    std::string line, section;
    std::set<std::string> sections, keys;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') {
            const std::size_t close = line.find(']');
            ASSERT_NE(close, std::string::npos) << line;
            section = lower(line.substr(1, close - 1));
            EXPECT_TRUE(known.count(section)) << "unknown section [" << section << "]";
            EXPECT_TRUE(sections.insert(section).second) << "repeated section [" << section << "]";
            continue;
        }
        const std::size_t eq = line.find('=');
        ASSERT_NE(eq, std::string::npos) << "neither comment, section nor key: " << line;
        const std::string key = section + "." + lower(line.substr(0, eq));
        EXPECT_TRUE(keys.insert(key).second) << "repeated key " << key;
    }
    EXPECT_EQ(sections.size(), known.size());
}

}  // namespace
