// config.cfg: every setting and tuning value of the game, held in globals
// with compiled defaults, read once at start-up; the keys the menus and the
// input-mode choice change are written back at once.
#pragma once

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

// Where loadConfig looks for config.cfg and filepaths.cfg. Empty (the
// default) means the executable's folder; tests point it at a folder of
// their own so that runs never share files.
extern std::string configDirectory;

// Every setting back to its compiled value (tests start each run from
// them; the game itself reads config.cfg once).
void resetConfig();

// Builds both paths and reads every setting of config.cfg.
void loadConfig();

// Writes the persisted keys (options, input mode, key bindings) to
// config.cfg, leaving every other line of the file as it was.
void saveConfig();

// Replaces every player's bindings by the default set of the running input
// mode ([defaultplayerNkeys] or [defaultplayerNwininputkeys]), then saves.
void restoreDefaultKeys();

// A key of config.cfg as an integer, -1 when missing.
int getConfigInt(const char* section, const char* key);

// The value of a "string-int" key: its leading decimal number (optional
// sign), 0 for empty or non-numeric text; saturates instead of overflowing.
int leadingInt(const std::string& text);
