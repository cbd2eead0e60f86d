// A pitched voice: one waveform shaped by an envelope, with optional
// low-pass filter sweep, vibrato, a slide into the note and breath noise.
#pragma once

#include <cstddef>

#include "sound/Envelope.h"

class Rng;
class SampleBuffer;

struct Instrument {
    enum class Wave {
        Pulse,  // square family; `duty` sets the width
        Saw,
        Triangle,
        Sine,
        Fm,        // two-operator FM: bells, electric piano, metal
        SuperSaw,  // three detuned saws: pads and strings
        Pluck,     // plucked string (delay-line synthesis): koto, harp, zither
    };

    Wave wave = Wave::Pulse;
    float volume = 0.3f;
    Envelope env;
    float duty = 0.5f;
    float cutoff = 0.0f;       // Hz; 0 leaves the voice unfiltered
    float filterEnv = 0.0f;    // Hz added to the cutoff at the note start
    float filterDecay = 0.2f;  // seconds for that opening to close
    float resonance = 0.7f;
    float vibratoDepth = 0.0f;   // semitones
    float vibratoRate = 5.5f;    // Hz
    float vibratoDelay = 0.15f;  // seconds before the vibrato sets in
    float fmRatio = 2.0f;
    float fmIndex = 1.0f;
    float fmIndexDecay = 0.0f;  // seconds; 0 keeps the index constant
    float detuneCents = 10.0f;  // SuperSaw spread
    float pluckDecay = 0.996f;  // string feedback per period
    float pluckBright = 0.5f;   // 0 dull to 1 bright
    float breath = 0.0f;        // level of noise blown into the tone
    float slide = 0.0f;         // semitones the note starts away from its pitch
    float slideTime = 0.04f;    // seconds to reach the pitch
    float gate = 0.92f;         // share of the written length the note is held

    // Adds one note to the buffer: starts at sample `start`, held for
    // `held` seconds, then released.
    void play(SampleBuffer& out, std::size_t start, float held, float midi, float velocity,
              Rng& rng) const;
};
