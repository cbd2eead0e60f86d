#include "sound/Jingles.h"

#include <cmath>
#include <stdexcept>

#include "sound/Drum.h"
#include "sound/Filter.h"
#include "sound/Instrument.h"
#include "sound/Notation.h"
#include "sound/Oscillator.h"
#include "sound/Rng.h"
#include "sound/SfxKit.h"

namespace {

using K = SfxKit;
constexpr float kRate = static_cast<float>(SfxKit::kRate);

std::size_t at(float seconds) {
    return static_cast<std::size_t>(seconds * kRate);
}

// Plays a line of timed notes ("c5:2 e5:4") with one step lasting `step` seconds.
void line(SampleBuffer& b, const Instrument& in, const std::string& notes, float step, float start,
          float gain, Rng& rng) {
    float t = start;
    for (const Notation::Token& tok : Notation::tokens(notes)) {
        if (tok.symbol == "|") continue;
        const int midi = Notation::noteNumber(tok.symbol);
        if (midi >= 0)
            in.play(b, at(t), tok.steps * step * in.gate, static_cast<float>(midi),
                    tok.velocity * gain, rng);
        t += tok.steps * step;
    }
}

Instrument brassLead() {
    Instrument in;
    in.wave = Instrument::Wave::Pulse;
    in.duty = 0.25f;
    in.env = {0.006f, 0.25f, 0.75f, 0.12f};
    in.vibratoDepth = 0.15f;
    in.vibratoDelay = 0.18f;
    in.vibratoRate = 6.0f;
    return in;
}

Instrument bass() {
    Instrument in;
    in.wave = Instrument::Wave::Triangle;
    in.env = {0.004f, 0.3f, 0.8f, 0.1f};
    return in;
}

Instrument bell() {
    Instrument in;
    in.wave = Instrument::Wave::Fm;
    in.fmRatio = 3.5f;
    in.fmIndex = 1.6f;
    in.fmIndexDecay = 0.2f;
    in.env = {0.003f, 0.45f, 0.0f, 0.2f};
    in.gate = 1.0f;
    return in;
}

Instrument pad() {
    Instrument in;
    in.wave = Instrument::Wave::SuperSaw;
    in.cutoff = 1400.0f;
    in.env = {0.08f, 0.6f, 0.7f, 0.4f};
    in.detuneCents = 9.0f;
    return in;
}

SampleBuffer ready() {
    SampleBuffer b = K::buffer(1.3f);
    Rng rng(0x4EAD);
    const Instrument chime = bell();
    line(b, chime, "g5:1 d6:1 g6:4", 0.22f, 0.0f, 1.0f, rng);
    Filter band(Filter::Mode::BandPass, kRate);
    std::size_t i = 0;
    K::fill(b, 0.0f, 1.25f, [&](float t) {
        if ((i++ & 15) == 0) band.set(500.0f * std::pow(10.0f, t / 1.25f), 1.5f);
        const float swell = (t / 1.25f) * (t / 1.25f);
        return band.process(rng.bipolar()) * swell * 0.35f * std::min(1.0f, (1.25f - t) / 0.08f);
    });
    K::finish(b, 0.6f);
    return b;
}

SampleBuffer start() {
    SampleBuffer b = K::buffer(0.8f);
    Rng rng(0x60);
    Instrument stab = pad();
    stab.cutoff = 900.0f;
    stab.filterEnv = 5000.0f;
    stab.filterDecay = 0.12f;
    stab.env = {0.004f, 0.25f, 0.0f, 0.15f};
    for (int midi : {60, 64, 67, 72}) stab.play(b, 0, 0.5f, static_cast<float>(midi), 0.5f, rng);
    Instrument low = bass();
    low.play(b, 0, 0.4f, 48.0f, 0.8f, rng);
    Drum::play(Drum::Kind::Kick, b, 0, 1.0f, 1.0f, rng);
    Drum::play(Drum::Kind::Crash, b, 0, 0.9f, 1.0f, rng);
    K::finish(b, 0.75f);
    return b;
}

SampleBuffer win() {
    SampleBuffer b = K::buffer(2.3f);
    Rng rng(0x3141);
    const float step = 0.1f;
    line(b, brassLead(), "g4:1 c5:1 e5:1 g5:2 e5:1 g5:1 c6:10", step, 0.0f, 1.0f, rng);
    line(b, bass(), "c3:2 g2:2 c3:2 g2:1 c3:9", step, 0.0f, 0.9f, rng);
    Instrument harmony = pad();
    for (int midi : {60, 64, 67})
        harmony.play(b, at(0.7f), 1.0f, static_cast<float>(midi), 0.35f, rng);
    Drum::play(Drum::Kind::Snare, b, at(0.3f), 0.5f, 1.0f, rng);
    Drum::play(Drum::Kind::Crash, b, at(0.7f), 0.6f, 1.0f, rng);
    K::finish(b, 0.7f);
    return b;
}

SampleBuffer lose() {
    SampleBuffer b = K::buffer(2.0f);
    Rng rng(0x105E);
    Instrument lead = brassLead();
    lead.duty = 0.5f;
    lead.vibratoDepth = 0.3f;
    line(b, lead, "g4:1 f#4:1 f4:1 e4:4", 0.22f, 0.0f, 1.0f, rng);
    line(b, bass(), "c3:3 c2:4", 0.22f, 0.0f, 0.8f, rng);
    K::finish(b, 0.55f);
    return b;
}

// Neither triumph nor defeat: a repeated note settling on an open fifth.
SampleBuffer draw() {
    SampleBuffer b = K::buffer(1.8f);
    Rng rng(0xD4A3);
    Instrument piano;
    piano.wave = Instrument::Wave::Fm;
    piano.fmRatio = 1.0f;
    piano.fmIndex = 1.8f;
    piano.fmIndexDecay = 0.3f;
    piano.env = {0.004f, 0.5f, 0.2f, 0.3f};
    line(b, piano, "d5:1 r:1 d5:1 r:1", 0.14f, 0.0f, 1.0f, rng);
    for (int midi : {50, 57, 62, 69})
        piano.play(b, at(0.56f), 0.9f, static_cast<float>(midi), 0.55f, rng);
    K::finish(b, 0.6f);
    return b;
}

SampleBuffer gameover() {
    SampleBuffer b = K::buffer(4.0f);
    Rng rng(0x6A3E);
    Instrument lead;
    lead.wave = Instrument::Wave::Triangle;
    lead.env = {0.02f, 0.5f, 0.8f, 0.35f};
    lead.vibratoDepth = 0.2f;
    lead.vibratoRate = 4.5f;
    line(b, lead, "a4:2 g4:2 f4:2 e4:2 d4:8", 0.2f, 0.0f, 1.0f, rng);
    Instrument dark = pad();
    dark.cutoff = 900.0f;
    dark.env = {0.4f, 1.0f, 0.8f, 0.8f};
    for (int midi : {50, 53, 57}) dark.play(b, 0, 2.6f, static_cast<float>(midi), 0.35f, rng);
    line(b, bass(), "d3:4 a2:4 d2:8", 0.2f, 0.0f, 0.7f, rng);
    Drum::play(Drum::Kind::Timpani, b, at(1.6f), 1.0f, 0.75f, rng);
    K::finish(b, 0.7f);
    return b;
}

// Thirty seconds left: an alarm climbing by a semitone per pair.
SampleBuffer hurry() {
    SampleBuffer b = K::buffer(1.45f);
    Rng rng(0x4022);
    Instrument alarm;
    alarm.wave = Instrument::Wave::Pulse;
    alarm.duty = 0.5f;
    alarm.env = {0.002f, 0.1f, 0.8f, 0.02f};
    alarm.gate = 0.8f;
    for (int n = 0; n < 14; ++n) {
        const float midi = (n % 2 == 0 ? 83.0f : 78.0f) + static_cast<float>(n / 2) * 0.5f;
        alarm.play(b, at(n * 0.095f), 0.095f * alarm.gate, midi, 1.0f, rng);
        if (n % 2 == 0) Drum::play(Drum::Kind::Woodblock, b, at(n * 0.095f), 0.8f, 1.0f, rng);
    }
    K::finish(b, 0.55f);
    return b;
}

}  // namespace

const std::vector<std::string>& Jingles::names() {
    static const std::vector<std::string> all = {"draw",  "lose",     "win",  "ready",
                                                 "start", "gameover", "hurry"};
    return all;
}

SampleBuffer Jingles::make(const std::string& name) {
    if (name == "ready") return ready();
    if (name == "start") return start();
    if (name == "win") return win();
    if (name == "lose") return lose();
    if (name == "draw") return draw();
    if (name == "gameover") return gameover();
    if (name == "hurry") return hurry();
    throw std::invalid_argument("unknown jingle: " + name);
}
