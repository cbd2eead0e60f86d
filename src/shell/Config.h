// config.cfg: every setting and tuning value of the game, held in globals
// with compiled defaults, read once at start-up; the keys the menus and the
// input-mode choice change are written back at once.
#pragma once

#include <climits>
#include <functional>
#include <string>

// Full path of config.cfg (beside the executable); set by loadConfig.
extern std::string configPath;

// [game]
extern std::string gameTitle;
extern std::string gameVersion;
extern std::string gameAuthor;

// [video]
extern int fullscreen;
extern int frameUpdateInterval;
extern int displayFPS;

// [audio]
extern int globalVolume;
extern int audioEnabled;

// [input]
extern int lastUsedDI;

// [player]: the tutorial and the levels.
extern int missileIntervalTime;
extern int maxMissiles;
extern float minPlayerSpeed;
extern float maxPlayerSpeed;
extern float playerSpeed;
extern int maxHealth;
extern int playerMomentum;
extern int playerIceMomentum;

// [multiplayer]: the versus arenas (same key names as [player]).
extern int multiplayerMaxMissiles;
extern float multiplayerPlayerSpeed;
extern int multiplayerMaxHealth;
extern int multiplayerBombCount;
extern int multiplayerBombPower;
extern int multiplayerRounds;

// [powerup]: drop chance and cumulative percent boundaries of the kinds.
extern int powerupFrequency;
extern int dynamitePowerupBoundary;
extern int missilePowerupBoundary;
extern int hmissilePowerupBoundary;
extern int kickPowerupBoundary;
extern int bombPowerupBoundary;
extern int explosionPowerupBoundary;
extern int healthPowerupBoundary;
extern int hammerPowerupBoundary;

// [bomb]
extern int bombTime;
extern float bombSpeed;
extern float missileSpeed;

// [enemy] and the per-stage enemy sections.
extern int enemyHealth;
extern int searchIntervalTime;
extern int attackDistance;
extern int healthDamage;
extern float enemySpeed;
extern int directionChangeIntervalTime;
extern int stopWaitTime;

// Set only by the per-stage enemy sections (read with getConfigInt).
extern int enemyMissileIntervalTime;
extern float enemyMissileSpeed;
extern int missileStopWaitTime;
extern int missileFireWaitTime;
extern int maxEnemies;
extern int replicateChance;
extern int replicateWaitTime;
extern int replicateBlockChance;
extern int dragonLength;
extern int dragonHealth;
extern float dragonSpeed;
extern float dragonSpeedIncrement;

// Key bindings: six codes per player, DirectInput key codes in DirectInput
// mode and virtual-key codes in window-message mode. Slots are in the order
// config.cfg stores them.
enum KeySlot { KEY_UP, KEY_DOWN, KEY_RIGHT, KEY_LEFT, KEY_PRIMARY, KEY_SECONDARY, KEY_SLOTS };
constexpr int kMaxPlayers = 4;
extern int playerKeys[kMaxPlayers][KEY_SLOTS];

// The range of values the game runs with, in the units config.cfg stores
// (speeds in tenths). Every value read from the file is brought into its
// range where it is read, so that no edit of the file can make the game
// overflow, divide by zero, hang or show nonsense.
struct SettingRange {
    int low;
    int high;
    int clamp(int value) const { return value < low ? low : (value > high ? high : value); }
};

namespace ranges {
constexpr SettingRange kFrameInterval{10, 100};  // ms between two drawn frames
constexpr SettingRange kVolume{0, 255};          // the audio scale: 0 silent, 255 full
constexpr SettingRange kSpeed{1, 100};           // tenths: 0.1 to 10 pixels a frame
constexpr SettingRange kMissiles{0, 100};        // the MAX MISSILES item's bounds
constexpr SettingRange kHealth{1, 500};          // the HEALTH item's bounds
// A player starts alive, and a damage step from 1 cannot overflow.
constexpr SettingRange kStartingHealth{1, INT_MAX};
// Fewer than none would show as a count on the HUD and give no shot anyway.
constexpr SettingRange kMissileCount{0, INT_MAX};
constexpr SettingRange kBombs{1, 20};            // the STARTING BOMBS and BOMB POWER items' bounds
constexpr SettingRange kMomentum{0, 1000};       // ms of sliding on
constexpr SettingRange kPercent{0, 100};         // drop chance and kind boundaries
constexpr SettingRange kBombTime{500, 10000};    // a fuse one can run from, and not wait for ever on
constexpr SettingRange kWait{0, 60000};          // ms: pauses and intervals that may be nil
constexpr SettingRange kInterval{100, 60000};    // ms: intervals that are not checked every frame
constexpr SettingRange kShotInterval{200, 60000};
constexpr SettingRange kReplicateWait{0, 600000};
constexpr SettingRange kEnemyHealth{1, 10000};
constexpr SettingRange kHealthDamage{1, 10000};  // fire always hurts: every level can be won
constexpr SettingRange kAttackDistance{0, 1000}; // squared cells; the widest field spans 505
constexpr SettingRange kMaxEnemies{0, 50};
constexpr SettingRange kChance{0, 100};          // replication chances
constexpr SettingRange kDragonLength{0, 20};
constexpr SettingRange kSpeedIncrement{0, 50};   // tenths
}  // namespace ranges

// Where loadConfig looks for config.cfg and filepaths.cfg. Empty (the
// default) means the executable's folder; tests point it at a folder of
// their own so that runs never share files.
extern std::string configDirectory;

// Every setting back to its compiled value (tests start each run from
// them; the game itself reads config.cfg once).
void resetConfig();

// Where the configuration code writes its log lines (a restored or
// completed file, a failed save). The game points it at its open log
// during start-up; unset, a line is appended to log.txt in the working
// folder.
void setConfigLog(std::function<void(const char* line)> sink);

// Builds both paths and reads every setting of config.cfg. A missing
// config.cfg is first written afresh from the shipped one; keys of the
// shipped file that the player's file lacks are read from the shipped one
// and written into the player's file, whose own lines all stay. Either
// repair writes one line to the log. A temporary file that a save killed
// part-way left beside config.cfg a minute or more ago is removed first.
void loadConfig();

// Writes the persisted keys (options, input mode, key bindings) to
// config.cfg in one write, leaving every other byte of the file as it was.
// False when the file could not be written (a read-only file, an unwritable
// folder); the first failure of a run is logged, and the settings stay in
// force until the game ends. False too, logged once in a line of its own,
// when the file was written but its folder could not be flushed to disk.
bool saveConfig();

// Replaces every player's bindings by the default set of the running input
// mode ([defaultplayerNkeys] or [defaultplayerNwininputkeys]), then saves.
void restoreDefaultKeys();

// A key of config.cfg as an integer: the shipped value when the player's
// file lacks it, -1 when neither file has it.
int getConfigInt(const char* section, const char* key);
// The same, brought into range.
int getConfigInt(const char* section, const char* key, SettingRange range);

// The value of a "string-int" key: its leading decimal number (optional
// sign), 0 for empty or non-numeric text; saturates instead of overflowing.
int leadingInt(const std::string& text);
