#include "sound/SampleBuffer.h"

#include <algorithm>
#include <cmath>

#include "sound/Filter.h"

SampleBuffer::SampleBuffer(int sampleRate, std::size_t length, bool looping)
    : sampleRate_(sampleRate), looping_(looping), data_(length, 0.0f) {}

void SampleBuffer::mix(const SampleBuffer& other, std::size_t offset, float gain) {
    for (std::size_t i = 0; i < other.size(); ++i) add(offset + i, other[i] * gain);
}

float SampleBuffer::peak() const {
    float p = 0.0f;
    for (float v : data_) p = std::max(p, std::fabs(v));
    return p;
}

float SampleBuffer::rms() const {
    if (data_.empty()) return 0.0f;
    double sum = 0.0;
    for (float v : data_) sum += static_cast<double>(v) * v;
    return static_cast<float>(std::sqrt(sum / static_cast<double>(data_.size())));
}

void SampleBuffer::scale(float gain) {
    for (float& v : data_) v *= gain;
}

template <class Process>
void SampleBuffer::runEffect(Process& process) {
    const std::size_t n = data_.size();
    float* d = data_.data();
    if (looping_) {
        // Warm-up over the end of the loop: the state it leaves is the state
        // the effect is in each time the loop comes round (every tail has
        // died away well within this time).
        const std::size_t warm =
            std::min(n, static_cast<std::size_t>(kWarmUpSeconds * sampleRate_));
        for (std::size_t i = n - warm; i < n; ++i) process(d[i]);
    }
    for (std::size_t i = 0; i < n; ++i) d[i] = process(d[i]);
}

void SampleBuffer::echo(float delaySeconds, float feedback, float mix, float damping) {
    std::vector<float> line(
        std::max<std::size_t>(1, static_cast<std::size_t>(delaySeconds * sampleRate_)), 0.0f);
    float* l = line.data();
    const std::size_t len = line.size();
    std::size_t pos = 0;
    Filter tone(Filter::Mode::LowPass, static_cast<float>(sampleRate_));
    tone.set(damping, 0.7f);
    auto process = [&](float in) {
        const float delayed = l[pos];
        l[pos] = in + tone.process(delayed) * feedback;
        if (++pos == len) pos = 0;
        return in + delayed * mix;
    };
    runEffect(process);
}

void SampleBuffer::reverb(float size, float mix, float damping) {
    // Comb and all-pass lengths (in samples at 22050 Hz) chosen mutually prime.
    constexpr int kCombs = 4, kAllpasses = 2;
    static const int combLengths[kCombs] = {1116, 1277, 1422, 1557};
    static const int allpassLengths[kAllpasses] = {225, 341};
    const float rateScale = static_cast<float>(sampleRate_) / 22050.0f;
    std::size_t len[kCombs + kAllpasses], pos[kCombs + kAllpasses] = {};
    std::size_t total = 0;
    for (int c = 0; c < kCombs; ++c) {
        len[c] = static_cast<std::size_t>(combLengths[c] * rateScale * (0.6f + 0.4f * size));
        total += len[c];
    }
    for (int a = 0; a < kAllpasses; ++a) {
        len[kCombs + a] = static_cast<std::size_t>(allpassLengths[a] * rateScale);
        total += len[kCombs + a];
    }
    std::vector<float> memory(total, 0.0f);
    float* line[kCombs + kAllpasses];
    float* next = memory.data();
    for (int k = 0; k < kCombs + kAllpasses; ++k) {
        line[k] = next;
        next += len[k];
    }
    float state[kCombs] = {};
    const float feedback = 0.7f + 0.25f * size;
    const float damp = std::clamp(damping, 0.0f, 0.95f);
    auto process = [&](float in) {
        float wet = 0.0f;
        for (int c = 0; c < kCombs; ++c) {
            float& cell = line[c][pos[c]];
            const float out = cell;
            state[c] = out * (1.0f - damp) + state[c] * damp;
            cell = in * 0.25f + state[c] * feedback;
            if (++pos[c] == len[c]) pos[c] = 0;
            wet += out;
        }
        for (int a = kCombs; a < kCombs + kAllpasses; ++a) {
            float& cell = line[a][pos[a]];
            const float buffered = cell;
            cell = wet + 0.5f * buffered;
            if (++pos[a] == len[a]) pos[a] = 0;
            wet = buffered - 0.5f * wet;
        }
        return in + wet * mix;
    };
    runEffect(process);
}

void SampleBuffer::softClip(float threshold) {
    const float t = std::clamp(threshold, 0.1f, 0.99f);
    const float room = 1.0f - t;
    for (float& v : data_) {
        const float a = std::fabs(v);
        if (a <= t) continue;
        const float over = (a - t) / room;
        const float shaped = t + room * std::tanh(over);
        v = v < 0.0f ? -shaped : shaped;
    }
}

void SampleBuffer::fadeEdges(float inSeconds, float outSeconds) {
    const std::size_t n = data_.size();
    const std::size_t fadeIn = std::min(n, static_cast<std::size_t>(inSeconds * sampleRate_));
    const std::size_t fadeOut = std::min(n, static_cast<std::size_t>(outSeconds * sampleRate_));
    for (std::size_t i = 0; i < fadeIn; ++i) data_[i] *= static_cast<float>(i) / fadeIn;
    for (std::size_t i = 0; i < fadeOut; ++i) data_[n - 1 - i] *= static_cast<float>(i) / fadeOut;
}

void SampleBuffer::removeDc() {
    if (data_.empty()) return;
    double sum = 0.0;
    for (float v : data_) sum += v;
    const float mean = static_cast<float>(sum / static_cast<double>(data_.size()));
    for (float& v : data_) v -= mean;
}
