// The recorder's player: a seeded bot that plays the game through the
// keyboard, as a person would, so that a recorded replay really plays a
// stage. It reads the game's state to choose its keys (which cells are
// safe, where the blocks, powerups and enemies are), but acts only through
// key presses; the recording keeps the keys alone, so a replay never needs
// the bot again.
//
// Each scenario starts the game, walks the menu by keys from the title page
// into its stage, plays it with one bot per player, and ends a short while
// after the round's result (or at its time limit).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/Replay.h"

namespace replay {

struct Scenario {
    std::string name;   // file name, without extension
    std::string title;  // what it plays
    std::vector<int> menuKeys;  // keys tapped from the title page into the stage
    int stage = 0;      // the stage number the menu must have started
    int players = 1;
    bool windowMessages = false;
    int64_t calendar = 1'000'000'000;
    uint32_t botSeed = 1;
    uint32_t limitMs = 240'000;       // of play, after the menu
    uint32_t afterResultMs = 1500;    // how long the result is shown before the end
};

// The committed replays.
const std::vector<Scenario>& scenarios();
const Scenario* findScenario(const std::string& name);

// Plays the scenario with the bots and returns its recording. False with a
// message when the menu did not lead into the stage or the game did not start.
bool record(const Scenario& scenario, const GameFiles& files, Script* out, std::string* digest,
            std::string* error);

}  // namespace replay
