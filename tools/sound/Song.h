// A music loop composed on a grid of sixteenth-note steps: a chord
// progression with one chord per bar (or two, written "Am,F"), melodies,
// bass lines and arpeggios written against it, and drum patterns. The loop
// is an exact number of bars; every note that rings past the end wraps
// round to the start, and the echo and room run round the loop too, so the
// last sample leads straight into the first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sound/Drum.h"
#include "sound/Instrument.h"
#include "sound/Notation.h"
#include "sound/Rng.h"
#include "sound/SampleBuffer.h"

class Song {
public:
    enum class Bus { Dry, Echo };

    // Steps are sixteenth notes; stepsPerBar is 16 for 4/4, 12 for 3/4.
    Song(int sampleRate, double bpm, int stepsPerBar, int bars, std::uint64_t seed);

    std::size_t stepSamples() const { return stepSamples_; }
    int bars() const { return bars_; }
    int stepsPerBar() const { return stepsPerBar_; }
    int totalSteps() const { return bars_ * stepsPerBar_; }

    // One chord token per bar; "X,Y" splits a bar into halves.
    void progression(const std::string& chords);

    // A written line of timed notes from `startBar`; returns the steps used.
    // Throws when it runs past the end of the song.
    int melody(const Instrument& in, const std::string& notes, int startBar, float gain,
               Bus bus = Bus::Echo, int transpose = 0);
    // A pattern of timed chord degrees repeated through bars [fromBar, toBar),
    // each note taken from the chord sounding at its step. `baseMidi` is the
    // MIDI note of the octave the chord roots are placed in.
    void degrees(const Instrument& in, const std::string& pattern, int baseMidi, int fromBar,
                 int toBar, float gain, Bus bus = Bus::Dry);
    // Whole chords, voiced upward from baseMidi, struck on the pattern's
    // "x" tokens ("x:4 r:4 x:8") through bars [fromBar, toBar).
    void strum(const Instrument& in, const std::string& pattern, int baseMidi, int fromBar,
               int toBar, float gain, Bus bus = Bus::Echo);
    // One character per step: 'x' hit, 'X' accent, 'o' soft, anything else
    // a rest. The pattern repeats through bars [fromBar, toBar).
    void drums(Drum::Kind kind, const std::string& pattern, int fromBar, int toBar, float gain,
               float tune = 1.0f);

    void setEcho(float delaySteps, float feedback, float mix) {
        echoSteps_ = delaySteps;
        echoFeedback_ = feedback;
        echoMix_ = mix;
    }
    void setRoom(float size, float mix) {
        roomSize_ = size;
        roomMix_ = mix;
    }

    // The finished loop, levelled to the given RMS.
    SampleBuffer render(float targetRms);

private:
    const Notation::Chord& chordAt(int step) const;
    SampleBuffer& bus(Bus b) { return b == Bus::Dry ? dry_ : wet_; }
    std::size_t at(int step) const { return static_cast<std::size_t>(step) * stepSamples_; }
    float seconds(int steps) const {
        return static_cast<float>(steps * stepSamples_) / static_cast<float>(sampleRate_);
    }

    int sampleRate_;
    int stepsPerBar_;
    int bars_;
    std::size_t stepSamples_;
    Rng rng_;
    std::vector<Notation::Chord> chordPerStep_;
    SampleBuffer dry_;
    SampleBuffer wet_;
    float echoSteps_ = 3.0f, echoFeedback_ = 0.3f, echoMix_ = 0.0f;
    float roomSize_ = 0.5f, roomMix_ = 0.0f;
};
