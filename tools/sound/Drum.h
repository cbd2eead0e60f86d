// Unpitched and tuned percussion, each synthesised from noise and sines.
#pragma once

#include <cstddef>

class Rng;
class SampleBuffer;

class Drum {
public:
    enum class Kind {
        Kick,
        Snare,
        ClosedHat,
        OpenHat,
        Clap,
        Tom,
        Taiko,
        Timpani,
        Gong,
        Woodblock,
        Shaker,
        Crash,
        Rim,
        Tambourine
    };

    // Adds one hit at sample `start`. `tune` scales the pitch of tuned drums
    // (1 = natural).
    static void play(Kind kind, SampleBuffer& out, std::size_t start, float velocity, float tune,
                     Rng& rng);
};
