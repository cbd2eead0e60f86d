// The eight music loops: menu, credits, the tutorial and the five levels,
// each with its own key, tempo, instruments and drums to suit its stage.
#pragma once

#include <string>
#include <vector>

#include "sound/SampleBuffer.h"

class SongBook {
public:
    static constexpr int kRate = 22050;

    static const std::vector<std::string>& names();
    // Throws std::invalid_argument for a name not in names().
    static SampleBuffer make(const std::string& name);
};
