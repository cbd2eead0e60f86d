#include "sound/SoundEffects.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "sound/Filter.h"
#include "sound/Instrument.h"
#include "sound/Oscillator.h"
#include "sound/Rng.h"
#include "sound/SfxKit.h"

namespace {

using K = SfxKit;
constexpr float kRate = static_cast<float>(SfxKit::kRate);
constexpr float kTwoPi = SfxKit::kTwoPi;

// Bombs and missiles free their copy of this sound 700 ms after the blast,
// so it is shaped to have died away completely by then.
SampleBuffer explosion() {
    const float length = 0.68f;
    SampleBuffer b = K::buffer(length);
    Rng rng(0xB00B5);
    Filter body(Filter::Mode::LowPass, kRate), rumble(Filter::Mode::LowPass, kRate);
    rumble.set(160.0f, 0.8f);
    float phase = 0.0f, crackle = 0.0f;
    std::size_t i = 0;
    K::fill(b, 0.0f, length, [&](float t) {
        const float f = K::glide(96.0f, 30.0f, t, 0.09f);
        phase += f / kRate;
        const float boom =
            std::sin(kTwoPi * phase) * std::min(1.0f, t / 0.003f) * std::exp(-t / 0.21f);
        if ((i++ & 15) == 0) body.set(220.0f + 6500.0f * std::exp(-t / 0.06f), 0.9f);
        const float noise = rng.bipolar();
        const float roar = body.process(noise) * std::exp(-t / 0.15f) * 1.3f;
        const float low = rumble.process(noise) * std::exp(-t / 0.26f) * 4.0f;
        const float crack = t < 0.012f ? noise * (1.0f - t / 0.012f) : 0.0f;
        if (rng.uniform() < 0.003f * std::exp(-t / 0.18f)) crackle = rng.bipolar();
        crackle *= 0.93f;
        float v = boom * 1.1f + roar + low + crack * 0.7f + crackle * 0.35f * std::exp(-t / 0.25f);
        v = std::tanh(v * 1.7f);
        const float u = t / length;
        return u > 0.55f ? v * std::pow((1.0f - u) / 0.45f, 2.0f) : v;
    });
    K::finish(b, 0.85f);
    return b;
}

SampleBuffer bombDrop() {
    SampleBuffer b = K::buffer(0.32f);
    Rng rng(0xD209);
    Filter clack(Filter::Mode::BandPass, kRate), hiss(Filter::Mode::HighPass, kRate);
    clack.set(2300.0f, 2.0f);
    hiss.set(5200.0f, 0.7f);
    float phase = 0.0f;
    K::fill(b, 0.0f, 0.32f, [&](float t) {
        phase += K::glide(170.0f, 78.0f, t, 0.03f) / kRate;
        const float thud = std::sin(kTwoPi * phase) * std::exp(-t / 0.06f);
        const float n = rng.bipolar();
        const float click = clack.process(n) * std::exp(-t / 0.012f) * 1.5f;
        const float fuse = t > 0.04f ? hiss.process(n) * 0.22f *
                                           (0.6f + 0.4f * std::sin(kTwoPi * 37.0f * t)) *
                                           std::exp(-(t - 0.04f) / 0.12f)
                                     : 0.0f;
        return thud + click + fuse;
    });
    K::finish(b, 0.6f);
    return b;
}

SampleBuffer kick() {
    SampleBuffer b = K::buffer(0.2f);
    Rng rng(0x41C4);
    Filter swoosh(Filter::Mode::BandPass, kRate);
    float phase = 0.0f;
    std::size_t i = 0;
    K::fill(b, 0.0f, 0.2f, [&](float t) {
        phase += K::glide(230.0f, 70.0f, t, 0.04f) / kRate;
        const float punch = std::sin(kTwoPi * phase) * std::exp(-t / 0.05f);
        if ((i++ & 15) == 0) swoosh.set(K::glide(600.0f, 2600.0f, t, 0.05f), 1.5f);
        const float air = swoosh.process(rng.bipolar()) * std::exp(-t / 0.05f) * 0.9f;
        const float click = t < 0.005f ? rng.bipolar() * (1.0f - t / 0.005f) * 0.6f : 0.0f;
        return punch + air + click;
    });
    K::finish(b, 0.65f);
    return b;
}

SampleBuffer block() {
    SampleBuffer b = K::buffer(0.26f);
    Rng rng(0xB10C);
    Filter crunch(Filter::Mode::LowPass, kRate);
    crunch.set(1500.0f, 0.7f);
    const float modes[4][3] = {{180.0f, 1.0f, 0.08f},
                               {437.0f, 0.6f, 0.05f},
                               {712.0f, 0.4f, 0.03f},
                               {1133.0f, 0.25f, 0.02f}};
    K::fill(b, 0.0f, 0.26f, [&](float t) {
        float v = 0.0f;
        for (const auto& m : modes) v += m[1] * std::exp(-t / m[2]) * std::sin(kTwoPi * m[0] * t);
        v += crunch.process(rng.bipolar()) * std::exp(-t / 0.04f) * 1.6f;
        return v;
    });
    K::finish(b, 0.65f);
    return b;
}

SampleBuffer powerup() {
    SampleBuffer b = K::buffer(0.5f);
    Rng rng(0x9017);
    Instrument lead;
    lead.wave = Instrument::Wave::Pulse;
    lead.duty = 0.25f;
    lead.env = {0.002f, 0.2f, 0.6f, 0.05f};
    Instrument sparkle = lead;
    sparkle.wave = Instrument::Wave::Sine;
    const int notes[4] = {76, 80, 83, 88};  // E5 G#5 B5 E6
    for (int n = 0; n < 4; ++n) {
        const std::size_t at = static_cast<std::size_t>(n * 0.065f * kRate);
        const float held = n == 3 ? 0.22f : 0.06f;
        lead.play(b, at, held, static_cast<float>(notes[n]), 1.0f, rng);
        sparkle.play(b, at, held, static_cast<float>(notes[n] + 12), 0.35f, rng);
    }
    K::finish(b, 0.55f);
    return b;
}

SampleBuffer health() {
    SampleBuffer b = K::buffer(0.85f);
    Rng rng(0x4EA1);
    Instrument bell;
    bell.wave = Instrument::Wave::Fm;
    bell.fmRatio = 3.0f;
    bell.fmIndex = 1.2f;
    bell.fmIndexDecay = 0.15f;
    bell.env = {0.004f, 0.35f, 0.0f, 0.15f};
    const int notes[3] = {84, 88, 91};  // C6 E6 G6, rolled
    for (int n = 0; n < 3; ++n)
        bell.play(b, static_cast<std::size_t>(n * 0.06f * kRate), 0.55f,
                  static_cast<float>(notes[n]), 1.0f, rng);
    float phase = 0.0f;
    K::fill(b, 0.0f, 0.7f, [&](float t) {
        phase += K::glide(480.0f, 1500.0f, t, 0.3f) / kRate;
        const float warm = std::sin(kTwoPi * phase) * (0.6f + 0.4f * std::sin(kTwoPi * 14.0f * t));
        return warm * 0.25f * std::sin(3.14159265f * t / 0.7f);
    });
    K::finish(b, 0.55f);
    return b;
}

SampleBuffer missile() {
    SampleBuffer b = K::buffer(0.5f);
    Rng rng(0x3155);
    Filter band(Filter::Mode::BandPass, kRate), tone(Filter::Mode::LowPass, kRate);
    tone.set(1200.0f, 0.8f);
    Oscillator osc(kRate);
    std::size_t i = 0;
    K::fill(b, 0.0f, 0.5f, [&](float t) {
        if ((i++ & 15) == 0) band.set(K::glide(320.0f, 3000.0f, t, 0.18f), 1.3f);
        const float rise = std::min(1.0f, t / 0.04f) * std::exp(-t / 0.2f);
        const float whoosh = band.process(rng.bipolar()) * rise * 2.0f;
        const float f = K::glide(110.0f, 240.0f, t, 0.12f);
        const float p = osc.step(f);
        const float rocket = tone.process(Oscillator::saw(p, osc.increment(f))) * rise *
                             (0.7f + 0.3f * rng.uniform());
        const float pop = t < 0.01f ? rng.bipolar() * (1.0f - t / 0.01f) : 0.0f;
        return whoosh + rocket * 0.6f + pop * 0.5f;
    });
    K::finish(b, 0.6f);
    return b;
}

// Played every 100 ms while a player is hurt: short so that repeats stay distinct.
SampleBuffer hurt() {
    SampleBuffer b = K::buffer(0.11f);
    Rng rng(0x4027);
    Oscillator osc(kRate);
    K::fill(b, 0.0f, 0.11f, [&](float t) {
        const float f = K::glide(340.0f, 190.0f, t, 0.04f);
        const float p = osc.step(f);
        const float v = Oscillator::pulse(p, osc.increment(f), 0.3f) + rng.bipolar() * 0.35f;
        return v * std::min(1.0f, t / 0.004f) * (1.0f - t / 0.11f);
    });
    K::finish(b, 0.5f);
    return b;
}

SampleBuffer death() {
    SampleBuffer b = K::buffer(1.15f);
    Rng rng(0xDEAD);
    Oscillator osc(kRate);
    Filter puff(Filter::Mode::LowPass, kRate);
    puff.set(900.0f, 0.7f);
    K::fill(b, 0.0f, 0.9f, [&](float t) {
        const float f =
            K::glide(720.0f, 85.0f, t, 0.35f) * (1.0f + 0.08f * std::sin(kTwoPi * 11.0f * t));
        const float p = osc.step(f);
        return Oscillator::pulse(p, osc.increment(f), 0.5f) * 0.5f * std::min(1.0f, t / 0.01f) *
               (1.0f - t / 0.9f);
    });
    K::fill(b, 0.55f, 1.15f, [&](float t) {
        const float swell = t < 0.05f ? t / 0.05f : std::exp(-(t - 0.05f) / 0.15f);
        return puff.process(rng.bipolar()) * swell * 0.9f;
    });
    K::finish(b, 0.5f);
    return b;
}

SampleBuffer hit() {
    SampleBuffer b = K::buffer(0.2f);
    Rng rng(0x417);
    Oscillator osc(kRate);
    Filter band(Filter::Mode::BandPass, kRate);
    band.set(3000.0f, 1.2f);
    K::fill(b, 0.0f, 0.2f, [&](float t) {
        const float f = K::glide(1050.0f, 240.0f, t, 0.04f);
        const float p = osc.step(f);
        const float zap =
            Oscillator::pulse(p, osc.increment(f), 0.5f) * std::exp(-t / 0.06f) * 0.6f;
        const float burst = band.process(rng.bipolar()) * std::exp(-t / 0.02f) * 1.5f;
        return zap + burst;
    });
    K::finish(b, 0.55f);
    return b;
}

SampleBuffer enemyDeath() {
    SampleBuffer b = K::buffer(0.68f);
    Rng rng(0xE4E);
    Filter pop(Filter::Mode::BandPass, kRate);
    pop.set(800.0f, 1.0f);
    float carrier = 0.0f, modulator = 0.0f;
    K::fill(b, 0.0f, 0.68f, [&](float t) {
        const float f = K::glide(620.0f, 55.0f, t, 0.18f);
        modulator += f * 1.5f / kRate;
        carrier += f / kRate;
        const float index = 3.0f * std::exp(-t / 0.25f);
        const float bloop = std::sin(kTwoPi * carrier + index * std::sin(kTwoPi * modulator));
        const float env = std::min(1.0f, t / 0.005f) * (1.0f - t / 0.68f);
        return bloop * env * 0.7f + pop.process(rng.bipolar()) * std::exp(-t / 0.05f) * 1.4f;
    });
    K::finish(b, 0.6f);
    return b;
}

// A mech locking on: two ring-modulated beeps over a servo whine.
SampleBuffer robot1() {
    SampleBuffer b = K::buffer(0.4f);
    Oscillator beep(kRate), servo(kRate);
    K::fill(b, 0.0f, 0.4f, [&](float t) {
        float f = 0.0f, env = 0.0f;
        if (t < 0.12f) {
            f = 880.0f;
            env = std::min(1.0f, t / 0.004f) * std::min(1.0f, (0.12f - t) / 0.006f);
        } else if (t > 0.15f && t < 0.32f) {
            f = 587.0f;
            env = std::min(1.0f, (t - 0.15f) / 0.004f) * std::min(1.0f, (0.32f - t) / 0.01f);
        }
        const float p = beep.step(f > 0.0f ? f : 1.0f);
        const float ring = 0.55f + 0.45f * std::sin(kTwoPi * 55.0f * t);
        const float tone = Oscillator::pulse(p, beep.increment(f), 0.5f) * ring * env;
        const float sf = 200.0f + 500.0f * t;
        const float sp = servo.step(sf);
        const float whine =
            Oscillator::saw(sp, servo.increment(sf)) * 0.12f * std::sin(3.14159265f * t / 0.4f);
        return tone + whine;
    });
    K::finish(b, 0.4f);
    return b;
}

SampleBuffer robotHit() {
    SampleBuffer b = K::buffer(0.45f);
    Rng rng(0x40B);
    Filter tick(Filter::Mode::HighPass, kRate);
    tick.set(4000.0f, 0.7f);
    const float modes[5][3] = {{340.0f, 1.0f, 0.3f},
                               {938.0f, 0.7f, 0.18f},
                               {1836.0f, 0.5f, 0.11f},
                               {3036.0f, 0.35f, 0.07f},
                               {4522.0f, 0.2f, 0.05f}};
    K::fill(b, 0.0f, 0.45f, [&](float t) {
        float v = 0.0f;
        for (const auto& m : modes) v += m[1] * std::exp(-t / m[2]) * std::sin(kTwoPi * m[0] * t);
        return v + tick.process(rng.bipolar()) * std::exp(-t / 0.01f) * 1.2f;
    });
    K::finish(b, 0.6f);
    return b;
}

SampleBuffer dragonHit() {
    SampleBuffer b = K::buffer(0.55f);
    Rng rng(0xD2A6);
    Oscillator osc(kRate);
    Filter formant(Filter::Mode::BandPass, kRate), body(Filter::Mode::LowPass, kRate),
        breath(Filter::Mode::BandPass, kRate);
    formant.set(620.0f, 2.0f);
    body.set(1300.0f, 0.8f);
    breath.set(950.0f, 1.0f);
    float wobble = 0.0f;
    K::fill(b, 0.0f, 0.55f, [&](float t) {
        wobble += (rng.bipolar() * 0.08f - wobble) * 0.002f;
        const float f = 78.0f * (1.0f + wobble + 0.2f * std::exp(-t / 0.08f));
        const float p = osc.step(f);
        const float rough = 0.6f + 0.4f * std::sin(kTwoPi * 29.0f * t);
        const float saw = Oscillator::saw(p, osc.increment(f)) * rough;
        const float voice = body.process(saw) + formant.process(saw) * 1.5f;
        const float env = std::min(1.0f, t / 0.03f) * std::exp(-t / 0.25f);
        return (voice + breath.process(rng.bipolar()) * 0.8f) * env;
    });
    K::finish(b, 0.85f);
    return b;
}

// "Hai!": a voiced burst through three moving formants, from an open vowel
// to a closed one, after a breath of aspiration.
SampleBuffer ninjaShout() {
    const float length = 0.34f;
    SampleBuffer b = K::buffer(length);
    Rng rng(0x5407);
    Oscillator glottis(kRate);
    Filter f1(Filter::Mode::BandPass, kRate), f2(Filter::Mode::BandPass, kRate),
        f3(Filter::Mode::BandPass, kRate);
    const float open[3] = {760.0f, 1150.0f, 2450.0f};
    const float closed[3] = {300.0f, 2250.0f, 3000.0f};
    std::size_t i = 0;
    float jitter = 0.0f;
    K::fill(b, 0.0f, length, [&](float t) {
        const float m = std::clamp((t - 0.15f) / 0.12f, 0.0f, 1.0f);
        const float morph = m * m * (3.0f - 2.0f * m);
        if ((i++ & 7) == 0) {
            f1.set(open[0] + (closed[0] - open[0]) * morph, 5.0f);
            f2.set(open[1] + (closed[1] - open[1]) * morph, 7.0f);
            f3.set(open[2] + (closed[2] - open[2]) * morph, 9.0f);
        }
        jitter += (rng.bipolar() - jitter) * 0.01f;
        const float contour =
            t < 0.08f ? 205.0f + 60.0f * (t / 0.08f) : 265.0f - 80.0f * ((t - 0.08f) / 0.26f);
        const float pitch = contour * (1.0f + 0.03f * jitter);
        const float p = glottis.step(pitch);
        // A saw leans like the glottal pulse; the voice starts after the "h".
        const float voiced = t < 0.035f ? 0.0f
                                        : Oscillator::saw(p, glottis.increment(pitch)) *
                                              std::min(1.0f, (t - 0.035f) / 0.02f);
        const float aspiration = rng.bipolar() * (t < 0.05f ? 0.9f : 0.15f);
        const float source = voiced + aspiration;
        // The closed vowel is carried by its high second formant.
        const float v = f1.process(source) * (1.0f - 0.3f * morph) +
                        f2.process(source) * (0.7f + 0.6f * morph) + f3.process(source) * 0.35f;
        const float tail = t > length - 0.09f ? (length - t) / 0.09f : 1.0f;
        return v * std::min(1.0f, t / 0.01f) * tail;
    });
    K::finish(b, 0.65f);
    return b;
}

SampleBuffer ninjaThrow() {
    const float length = 0.3f;
    SampleBuffer b = K::buffer(length);
    Rng rng(0x7440);
    Filter band(Filter::Mode::BandPass, kRate);
    float carrier = 0.0f, modulator = 0.0f;
    std::size_t i = 0;
    K::fill(b, 0.0f, length, [&](float t) {
        const float u = t / length;
        if ((i++ & 15) == 0)
            band.set(800.0f + 3200.0f * std::sin(3.14159265f * std::min(1.0f, u * 1.3f)), 2.0f);
        const float swing = std::sin(3.14159265f * u);
        const float whoosh = band.process(rng.bipolar()) * swing * swing * 2.2f;
        float shing = 0.0f;
        if (t > 0.02f) {
            const float s = t - 0.02f;
            carrier += 3200.0f / kRate;
            modulator += 3200.0f * 1.41f / kRate;
            shing = std::sin(kTwoPi * carrier + 2.0f * std::sin(kTwoPi * modulator)) *
                    std::exp(-s / 0.07f) * 0.3f;
        }
        return whoosh + shing;
    });
    K::finish(b, 0.55f);
    return b;
}

SampleBuffer menuTick() {
    SampleBuffer b = K::buffer(0.05f);
    Rng rng(0x3E40);
    K::fill(b, 0.0f, 0.05f, [&](float t) {
        const float tone = std::sin(kTwoPi * 2000.0f * t) + 0.5f * std::sin(kTwoPi * 3000.0f * t);
        const float click = t < 0.002f ? rng.bipolar() * 0.5f : 0.0f;
        return (tone + click) * std::exp(-t / 0.008f);
    });
    K::finish(b, 0.4f);
    return b;
}

SampleBuffer menuSelect() {
    SampleBuffer b = K::buffer(0.2f);
    Rng rng(0x5E1);
    Instrument blip;
    blip.wave = Instrument::Wave::Pulse;
    blip.duty = 0.25f;
    blip.env = {0.002f, 0.05f, 0.5f, 0.03f};
    blip.play(b, 0, 0.05f, 79.0f, 1.0f, rng);                                        // G5
    blip.play(b, static_cast<std::size_t>(0.06f * kRate), 0.09f, 86.0f, 1.0f, rng);  // D6
    K::finish(b, 0.5f);
    return b;
}

}  // namespace

const std::vector<std::string>& SoundEffects::names() {
    static const std::vector<std::string> all = {
        "block",      "bombDrop",   "death",     "health",    "kick", "missile",
        "powerup",    "hurt",       "explosion", "robot1",    "hit",  "enemyDeath",
        "ninjaShout", "ninjaThrow", "robotHit",  "dragonHit", "menu", "menuSelect"};
    return all;
}

SampleBuffer SoundEffects::make(const std::string& name) {
    if (name == "explosion") return explosion();
    if (name == "bombDrop") return bombDrop();
    if (name == "kick") return kick();
    if (name == "block") return block();
    if (name == "powerup") return powerup();
    if (name == "health") return health();
    if (name == "missile") return missile();
    if (name == "hurt") return hurt();
    if (name == "death") return death();
    if (name == "hit") return hit();
    if (name == "enemyDeath") return enemyDeath();
    if (name == "robot1") return robot1();
    if (name == "robotHit") return robotHit();
    if (name == "dragonHit") return dragonHit();
    if (name == "ninjaShout") return ninjaShout();
    if (name == "ninjaThrow") return ninjaThrow();
    if (name == "menu") return menuTick();
    if (name == "menuSelect") return menuSelect();
    throw std::invalid_argument("unknown sound effect: " + name);
}
