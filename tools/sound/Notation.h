// The little text notation the songs and jingles are written in.
//
// Notes: a letter a-g, an optional '#' or 'b', an octave digit ("c4" is
// middle C, MIDI 60); "r" is a rest. A timed token adds ":" and a length in
// steps (sixteenth notes): "e5:2", "r:4"; a trailing '!' accents the note,
// a trailing '?' plays it softly. "|" marks a bar line: it takes no time,
// and a line whose bar marks do not fall on bar lines is refused.
//
// Chords: a root as above without octave, then a quality: "" major, "m",
// "7", "m7", "maj7", "sus2", "sus4", "dim", "aug", "5", "6", "m6", "add9",
// "m9". "Am", "F#m7", "Bbmaj7".
//
// Chord degrees (for bass lines and arpeggios): "1" root, "3" the chord's
// third (or suspended note), "5" its fifth, "7" its seventh (the octave when
// the chord has none), "8" octave, "9" ninth, "10" and "12" the third and
// fifth an octave up, "15" two octaves up; a leading '_' drops an octave.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

class Notation {
public:
    struct Chord {
        int root = 0;                // pitch class 0 (C) to 11 (B)
        std::vector<int> intervals;  // semitones above the root, root first
    };
    struct Token {
        std::string symbol;  // note, degree, "r" or a drum letter
        int steps = 1;
        float velocity = 1.0f;
    };

    // MIDI number of a note name, -1 for a rest. Throws std::invalid_argument.
    static int noteNumber(const std::string& name);
    static Chord chord(const std::string& name);
    // Semitones above the chord's root for a degree symbol.
    static int degree(const Chord& chord, const std::string& symbol);
    // Splits "a:2 b:4! r:2" into tokens (a missing length means 1 step).
    static std::vector<Token> tokens(const std::string& text);
    static float frequency(float midi);
};
