#include "sound/Song.h"

#include <cmath>
#include <sstream>
#include <stdexcept>
#include <string>

Song::Song(int sampleRate, double bpm, int stepsPerBar, int bars, std::uint64_t seed)
    : sampleRate_(sampleRate),
      stepsPerBar_(stepsPerBar),
      bars_(bars),
      stepSamples_(static_cast<std::size_t>(std::lround(sampleRate * 15.0 / bpm))),
      rng_(seed),
      dry_(sampleRate, stepSamples_ * static_cast<std::size_t>(stepsPerBar * bars), true),
      wet_(sampleRate, stepSamples_ * static_cast<std::size_t>(stepsPerBar * bars), true) {}

void Song::progression(const std::string& chords) {
    std::istringstream in(chords);
    std::string bar;
    chordPerStep_.clear();
    while (in >> bar) {
        std::vector<std::string> parts;
        std::size_t from = 0;
        for (;;) {
            const std::size_t comma = bar.find(',', from);
            parts.push_back(bar.substr(from, comma - from));
            if (comma == std::string::npos) break;
            from = comma + 1;
        }
        const int each = stepsPerBar_ / static_cast<int>(parts.size());
        for (std::size_t p = 0; p < parts.size(); ++p) {
            const Notation::Chord c = Notation::chord(parts[p]);
            const int count =
                p + 1 == parts.size() ? stepsPerBar_ - each * static_cast<int>(p) : each;
            for (int s = 0; s < count; ++s) chordPerStep_.push_back(c);
        }
    }
    if (static_cast<int>(chordPerStep_.size()) != totalSteps())
        throw std::invalid_argument("progression does not fill the song: " + chords);
}

const Notation::Chord& Song::chordAt(int step) const {
    if (chordPerStep_.empty()) throw std::logic_error("no progression set");
    return chordPerStep_[static_cast<std::size_t>(step % totalSteps())];
}

int Song::melody(const Instrument& in, const std::string& notes, int startBar, float gain, Bus b,
                 int transpose) {
    int step = startBar * stepsPerBar_;
    for (const Notation::Token& t : Notation::tokens(notes)) {
        if (t.symbol == "|") {
            if (step % stepsPerBar_ != 0)
                throw std::invalid_argument("bar line off the beat at step " +
                                            std::to_string(step) + ": " + notes);
            continue;
        }
        const int midi = Notation::noteNumber(t.symbol);
        if (midi >= 0)
            in.play(bus(b), at(step), seconds(t.steps) * in.gate,
                    static_cast<float>(midi + transpose), t.velocity * gain, rng_);
        step += t.steps;
        if (step > totalSteps()) throw std::invalid_argument("melody runs past the end: " + notes);
    }
    return step - startBar * stepsPerBar_;
}

void Song::degrees(const Instrument& in, const std::string& pattern, int baseMidi, int fromBar,
                   int toBar, float gain, Bus b) {
    const std::vector<Notation::Token> tokens = Notation::tokens(pattern);
    if (tokens.empty()) return;
    const int end = toBar * stepsPerBar_;
    int step = fromBar * stepsPerBar_;
    while (step < end) {
        for (const Notation::Token& t : tokens) {
            if (step >= end) break;
            if (t.symbol != "r") {
                const Notation::Chord& c = chordAt(step);
                const int midi = baseMidi + c.root + Notation::degree(c, t.symbol);
                in.play(bus(b), at(step), seconds(t.steps) * in.gate, static_cast<float>(midi),
                        t.velocity * gain, rng_);
            }
            step += t.steps;
        }
    }
}

void Song::strum(const Instrument& in, const std::string& pattern, int baseMidi, int fromBar,
                 int toBar, float gain, Bus b) {
    const std::vector<Notation::Token> tokens = Notation::tokens(pattern);
    if (tokens.empty()) return;
    const int end = toBar * stepsPerBar_;
    int step = fromBar * stepsPerBar_;
    while (step < end) {
        for (const Notation::Token& t : tokens) {
            if (step >= end) break;
            if (t.symbol != "r") {
                const Notation::Chord& c = chordAt(step);
                // Distinct chord tones only ("5" chords repeat their fifth).
                std::vector<int> tones;
                for (int iv : c.intervals)
                    if (tones.empty() || tones.back() != iv) tones.push_back(iv);
                const float each = gain / std::sqrt(static_cast<float>(tones.size()));
                for (int iv : tones)
                    in.play(bus(b), at(step), seconds(t.steps) * in.gate,
                            static_cast<float>(baseMidi + c.root + iv), t.velocity * each, rng_);
            }
            step += t.steps;
        }
    }
}

void Song::drums(Drum::Kind kind, const std::string& pattern, int fromBar, int toBar, float gain,
                 float tune) {
    if (pattern.empty()) return;
    const int end = toBar * stepsPerBar_;
    std::size_t i = 0;
    for (int step = fromBar * stepsPerBar_; step < end; ++step, ++i) {
        const char c = pattern[i % pattern.size()];
        float velocity = 0.0f;
        if (c == 'x')
            velocity = 1.0f;
        else if (c == 'X')
            velocity = 1.3f;
        else if (c == 'o')
            velocity = 0.55f;
        if (velocity > 0.0f) Drum::play(kind, dry_, at(step), velocity * gain, tune, rng_);
    }
}

SampleBuffer Song::render(float targetRms) {
    if (echoMix_ > 0.0f) {
        const float delay = echoSteps_ * static_cast<float>(stepSamples_) / sampleRate_;
        wet_.echo(delay, echoFeedback_, echoMix_, 3000.0f);
    }
    SampleBuffer mix(sampleRate_, dry_.size(), true);
    mix.mix(dry_, 0, 1.0f);
    mix.mix(wet_, 0, 1.0f);
    if (roomMix_ > 0.0f) mix.reverb(roomSize_, roomMix_, 0.35f);
    mix.removeDc();
    const float level = mix.rms();
    if (level > 0.0f) mix.scale(targetRms / level);
    mix.softClip(0.7f);
    return mix;
}
