#include "shell/Config.h"

#include <cctype>
#include <climits>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <vector>

#include "platform/Paths.h"
#include "platform/Profile.h"
#include "shell/FilePaths.h"
#include "shell/GameWindow.h"
#include "shell/ShippedConfig.h"

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

std::function<void(const char*)> logSink;
bool saveFailureLogged = false;
bool unflushedSaveLogged = false;

void writeLogLine(const char* line) {
    if (logSink) {
        logSink(line);
        return;
    }
    // After start-up the log is closed: the line goes to its end.
    if (std::FILE* log = std::fopen("log.txt", "a")) {
        std::fputs(line, log);
        std::fclose(log);
    }
}

std::string lowerName(const std::string& section, const std::string& key) {
    std::string name = section + '\n' + key;
    for (char& c : name) c = char(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

// The shipped file's keys, by lower-case section and key name.
const std::map<std::string, std::string>& shippedValues() {
    static const std::map<std::string, std::string> values = [] {
        std::map<std::string, std::string> m;
        for (const plat::ProfileEntry& e : plat::profileEntries(std::string(shippedConfig())))
            m.emplace(lowerName(e.section, e.key), e.value);
        return m;
    }();
    return values;
}

bool shippedValue(const char* section, const char* key, std::string* value) {
    const auto& shipped = shippedValues();
    auto it = shipped.find(lowerName(section, key));
    if (it == shipped.end()) return false;
    *value = it->second;
    return true;
}

// The value the player's file holds, else the shipped one.
bool findValue(const char* section, const char* key, std::string* value) {
    return plat::profileFind(section, key, configPath, value) || shippedValue(section, key, value);
}

// An integer key: an empty value counts as missing, as the integer reader
// has it, so the shipped value stands in for it too.
bool findInt(const char* section, const char* key, int* value) {
    std::string text;
    if (!plat::profileFind(section, key, configPath, &text) || text.empty())
        if (!shippedValue(section, key, &text) || text.empty()) return false;
    *value = leadingInt(text);
    return true;
}

std::string readText(const char* section, const char* key) {
    std::string value;
    if (!findValue(section, key, &value)) value = "00";
    if (value.size() >= kTextLength) value.resize(kTextLength - 1);
    return value;
}

void readInt(const char* section, const char* key, int& value) { findInt(section, key, &value); }

void readInt(const char* section, const char* key, int& value, SettingRange range) {
    readInt(section, key, value);
    value = range.clamp(value);
}

void readStringInt(const char* section, const char* key, int& value, SettingRange range) {
    value = range.clamp(leadingInt(readText(section, key)));
}

// Speeds are stored as integer tenths. A missing key keeps the compiled
// value rather than collapsing to a tenth of it.
void readTenths(const char* section, const char* key, float& value, SettingRange range) {
    int tenths = static_cast<int>(std::lround(value * 10.0f));
    findInt(section, key, &tenths);
    value = range.clamp(tenths) / 10.0f;
}

void readStringTenths(const char* section, const char* key, float& value, SettingRange range) {
    value = range.clamp(leadingInt(readText(section, key))) / 10.0f;
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

// A missing config.cfg is written afresh from the shipped one; a file that
// lacks keys of the shipped one gets them added, every line it holds kept.
// What was done goes to the log; a file as shipped gets no line.
void repairConfig() {
    // A save killed part-way (the game ended by force) may have left its
    // temporary file beside config.cfg.
    plat::profileRemoveLeftovers(configPath);
    const std::string shipped(shippedConfig());
    std::vector<plat::ProfileEntry> held;
    switch (plat::profileRead(configPath, &held)) {
    case plat::ProfileFile::Missing:
        writeLogLine(plat::profileCreate(configPath, shipped)
                         ? "-config.cfg not found, restored the shipped settings\n"
                         : "-config.cfg not found and could not be written, using the shipped settings\n");
        return;
    case plat::ProfileFile::Unreadable:
        writeLogLine("-config.cfg cannot be read, using the shipped settings\n");
        return;
    case plat::ProfileFile::Readable: break;
    }
    std::set<std::string> present;
    for (const plat::ProfileEntry& e : held) present.insert(lowerName(e.section, e.key));
    std::vector<plat::ProfileEntry> missing;
    for (const plat::ProfileEntry& e : plat::profileEntries(shipped))
        if (!present.count(lowerName(e.section, e.key))) missing.push_back(e);
    if (missing.empty()) return;
    const std::string count = std::to_string(missing.size());
    const std::string line =
        plat::profileWriteAll(missing, configPath)
            ? "-config.cfg lacked " + count + " settings, completed it from the shipped settings\n"
            : "-config.cfg lacked " + count + " settings and could not be written, using the shipped ones\n";
    writeLogLine(line.c_str());
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

void setConfigLog(std::function<void(const char*)> sink) { logSink = std::move(sink); }

void resetConfig() {
#define EMBERHAUNT_RESET(name, value) name = value;
    EMBERHAUNT_INT_SETTINGS(EMBERHAUNT_RESET)
    EMBERHAUNT_FLOAT_SETTINGS(EMBERHAUNT_RESET)
#undef EMBERHAUNT_RESET
    gameTitle = gameVersion = gameAuthor = "00";
    for (auto& keys : playerKeys)
        for (int& code : keys) code = 0;
    saveFailureLogged = false;
    unflushedSaveLogged = false;
}

int getConfigInt(const char* section, const char* key) {
    int value = -1;
    findInt(section, key, &value);
    return value;
}

int getConfigInt(const char* section, const char* key, SettingRange range) {
    return range.clamp(getConfigInt(section, key));
}

void loadConfig() {
    configPath = besideConfig("config.cfg");
    filePathsPath = besideConfig("filepaths.cfg");
    repairConfig();
    using namespace ranges;

    gameTitle = readText("game", "gameTitle");
    gameVersion = readText("game", "gameVersion");
    gameAuthor = readText("game", "gameAuthor");

    readInt("video", "fullscreen", fullscreen);
    readInt("video", "frameUpdateInterval", frameUpdateInterval, kFrameInterval);
    readInt("video", "displayFPS", displayFPS);

    readInt("audio", "globalVolume", globalVolume, kVolume);
    readInt("audio", "audioEnabled", audioEnabled);

    readInt("input", "lastUsedDI", lastUsedDI);

    readInt("player", "missileIntervalTime", missileIntervalTime, kWait);
    // Any count works; none makes the powerup give no shot.
    readInt("player", "maxMissiles", maxMissiles, kMissileCount);
    readTenths("player", "minPlayerSpeed", minPlayerSpeed, kSpeed);
    readTenths("player", "maxPlayerSpeed", maxPlayerSpeed, kSpeed);
    // The PLAYER SPEED item runs from the one to the other.
    if (minPlayerSpeed > maxPlayerSpeed) minPlayerSpeed = maxPlayerSpeed;
    readTenths("player", "playerSpeed", playerSpeed, kSpeed);
    readInt("player", "maxHealth", maxHealth, kStartingHealth);
    readInt("player", "playerMomentum", playerMomentum, kMomentum);
    readInt("player", "playerIceMomentum", playerIceMomentum, kMomentum);

    readInt("multiplayer", "maxMissiles", multiplayerMaxMissiles, kMissiles);
    readTenths("multiplayer", "playerSpeed", multiplayerPlayerSpeed,
               {toTenths(minPlayerSpeed), toTenths(maxPlayerSpeed)});
    readInt("multiplayer", "maxHealth", multiplayerMaxHealth, kHealth);
    readInt("multiplayer", "bombCount", multiplayerBombCount, kBombs);
    readInt("multiplayer", "bombPower", multiplayerBombPower, kBombs);
    readInt("multiplayer", "rounds", multiplayerRounds);

    readStringInt("powerup", "powerupFrequency", powerupFrequency, kPercent);
    readStringInt("powerup", "dynamitePowerupBoundary", dynamitePowerupBoundary, kPercent);
    readStringInt("powerup", "missilePowerupBoundary", missilePowerupBoundary, kPercent);
    readStringInt("powerup", "hmissilePowerupBoundary", hmissilePowerupBoundary, kPercent);
    readStringInt("powerup", "kickPowerupBoundary", kickPowerupBoundary, kPercent);
    readStringInt("powerup", "bombPowerupBoundary", bombPowerupBoundary, kPercent);
    readStringInt("powerup", "explosionPowerupBoundary", explosionPowerupBoundary, kPercent);
    readStringInt("powerup", "healthPowerupBoundary", healthPowerupBoundary, kPercent);
    readStringInt("powerup", "hammerPowerupBoundary", hammerPowerupBoundary, kPercent);

    readStringInt("bomb", "bombTime", bombTime, kBombTime);
    readStringTenths("bomb", "bombSpeed", bombSpeed, kSpeed);
    readStringTenths("bomb", "missileSpeed", missileSpeed, kSpeed);

    readInt("enemy", "enemyHealth", enemyHealth, kEnemyHealth);
    readStringInt("enemy", "searchIntervalTime", searchIntervalTime, kInterval);
    readStringInt("enemy", "attackDistance", attackDistance, kAttackDistance);
    readStringInt("enemy", "healthDamage", healthDamage, kHealthDamage);
    readTenths("enemy", "enemySpeed", enemySpeed, kSpeed);
    readStringInt("enemy", "directionChangeIntervalTime", directionChangeIntervalTime, kInterval);
    readStringInt("enemy", "stopWaitTime", stopWaitTime, kWait);

    // Key codes are kept as they are: one that no key sends only leaves
    // that action without a key.
    for (int p = 0; p < kMaxPlayers; ++p)
        for (int k = 0; k < KEY_SLOTS; ++k)
            playerKeys[p][k] = leadingInt(readText(kKeySections[p], kKeyNames[k]));
}

bool saveConfig() {
    std::vector<plat::ProfileEntry> entries;
    auto put = [&entries](const char* section, const char* key, int value) {
        entries.push_back({section, key, std::to_string(value)});
    };
    put("video", "fullscreen", fullscreen);
    put("audio", "globalVolume", globalVolume);
    put("audio", "audioEnabled", audioEnabled);
    put("input", "lastUsedDI", lastUsedDI);
    put("multiplayer", "maxMissiles", multiplayerMaxMissiles);
    put("multiplayer", "playerSpeed", toTenths(multiplayerPlayerSpeed));
    put("multiplayer", "maxHealth", multiplayerMaxHealth);
    put("multiplayer", "bombCount", multiplayerBombCount);
    put("multiplayer", "bombPower", multiplayerBombPower);
    put("multiplayer", "rounds", multiplayerRounds);
    for (int p = 0; p < kMaxPlayers; ++p)
        for (int k = 0; k < KEY_SLOTS; ++k) put(kKeySections[p], kKeyNames[k], playerKeys[p][k]);
    bool written = false;
    if (plat::profileWriteAll(entries, configPath, &written)) return true;
    // The file may stand written but not safely on disk: the next start will
    // most likely find the settings, so the player is told just that.
    bool& logged = written ? unflushedSaveLogged : saveFailureLogged;
    if (!logged) {
        logged = true;
        writeLogLine(written ? "-Error saving config.cfg, settings written but may not survive a power cut\n"
                             : "-Error saving config.cfg, changed settings last only until the game ends\n");
    }
    return false;
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
