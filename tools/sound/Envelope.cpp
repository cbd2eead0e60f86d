#include "sound/Envelope.h"

#include <cmath>

void Envelope::fill(float* levels, std::size_t count, float held, float rate) const {
    const std::size_t attackEnd = static_cast<std::size_t>(attack * rate);
    const std::size_t heldEnd = static_cast<std::size_t>(held * rate);
    // The decay is stepped multiplicatively: one exp per note, not per sample.
    const float fall = decay > 0.0f ? std::exp(-1.0f / (decay * rate)) : 0.0f;
    float excess = 1.0f - sustain;  // level above sustain, decaying
    float last = 0.0f;
    const float releaseSamples = release * rate;
    for (std::size_t i = 0; i < count; ++i) {
        float level;
        if (i < heldEnd) {
            if (i < attackEnd) {
                level = static_cast<float>(i) / (attack * rate);
            } else {
                level = sustain + excess;
                excess *= fall;
            }
            last = level;
        } else {
            // A cubic fall from wherever the note was let go.
            const float u =
                releaseSamples > 0.0f ? static_cast<float>(i - heldEnd) / releaseSamples : 1.0f;
            const float f = u >= 1.0f ? 0.0f : 1.0f - u;
            level = last * f * f * f;
        }
        levels[i] = level;
    }
}
