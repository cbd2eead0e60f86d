#include "shell/Config.h"

#include <cctype>
#include <climits>
#include <cmath>

#include "platform/Paths.h"
#include "platform/Profile.h"
#include "shell/FilePaths.h"
#include "shell/GameWindow.h"

std::string configPath;
std::string configDirectory;

// Every setting with its compiled value, listed once so that resetConfig
// restores exactly what static initialisation set.
#define EMBERHAUNT_INT_SETTINGS(X)                                                        \
    X(fullscreen, 0) X(frameUpdateInterval, 15) X(displayFPS, 0)                          \
    X(globalVolume, 200) X(audioEnabled, 1) X(lastUsedDI, 0)                              \
    X(missileIntervalTime, 1000) X(maxMissiles, 7) X(maxHealth, 100)                      \
    X(playerMomentum, 50) X(playerIceMomentum, 250)                                       \
    X(multiplayerMaxMissiles, 7) X(multiplayerMaxHealth, 100) X(multiplayerBombCount, 1)  \
    X(multiplayerBombPower, 1) X(multiplayerRounds, 1)                                    \
    X(powerupFrequency, 50) X(dynamitePowerupBoundary, 4) X(missilePowerupBoundary, 7)    \
    X(hmissilePowerupBoundary, 10) X(kickPowerupBoundary, 18) X(bombPowerupBoundary, 70)  \
    X(explosionPowerupBoundary, 89) X(healthPowerupBoundary, 96)                          \
    X(hammerPowerupBoundary, 100) X(bombTime, 2200)                                       \
    X(enemyHealth, 100) X(searchIntervalTime, 1000) X(attackDistance, 20)                 \
    X(healthDamage, 7) X(directionChangeIntervalTime, 2000) X(stopWaitTime, 500)          \
    X(enemyMissileIntervalTime, 1000) X(missileStopWaitTime, 1000)                        \
    X(missileFireWaitTime, 500) X(maxEnemies, 5) X(replicateChance, 5)                    \
    X(replicateWaitTime, 5000) X(replicateBlockChance, 50) X(dragonLength, 7)             \
    X(dragonHealth, 400)

#define EMBERHAUNT_FLOAT_SETTINGS(X)                                                      \
    X(minPlayerSpeed, 1.0f) X(maxPlayerSpeed, 5.0f) X(playerSpeed, 3.0f)                  \
    X(multiplayerPlayerSpeed, 4.0f) X(bombSpeed, 6.0f) X(missileSpeed, 2.5f)              \
    X(enemySpeed, 1.0f) X(enemyMissileSpeed, 2.5f) X(dragonSpeed, 1.2f)                   \
    X(dragonSpeedIncrement, 0.2f)

#define EMBERHAUNT_DEFINE_INT(name, value) int name = value;
#define EMBERHAUNT_DEFINE_FLOAT(name, value) float name = value;
EMBERHAUNT_INT_SETTINGS(EMBERHAUNT_DEFINE_INT)
EMBERHAUNT_FLOAT_SETTINGS(EMBERHAUNT_DEFINE_FLOAT)

std::string gameTitle = "00";
std::string gameVersion = "00";
std::string gameAuthor = "00";

int playerKeys[kMaxPlayers][KEY_SLOTS] = {};

namespace {

// Text values are read into 100-character buffers: at most 99 characters.
constexpr std::size_t kTextLength = 100;

const char* const kKeySections[kMaxPlayers] = {"player1keys", "player2keys", "player3keys",
                                               "player4keys"};
const char* const kKeyNames[KEY_SLOTS] = {"up", "down", "right", "left", "primary", "secondary"};

std::string readText(const char* section, const char* key) {
    return plat::profileString(section, key, "00", kTextLength, configPath);
}

void readInt(const char* section, const char* key, int& value) {
    value = plat::profileInt(section, key, value, configPath);
}

void readStringInt(const char* section, const char* key, int& value) {
    value = leadingInt(readText(section, key));
}

// Speeds are stored as integer tenths. A missing key keeps the compiled
// value rather than collapsing to a tenth of it.
void readTenths(const char* section, const char* key, float& value) {
    const int fallback = static_cast<int>(std::lround(value * 10.0f));
    value = plat::profileInt(section, key, fallback, configPath) / 10.0f;
}

void readStringTenths(const char* section, const char* key, float& value) {
    value = leadingInt(readText(section, key)) / 10.0f;
}

void writeInt(const char* section, const char* key, int value) {
    plat::profileWrite(section, key, std::to_string(value), configPath);
}

// Rounded, not truncated: 4.1f * 10 is 40.99999..., and the value was read
// from whole tenths, so rounding gives back exactly what was read.
int toTenths(float value) {
    const double tenths = std::round(static_cast<double>(value) * 10.0);
    if (tenths >= INT_MAX) return INT_MAX;
    if (tenths <= INT_MIN) return INT_MIN;
    return static_cast<int>(tenths);
}

std::string besideConfig(const char* fileName) {
    std::string dir = configDirectory.empty() ? plat::executableDir() : configDirectory;
    if (dir.empty()) dir = ".";
    if (dir.back() != '/') dir += '/';
    return dir + fileName;
}

}  // namespace

int leadingInt(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

void resetConfig() {
#define EMBERHAUNT_RESET(name, value) name = value;
    EMBERHAUNT_INT_SETTINGS(EMBERHAUNT_RESET)
    EMBERHAUNT_FLOAT_SETTINGS(EMBERHAUNT_RESET)
#undef EMBERHAUNT_RESET
    gameTitle = gameVersion = gameAuthor = "00";
    for (auto& keys : playerKeys)
        for (int& code : keys) code = 0;
}

int getConfigInt(const char* section, const char* key) {
    return plat::profileInt(section, key, -1, configPath);
}

void loadConfig() {
    configPath = besideConfig("config.cfg");
    filePathsPath = besideConfig("filepaths.cfg");

    gameTitle = readText("game", "gameTitle");
    gameVersion = readText("game", "gameVersion");
    gameAuthor = readText("game", "gameAuthor");

    readInt("video", "fullscreen", fullscreen);
    readInt("video", "frameUpdateInterval", frameUpdateInterval);
    readInt("video", "displayFPS", displayFPS);

    readInt("audio", "globalVolume", globalVolume);
    readInt("audio", "audioEnabled", audioEnabled);

    readInt("input", "lastUsedDI", lastUsedDI);

    readInt("player", "missileIntervalTime", missileIntervalTime);
    readInt("player", "maxMissiles", maxMissiles);
    readTenths("player", "minPlayerSpeed", minPlayerSpeed);
    readTenths("player", "maxPlayerSpeed", maxPlayerSpeed);
    readTenths("player", "playerSpeed", playerSpeed);
    readInt("player", "maxHealth", maxHealth);
    readInt("player", "playerMomentum", playerMomentum);
    readInt("player", "playerIceMomentum", playerIceMomentum);

    readInt("multiplayer", "maxMissiles", multiplayerMaxMissiles);
    readTenths("multiplayer", "playerSpeed", multiplayerPlayerSpeed);
    readInt("multiplayer", "maxHealth", multiplayerMaxHealth);
    readInt("multiplayer", "bombCount", multiplayerBombCount);
    readInt("multiplayer", "bombPower", multiplayerBombPower);
    readInt("multiplayer", "rounds", multiplayerRounds);

    readStringInt("powerup", "powerupFrequency", powerupFrequency);
    readStringInt("powerup", "dynamitePowerupBoundary", dynamitePowerupBoundary);
    readStringInt("powerup", "missilePowerupBoundary", missilePowerupBoundary);
    readStringInt("powerup", "hmissilePowerupBoundary", hmissilePowerupBoundary);
    readStringInt("powerup", "kickPowerupBoundary", kickPowerupBoundary);
    readStringInt("powerup", "bombPowerupBoundary", bombPowerupBoundary);
    readStringInt("powerup", "explosionPowerupBoundary", explosionPowerupBoundary);
    readStringInt("powerup", "healthPowerupBoundary", healthPowerupBoundary);
    readStringInt("powerup", "hammerPowerupBoundary", hammerPowerupBoundary);

    readStringInt("bomb", "bombTime", bombTime);
    readStringTenths("bomb", "bombSpeed", bombSpeed);
    readStringTenths("bomb", "missileSpeed", missileSpeed);

    readInt("enemy", "enemyHealth", enemyHealth);
    readStringInt("enemy", "searchIntervalTime", searchIntervalTime);
    readStringInt("enemy", "attackDistance", attackDistance);
    readStringInt("enemy", "healthDamage", healthDamage);
    readTenths("enemy", "enemySpeed", enemySpeed);
    readStringInt("enemy", "directionChangeIntervalTime", directionChangeIntervalTime);
    readStringInt("enemy", "stopWaitTime", stopWaitTime);

    for (int p = 0; p < kMaxPlayers; ++p)
        for (int k = 0; k < KEY_SLOTS; ++k) readStringInt(kKeySections[p], kKeyNames[k], playerKeys[p][k]);
}

void saveConfig() {
    writeInt("video", "fullscreen", fullscreen);
    writeInt("audio", "globalVolume", globalVolume);
    writeInt("audio", "audioEnabled", audioEnabled);
    writeInt("input", "lastUsedDI", lastUsedDI);
    writeInt("multiplayer", "maxMissiles", multiplayerMaxMissiles);
    writeInt("multiplayer", "playerSpeed", toTenths(multiplayerPlayerSpeed));
    writeInt("multiplayer", "maxHealth", multiplayerMaxHealth);
    writeInt("multiplayer", "bombCount", multiplayerBombCount);
    writeInt("multiplayer", "bombPower", multiplayerBombPower);
    writeInt("multiplayer", "rounds", multiplayerRounds);
    for (int p = 0; p < kMaxPlayers; ++p)
        for (int k = 0; k < KEY_SLOTS; ++k) writeInt(kKeySections[p], kKeyNames[k], playerKeys[p][k]);
}

void restoreDefaultKeys() {
    const char* const prefix = "defaultplayer";
    const char* const suffix = windowInput ? "wininputkeys" : "keys";
    for (int p = 0; p < kMaxPlayers; ++p) {
        const std::string section = prefix + std::to_string(p + 1) + suffix;
        for (int k = 0; k < KEY_SLOTS; ++k) playerKeys[p][k] = getConfigInt(section.c_str(), kKeyNames[k]);
    }
    saveConfig();
}
