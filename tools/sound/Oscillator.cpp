#include "sound/Oscillator.h"

#include <cmath>

namespace {

// Correction of a unit step at phase 0 for an oscillator advancing dt per sample.
float polyBlep(float t, float dt) {
    if (dt <= 0.0f) return 0.0f;
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0f;
    }
    if (t > 1.0f - dt) {
        t = (t - 1.0f) / dt;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}

}  // namespace

float Oscillator::step(float frequency) {
    const float p = phase_;
    phase_ += frequency / sampleRate_;
    while (phase_ >= 1.0f) phase_ -= 1.0f;
    while (phase_ < 0.0f) phase_ += 1.0f;
    return p;
}

float Oscillator::sine(float phase) {
    return std::sin(6.28318531f * phase);
}

float Oscillator::triangle(float phase) {
    return 4.0f * std::fabs(phase - 0.5f) - 1.0f;
}

float Oscillator::saw(float phase, float increment) {
    return 2.0f * phase - 1.0f - polyBlep(phase, increment);
}

float Oscillator::pulse(float phase, float increment, float duty) {
    float value = phase < duty ? 1.0f : -1.0f;
    value += polyBlep(phase, increment);
    float shifted = phase + 1.0f - duty;
    shifted -= std::floor(shifted);
    value -= polyBlep(shifted, increment);
    // Remove the DC offset of an uneven duty cycle.
    return value - (2.0f * duty - 1.0f);
}
