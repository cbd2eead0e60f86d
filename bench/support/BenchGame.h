// What the game-level benchmarks share: a scratch game folder, a seeded
// player at the keyboard, the list of stages, and the yardstick every frame
// cost is reported against (a plain copy of one 640 x 480 32-bit frame).
#pragma once

#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace benchmark {
class State;
}
class Level;

namespace bench {

// A scratch folder the game runs from: the built game's filepaths.cfg, its
// art and sound (linked, or the images copied when their stamps must
// change), and the
// shipped config.cfg. It is also the working folder (the logs) and the
// configuration folder, for as long as it lives.
class GameFolder {
public:
    explicit GameFolder(bool copyAssets = false);
    ~GameFolder();
    GameFolder(const GameFolder&) = delete;
    GameFolder& operator=(const GameFolder&) = delete;

    const std::string& path() const { return path_; }
    // Writes key=value into the section of the folder's config.cfg.
    void setConfig(const std::string& section, const std::string& key, const std::string& value) const;
    // Gives every image file a new time stamp and waits until the stamps
    // count as settled, so that the next load decodes each image afresh as
    // the first load of a run does (copied images only).
    void touchImages();

private:
    std::string path_;
    std::string oldCwd_;
    int stampShift_ = 0;
};

// A restless seeded player at the keyboard for each of up to four players:
// walks one way for a while (or stands), taps the bomb key now and then and
// holds the secondary key often. Keys go to the keyboard device.
class KeyDriver {
public:
    KeyDriver(uint32_t seed, int players);
    // Brings the keys to what the players want at `now` (ms).
    void step(uint32_t now);
    void releaseAll();

private:
    struct Plan {
        int direction = -1;  // a key slot, or -1 to stand
        uint32_t directionUntil = 0;
        uint32_t primaryUntil = 0;
        uint32_t secondaryUntil = 0;
    };
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    std::mt19937 random_;
    std::vector<Plan> plans_;
    std::set<int> down_;
};

using StageLoad = void (*)(Level& level, int players, int difficulty);

struct Stage {
    const char* name;
    StageLoad load;
    int players;
};

// The tutorial, the five levels (one player) and the six arenas (four).
const std::vector<Stage>& allStages();
const Stage& stageNamed(const std::string& name);

// What is on the field: active bombs, explosions, missiles (homing ones
// included), dust puffs and live enemies.
struct FieldCount {
    int bombs = 0, explosions = 0, missiles = 0, dust = 0, enemies = 0;
    int total() const { return bombs + explosions + missiles + dust + enemies; }
    // Fields with more kinds of things on them rank first, then by total.
    bool busierThan(const FieldCount& other) const;
};
FieldCount countField(const Level& level);

// Processor time this thread has used, in seconds. Frames are timed by it
// rather than by the wall clock: the machine is shared, and a frame during
// which the thread was put aside is no dearer for it.
double threadSeconds();

// Seconds a plain copy (memcpy) of one 640 x 480 32-bit frame takes here
// and now: the median of a few hundred copies, in processor time.
double frameCopySeconds();

// Puts the cost `seconds` beside a frame copy measured now: the counters
// "frame_copies" (how many copies it costs) and "copy_us" (one copy).
void reportAgainstFrameCopy(benchmark::State& state, double seconds);

}  // namespace bench
