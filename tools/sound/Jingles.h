// The short tunes of the round: ready, go, win, lose, draw, game over and
// the thirty-seconds-left alarm.
#pragma once

#include <string>
#include <vector>

#include "sound/SampleBuffer.h"

class Jingles {
public:
    static const std::vector<std::string>& names();
    // Throws std::invalid_argument for a name not in names().
    static SampleBuffer make(const std::string& name);
};
