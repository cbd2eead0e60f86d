// Attack / decay / sustain / release envelope. The release ends exactly at
// zero, so a note never stops with a click.
#pragma once

#include <cstddef>

struct Envelope {
    float attack = 0.005f;  // seconds to full level
    float decay = 0.1f;     // time constant of the fall toward sustain
    float sustain = 0.7f;   // level held while the note is down
    float release = 0.08f;  // seconds from note-off to silence

    // Writes the level of samples 0 .. count-1 at the given rate of a note
    // held for `held` seconds.
    void fill(float* levels, std::size_t count, float held, float rate) const;
    // Seconds after the start at which the level has reached zero for good.
    float length(float held) const { return held + release; }
};
