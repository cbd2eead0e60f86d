#include "sound/Filter.h"

#include <algorithm>
#include <cmath>

void Filter::set(float cutoff, float q) {
    const float nyquist = sampleRate_ * 0.5f;
    cutoff = std::clamp(cutoff, 10.0f, nyquist * 0.92f);
    const float g = std::tan(3.14159265f * cutoff / sampleRate_);
    k_ = 1.0f / std::max(q, 0.05f);
    a1_ = 1.0f / (1.0f + g * (g + k_));
    a2_ = g * a1_;
    a3_ = g * a2_;
}

float Filter::process(float in) {
    const float v3 = in - ic2_;
    const float v1 = a1_ * ic1_ + a2_ * v3;
    const float v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
    ic1_ = 2.0f * v1 - ic1_;
    ic2_ = 2.0f * v2 - ic2_;
    switch (mode_) {
        case Mode::LowPass:
            return v2;
        case Mode::BandPass:
            return v1;
        case Mode::HighPass:
            return in - k_ * v1 - v2;
    }
    return v2;
}
