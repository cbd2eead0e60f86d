// State-variable filter (trapezoidal form): stable at any cutoff below the
// Nyquist frequency and cheap enough to retune on every sample.
#pragma once

class Filter {
public:
    enum class Mode { LowPass, BandPass, HighPass };

    Filter(Mode mode, float sampleRate) : mode_(mode), sampleRate_(sampleRate) {}

    // Cutoff in Hz (clamped to a safe range), q = resonance (0.5 soft, 5 sharp).
    void set(float cutoff, float q);
    float process(float in);
    void reset() { ic1_ = ic2_ = 0.0f; }

private:
    Mode mode_;
    float sampleRate_;
    float k_ = 1.0f, a1_ = 0.0f, a2_ = 0.0f, a3_ = 0.0f;
    float ic1_ = 0.0f, ic2_ = 0.0f;
};
