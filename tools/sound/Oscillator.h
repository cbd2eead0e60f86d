// Waveforms over a phase in [0, 1). Pulse and saw are band-limited with
// polynomial corrections at their edges, so high notes do not alias harshly
// at 22050 Hz.
#pragma once

class Oscillator {
public:
    explicit Oscillator(float sampleRate) : sampleRate_(sampleRate) {}

    // Advances by one sample at the given frequency and returns the phase
    // that the sample is taken at.
    float step(float frequency);
    float phase() const { return phase_; }
    void setPhase(float p) { phase_ = p; }
    float increment(float frequency) const { return frequency / sampleRate_; }

    static float sine(float phase);
    static float triangle(float phase);
    static float saw(float phase, float increment);
    static float pulse(float phase, float increment, float duty);

private:
    float sampleRate_;
    float phase_ = 0.0f;
};
