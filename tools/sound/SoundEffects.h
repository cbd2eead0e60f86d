// The game's action sounds: explosions, pickups, hits, deaths, enemy cues
// and menu ticks, each synthesised from oscillators, noise and filters.
#pragma once

#include <string>
#include <vector>

#include "sound/SampleBuffer.h"

class SoundEffects {
public:
    // The sample names, as the game asks for them.
    static const std::vector<std::string>& names();
    // Throws std::invalid_argument for a name not in names().
    static SampleBuffer make(const std::string& name);
};
