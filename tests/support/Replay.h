// Recorded runs of the whole game on the headless back end, and their
// replay.
//
// A replay file holds what a headless run takes from outside: the calendar
// (the random seed), the clock at the start, the input mode, and, pass by
// pass of the main loop, the keys that went down or up and any leap of the
// clock (a late frame). The clock otherwise moves as the headless loop
// moves it (1 ms on each pass that finds nothing to do), and every event
// line carries the clock it expects, so a replay that drifts from its
// recording is told at once. Replaying the file runs the same passes and
// ends in the same state, down to the last frame's pixels.
//
// The file is text, one record a line ('#' starts a comment):
//
//     emberhaunt-replay 1          format and version
//     title level 1 at NOVICE      what it plays (free text)
//     calendar 1000000000          seconds, the random generator's seed
//     clock 0                      the tick count at the start, ms
//     input device                 "device" or "messages" (window messages)
//     passes 180000                passes of the main loop the run lasts
//     1530 1436 +28                before pass 1530, at 1436 ms: key 28 down
//     1614 1515 -28 >250           key 28 up, then the clock leaps 250 ms
//     end
//
// Keys are DirectInput key codes (platform/KeyCodes.h) of the physical
// keys; in window-message mode they arrive as their virtual-key messages.
// Event lines come in pass order, one line per pass at most.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Game;

namespace replay {

constexpr int kFormatVersion = 1;

struct KeyChange {
    int code = 0;  // DirectInput key code
    bool down = false;
};

struct Event {
    uint64_t pass = 0;    // the pass it comes before, from 0
    uint32_t clock = 0;   // the tick count when that pass starts (after any leap)
    std::vector<KeyChange> keys;
    uint32_t leap = 0;    // ms the clock leaps before the pass, after the keys
};

struct Script {
    std::string title;
    int64_t calendar = 1'000'000'000;
    uint32_t clock = 0;
    bool windowMessages = false;
    uint64_t passes = 0;
    std::vector<Event> events;
};

// False with a message naming the line for anything malformed: a missing or
// unknown header, a version this code does not read, events out of order,
// a key code outside 1..255, no "end".
bool parse(const std::string& text, Script* out, std::string* error);
std::string format(const Script& script);

// Where a run finds the built game: the folder of filepaths.cfg and the
// generated assets, and the config.cfg to start from (the shipped one).
struct GameFiles {
    std::string binDir;
    std::string configFile;
};
// The build's own files.
GameFiles builtGame();

// One headless run of the whole game, started as the real program starts
// it and driven pass by pass as its main loop drives it. It runs in a
// folder of its own (logs, config.cfg); every global the game keeps
// between runs starts from its start value, so runs in one process do not
// depend on each other. One session at a time.
class Session {
public:
    // Throws CException when the game cannot start.
    Session(const GameFiles& files, int64_t calendar, uint32_t clock, bool windowMessages);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    Game& game();
    uint64_t passes() const { return passCount; }

    // Before a pass: a key of the physical keyboard goes down or up, the
    // clock leaps.
    void key(int code, bool down);
    void leap(uint32_t ms);
    // One pass of the main loop; false (and nothing run) once the game quit.
    bool pass();

    // The end state, one fact a line: game state and page, round result,
    // lives and clock, every player's health and cell, enemies alive, and
    // hashes of the grid's layers and of the window's last frame.
    std::string digest();

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
    uint64_t passCount = 0;
};

// Replays the script to its end. False with a message when it cannot start
// or when the clock drifts from the one the file expects.
bool play(const Script& script, const GameFiles& files, std::string* digest, std::string* error);

// Called inside a catch block: sets *error to why the game could not be run
// (it did not start, or its folder could not be laid out) and returns false.
bool runFailed(std::string* error);

}  // namespace replay
