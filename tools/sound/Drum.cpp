#include "sound/Drum.h"

#include <cmath>

#include "sound/Filter.h"
#include "sound/Oscillator.h"
#include "sound/Rng.h"
#include "sound/SampleBuffer.h"

namespace {

constexpr float kTwoPi = 6.28318531f;

// Fade over the last 5 ms of a hit, so a truncated decay never clicks.
float tailFade(std::size_t i, std::size_t length, float rate) {
    const float fade = 0.005f * rate;
    const float left = static_cast<float>(length - i);
    return left < fade ? left / fade : 1.0f;
}

// A set of sine partials with their own decay times: struck metal and skins.
struct Partial {
    float ratio, level, decay;
};

void modal(SampleBuffer& out, std::size_t start, float seconds, float base, const Partial* p,
           int count, float gain, float attack) {
    const float rate = static_cast<float>(out.sampleRate());
    const std::size_t length = static_cast<std::size_t>(seconds * rate);
    for (std::size_t i = 0; i < length; ++i) {
        const float t = static_cast<float>(i) / rate;
        float v = 0.0f;
        for (int k = 0; k < count; ++k)
            v += p[k].level * std::exp(-t / p[k].decay) * std::sin(kTwoPi * base * p[k].ratio * t);
        const float swell = attack > 0.0f && t < attack ? t / attack : 1.0f;
        out.add(start + i, v * gain * swell * tailFade(i, length, rate));
    }
}

}  // namespace

void Drum::play(Kind kind, SampleBuffer& out, std::size_t start, float velocity, float tune,
                Rng& rng) {
    const float rate = static_cast<float>(out.sampleRate());
    auto samples = [&](float seconds) { return static_cast<std::size_t>(seconds * rate); };

    switch (kind) {
        case Kind::Kick: {
            const std::size_t n = samples(0.42f);
            Filter beater(Filter::Mode::LowPass, rate);
            beater.set(3000.0f, 0.7f);
            float phase = 0.0f;
            for (std::size_t i = 0; i < n; ++i) {
                const float t = i / rate;
                const float f = (45.0f + 110.0f * std::exp(-t / 0.035f)) * tune;
                phase += f / rate;
                float v = std::sin(kTwoPi * phase) * std::exp(-t / 0.22f);
                v += beater.process(rng.bipolar()) * 0.5f * std::exp(-t / 0.003f);
                out.add(start + i, v * 0.9f * velocity * tailFade(i, n, rate));
            }
            break;
        }
        case Kind::Snare: {
            const std::size_t n = samples(0.26f);
            Filter hp(Filter::Mode::HighPass, rate);
            hp.set(1400.0f * tune, 0.7f);
            for (std::size_t i = 0; i < n; ++i) {
                const float t = i / rate;
                const float body = Oscillator::triangle(std::fmod(185.0f * tune * t, 1.0f)) *
                                   std::exp(-t / 0.05f) * 0.55f;
                const float rattle = hp.process(rng.bipolar()) * std::exp(-t / 0.09f);
                out.add(start + i, (body + rattle) * 0.6f * velocity * tailFade(i, n, rate));
            }
            break;
        }
        case Kind::ClosedHat:
        case Kind::OpenHat: {
            const bool open = kind == Kind::OpenHat;
            const std::size_t n = samples(open ? 0.35f : 0.07f);
            Filter hp(Filter::Mode::HighPass, rate);
            hp.set(7000.0f * tune, 0.8f);
            for (std::size_t i = 0; i < n; ++i) {
                const float t = i / rate;
                const float v = hp.process(rng.bipolar()) * std::exp(-t / (open ? 0.12f : 0.018f));
                out.add(start + i, v * 0.35f * velocity * tailFade(i, n, rate));
            }
            break;
        }
        case Kind::Clap: {
            const std::size_t n = samples(0.3f);
            Filter bp(Filter::Mode::BandPass, rate);
            bp.set(1150.0f * tune, 1.4f);
            for (std::size_t i = 0; i < n; ++i) {
                const float t = i / rate;
                float envelope = std::exp(-std::fmod(t, 0.011f) / 0.004f);
                if (t > 0.033f) envelope = std::exp(-(t - 0.033f) / 0.08f);
                out.add(start + i, bp.process(rng.bipolar()) * envelope * 1.2f * velocity *
                                       tailFade(i, n, rate));
            }
            break;
        }
        case Kind::Tom:
        case Kind::Taiko: {
            const bool taiko = kind == Kind::Taiko;
            const std::size_t n = samples(taiko ? 1.0f : 0.45f);
            const float low = (taiko ? 62.0f : 110.0f) * tune;
            Filter lp(Filter::Mode::LowPass, rate);
            lp.set(taiko ? 900.0f : 2500.0f, 0.7f);
            float phase = 0.0f;
            for (std::size_t i = 0; i < n; ++i) {
                const float t = i / rate;
                const float f = low * (1.0f + 0.5f * std::exp(-t / 0.03f));
                phase += f / rate;
                const float skin =
                    std::sin(kTwoPi * phase) * std::exp(-t / (taiko ? 0.35f : 0.16f));
                const float slap = lp.process(rng.bipolar()) * std::exp(-t / 0.02f) * 0.8f;
                out.add(start + i, (skin + slap) * 0.8f * velocity * tailFade(i, n, rate));
            }
            break;
        }
        case Kind::Timpani: {
            static const Partial parts[] = {{1.0f, 1.0f, 0.7f},
                                            {1.5f, 0.45f, 0.45f},
                                            {1.98f, 0.3f, 0.35f},
                                            {2.44f, 0.15f, 0.25f}};
            modal(out, start, 1.3f, 98.0f * tune, parts, 4, 0.55f * velocity, 0.003f);
            const std::size_t n = samples(0.03f);
            for (std::size_t i = 0; i < n; ++i)
                out.add(start + i,
                        rng.bipolar() * 0.25f * velocity * (1.0f - static_cast<float>(i) / n));
            break;
        }
        case Kind::Gong: {
            static const Partial parts[] = {{1.0f, 1.0f, 1.6f},   {1.52f, 0.6f, 1.3f},
                                            {2.21f, 0.45f, 1.0f}, {2.83f, 0.35f, 0.8f},
                                            {3.61f, 0.25f, 0.6f}, {4.93f, 0.15f, 0.4f}};
            modal(out, start, 3.2f, 92.0f * tune, parts, 6, 0.3f * velocity, 0.03f);
            break;
        }
        case Kind::Woodblock: {
            static const Partial parts[] = {{1.0f, 1.0f, 0.035f}, {2.7f, 0.35f, 0.015f}};
            modal(out, start, 0.12f, 900.0f * tune, parts, 2, 0.5f * velocity, 0.0f);
            break;
        }
        case Kind::Rim: {
            static const Partial parts[] = {{1.0f, 1.0f, 0.012f}, {1.9f, 0.6f, 0.01f}};
            modal(out, start, 0.05f, 1700.0f * tune, parts, 2, 0.45f * velocity, 0.0f);
            break;
        }
        case Kind::Shaker:
        case Kind::Tambourine: {
            const bool tam = kind == Kind::Tambourine;
            const std::size_t n = samples(tam ? 0.2f : 0.09f);
            Filter bp(Filter::Mode::BandPass, rate);
            bp.set((tam ? 8000.0f : 5500.0f) * tune, tam ? 2.5f : 1.2f);
            for (std::size_t i = 0; i < n; ++i) {
                const float t = i / rate;
                const float swell =
                    t < 0.012f ? t / 0.012f : std::exp(-(t - 0.012f) / (tam ? 0.06f : 0.03f));
                out.add(start + i,
                        bp.process(rng.bipolar()) * swell * 0.6f * velocity * tailFade(i, n, rate));
            }
            break;
        }
        case Kind::Crash: {
            const std::size_t n = samples(1.6f);
            Filter hp(Filter::Mode::HighPass, rate);
            hp.set(3500.0f * tune, 0.6f);
            for (std::size_t i = 0; i < n; ++i) {
                const float t = i / rate;
                const float shimmer =
                    std::sin(kTwoPi * 3170.0f * t + 2.0f * std::sin(kTwoPi * 4410.0f * t));
                const float v =
                    (hp.process(rng.bipolar()) + 0.15f * shimmer) * std::exp(-t / 0.45f);
                out.add(start + i, v * 0.3f * velocity * tailFade(i, n, rate));
            }
            break;
        }
    }
}
