#include "sound/Instrument.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "sound/Filter.h"
#include "sound/Notation.h"
#include "sound/Oscillator.h"
#include "sound/Rng.h"
#include "sound/SampleBuffer.h"

namespace {

// The plucked string: a burst of filtered noise circulating in a delay line
// one period long, losing its highs on every pass.
std::vector<float> pluckString(const Instrument& in, float sampleRate, float frequency,
                               std::size_t length, Rng& rng) {
    const float c = 0.25f + 0.7f * std::clamp(in.pluckBright, 0.0f, 1.0f);
    // The loop's one-pole filter delays by about (1 - c) / c samples.
    const float period = std::max(2.0f, sampleRate / frequency - (1.0f - c) / c);
    const std::size_t burst = static_cast<std::size_t>(period) + 1;
    std::vector<float> y(length, 0.0f);
    // The pick: a period of noise, softened and faded in and out so that it
    // sounds like a plectrum rather than a click.
    const float soft = 0.2f + 0.5f * std::clamp(in.pluckBright, 0.0f, 1.0f);
    float excite = 0.0f, excite2 = 0.0f;
    float smooth = 0.0f;
    for (std::size_t n = 0; n < length; ++n) {
        float v = 0.0f;
        if (n < burst) {
            excite += soft * (rng.bipolar() - excite);
            excite2 += soft * (excite - excite2);
            const float window = std::sin(3.14159265f * (static_cast<float>(n) + 0.5f) / burst);
            v = excite2 * window * 2.0f;
        }
        const float back = static_cast<float>(n) - period;
        if (back >= 0.0f) {
            const std::size_t i0 = static_cast<std::size_t>(back);
            const float frac = back - static_cast<float>(i0);
            const float delayed = y[i0] + frac * ((i0 + 1 < n ? y[i0 + 1] : y[i0]) - y[i0]);
            smooth += c * (delayed - smooth);
            v += smooth * in.pluckDecay;
        }
        y[n] = v;
    }
    return y;
}

}  // namespace

void Instrument::play(SampleBuffer& out, std::size_t start, float held, float midi, float velocity,
                      Rng& rng) const {
    const float rate = static_cast<float>(out.sampleRate());
    const std::size_t length = static_cast<std::size_t>(env.length(held) * rate) + 1;
    const float base = Notation::frequency(midi);
    const float gain = volume * velocity;

    std::vector<float> string;
    if (wave == Wave::Pluck) string = pluckString(*this, rate, base, length, rng);

    Filter filter(Filter::Mode::LowPass, rate);
    const bool filtered = cutoff > 0.0f;
    Filter breathBand(Filter::Mode::BandPass, rate);
    if (breath > 0.0f) breathBand.set(base * 2.0f, 2.0f);

    Oscillator osc(rate), mod(rate), osc2(rate), osc3(rate);
    osc2.setPhase(0.31f);
    osc3.setPhase(0.67f);
    const float spread = std::pow(2.0f, detuneCents / 1200.0f);

    std::vector<float> levels(length);
    env.fill(levels.data(), length, held, rate);
    const std::size_t heldSamples = static_cast<std::size_t>(held * rate);

    // Written straight into the buffer: wrapping round a loop, or stopping
    // at the end of a one-shot sound.
    float* dest = out.data();
    const std::size_t size = out.size();
    std::size_t pos = start;
    if (out.looping() && size > 0) pos %= size;

    for (std::size_t i = 0; i < length; ++i, ++pos) {
        if (pos >= size) {
            if (!out.looping() || size == 0) break;
            pos = 0;
        }
        const float level = levels[i];
        if (level <= 0.0f && i > heldSamples) continue;
        const float t = static_cast<float>(i) / rate;

        float semis = 0.0f;
        if (vibratoDepth > 0.0f && t > vibratoDelay) {
            const float ramp = std::min(1.0f, (t - vibratoDelay) / 0.25f);
            semis += vibratoDepth * ramp * std::sin(6.28318531f * vibratoRate * t);
        }
        if (slide != 0.0f) semis += slide * std::exp(-t / std::max(slideTime, 0.001f));
        const float f = semis == 0.0f ? base : base * std::pow(2.0f, semis / 12.0f);

        float v = 0.0f;
        switch (wave) {
            case Wave::Pulse: {
                const float p = osc.step(f);
                v = Oscillator::pulse(p, osc.increment(f), duty);
                break;
            }
            case Wave::Saw: {
                const float p = osc.step(f);
                v = Oscillator::saw(p, osc.increment(f));
                break;
            }
            case Wave::Triangle:
                v = Oscillator::triangle(osc.step(f));
                break;
            case Wave::Sine:
                v = Oscillator::sine(osc.step(f));
                break;
            case Wave::Fm: {
                const float index =
                    fmIndexDecay > 0.0f ? fmIndex * std::exp(-t / fmIndexDecay) : fmIndex;
                const float m = Oscillator::sine(mod.step(f * fmRatio));
                const float p = osc.step(f) + index * m / 6.28318531f;
                v = Oscillator::sine(p - std::floor(p));
                break;
            }
            case Wave::SuperSaw: {
                const float f2 = f * spread, f3 = f / spread;
                const float p1 = osc.step(f), p2 = osc2.step(f2), p3 = osc3.step(f3);
                v = (Oscillator::saw(p1, osc.increment(f)) +
                     Oscillator::saw(p2, osc2.increment(f2)) +
                     Oscillator::saw(p3, osc3.increment(f3))) *
                    0.4f;
                break;
            }
            case Wave::Pluck:
                v = string[i];
                break;
        }

        if (breath > 0.0f) v += breath * breathBand.process(rng.bipolar()) * 3.0f;
        if (filtered) {
            if ((i & 7) == 0) {
                const float sweep = filterEnv != 0.0f
                                        ? filterEnv * std::exp(-t / std::max(filterDecay, 0.001f))
                                        : 0.0f;
                filter.set(cutoff + sweep, resonance);
            }
            v = filter.process(v);
        }
        dest[pos] += v * level * gain;
    }
}
