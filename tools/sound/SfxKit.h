// Building blocks shared by the sound effects and the jingles.
#pragma once

#include <cstddef>

#include "sound/SampleBuffer.h"

class SfxKit {
public:
    static constexpr int kRate = 44100;
    static constexpr float kTwoPi = 6.28318531f;

    static SampleBuffer buffer(float seconds) {
        return SampleBuffer(kRate, static_cast<std::size_t>(seconds * kRate), false);
    }

    // Adds f(t) for t from 0 over [from, to) seconds of the buffer.
    template <class F>
    static void fill(SampleBuffer& b, float from, float to, F f) {
        const float rate = static_cast<float>(b.sampleRate());
        const std::size_t i0 = static_cast<std::size_t>(from * rate);
        std::size_t i1 = static_cast<std::size_t>(to * rate);
        if (i1 > b.size()) i1 = b.size();
        for (std::size_t i = i0; i < i1; ++i) b[i] += f(static_cast<float>(i - i0) / rate);
    }

    // Exponential glide from f0 to f1 with time constant tau.
    static float glide(float f0, float f1, float t, float tau);
    // Clean ends, no offset, and the given peak level.
    static void finish(SampleBuffer& b, float peak);
};
