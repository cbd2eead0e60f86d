// A mono buffer of float samples in [-1, 1]. A looping buffer wraps every
// write past its end round to its start, so the tails of the last notes of
// a music loop sound over its first notes and the loop joins without a seam.
#pragma once

#include <cstddef>
#include <vector>

class SampleBuffer {
public:
    SampleBuffer(int sampleRate, std::size_t length, bool looping);

    int sampleRate() const { return sampleRate_; }
    std::size_t size() const { return data_.size(); }
    bool looping() const { return looping_; }

    // Adds to sample `index` (which may lie past the end of a looping
    // buffer); writes past the end of a one-shot buffer are dropped.
    void add(std::size_t index, float value) {
        if (index >= data_.size()) {
            if (!looping_ || data_.empty()) return;
            index %= data_.size();
        }
        data_[index] += value;
    }
    float* data() { return data_.data(); }
    float& operator[](std::size_t i) { return data_[i]; }
    float operator[](std::size_t i) const { return data_[i]; }
    const std::vector<float>& samples() const { return data_; }

    // Mixes another buffer in, starting at `offset`, scaled by gain.
    void mix(const SampleBuffer& other, std::size_t offset, float gain);

    float peak() const;
    float rms() const;
    void scale(float gain);

    // Feedback echo with a low-passed feedback path (mix = level of the wet signal).
    void echo(float delaySeconds, float feedback, float mix, float damping);
    // A small room: parallel combs and series all-passes.
    void reverb(float size, float mix, float damping);
    // Gentle saturation that keeps quiet parts linear and rounds off peaks.
    void softClip(float threshold);
    // Linear fades at the start and end of a one-shot sound.
    void fadeEdges(float inSeconds, float outSeconds);
    // Removes the average level (a constant offset would click on start and stop).
    void removeDc();

private:
    // Runs `process` over every sample; a looping buffer is run through twice
    // and keeps the second pass, so effect tails wrap round the loop point.
    template <class Process>
    void runEffect(Process& process);

    static constexpr float kWarmUpSeconds = 10.0f;

    int sampleRate_;
    bool looping_;
    std::vector<float> data_;
};
