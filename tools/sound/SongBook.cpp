#include "sound/SongBook.h"

#include <stdexcept>
#include <string>

#include "sound/Song.h"

namespace {

using Kind = Drum::Kind;
using Wave = Instrument::Wave;
constexpr float kLevel = 0.11f;  // RMS of every loop, a little under the effects

// ---- instruments --------------------------------------------------------

Instrument pulseLead(float duty) {
    Instrument in;
    in.wave = Wave::Pulse;
    in.duty = duty;
    in.volume = 0.32f;
    in.env = {0.006f, 0.3f, 0.7f, 0.08f};
    in.vibratoDepth = 0.12f;
    in.vibratoDelay = 0.2f;
    return in;
}

Instrument triangleBass() {
    Instrument in;
    in.wave = Wave::Triangle;
    in.volume = 0.5f;
    in.env = {0.004f, 0.2f, 0.8f, 0.05f};
    in.gate = 0.85f;
    return in;
}

Instrument sawBass(float cutoff) {
    Instrument in;
    in.wave = Wave::Saw;
    in.volume = 0.4f;
    in.cutoff = cutoff;
    in.filterEnv = cutoff * 3.0f;
    in.filterDecay = 0.08f;
    in.resonance = 1.4f;
    in.env = {0.003f, 0.15f, 0.7f, 0.04f};
    in.gate = 0.8f;
    return in;
}

Instrument bell(float ratio, float index) {
    Instrument in;
    in.wave = Wave::Fm;
    in.volume = 0.22f;
    in.fmRatio = ratio;
    in.fmIndex = index;
    in.fmIndexDecay = 0.25f;
    in.env = {0.003f, 0.4f, 0.0f, 0.25f};
    in.gate = 1.0f;
    return in;
}

Instrument electricPiano() {
    Instrument in;
    in.wave = Wave::Fm;
    in.volume = 0.22f;
    in.fmRatio = 1.0f;
    in.fmIndex = 1.4f;
    in.fmIndexDecay = 0.35f;
    in.env = {0.005f, 0.6f, 0.35f, 0.2f};
    return in;
}

Instrument pad(float cutoff) {
    Instrument in;
    in.wave = Wave::SuperSaw;
    in.volume = 0.16f;
    in.cutoff = cutoff;
    in.env = {0.25f, 0.8f, 0.75f, 0.4f};
    in.detuneCents = 11.0f;
    in.gate = 1.0f;
    return in;
}

Instrument pluck(float bright, float decay) {
    Instrument in;
    in.wave = Wave::Pluck;
    in.volume = 0.55f;
    in.pluckBright = bright;
    in.pluckDecay = decay;
    in.env = {0.001f, 0.0f, 1.0f, 0.12f};
    in.gate = 1.0f;
    return in;
}

Instrument flute() {
    Instrument in;
    in.wave = Wave::Sine;
    in.volume = 0.34f;
    in.breath = 0.25f;
    in.env = {0.06f, 0.4f, 0.8f, 0.15f};
    in.vibratoDepth = 0.22f;
    in.vibratoRate = 5.0f;
    in.vibratoDelay = 0.25f;
    in.slide = -0.8f;
    in.slideTime = 0.05f;
    return in;
}

Instrument brass() {
    Instrument in;
    in.wave = Wave::Saw;
    in.volume = 0.3f;
    in.cutoff = 900.0f;
    in.filterEnv = 2600.0f;
    in.filterDecay = 0.18f;
    in.env = {0.025f, 0.35f, 0.8f, 0.1f};
    in.vibratoDepth = 0.1f;
    in.vibratoDelay = 0.3f;
    return in;
}

Instrument erhu() {
    Instrument in;
    in.wave = Wave::Saw;
    in.volume = 0.3f;
    in.cutoff = 2200.0f;
    in.resonance = 1.2f;
    in.env = {0.04f, 0.4f, 0.85f, 0.12f};
    in.vibratoDepth = 0.35f;
    in.vibratoRate = 6.2f;
    in.vibratoDelay = 0.12f;
    in.slide = -1.5f;
    in.slideTime = 0.06f;
    return in;
}

// ---- the loops ----------------------------------------------------------

// A melody that must run from its first bar exactly to the end of the loop.
void theme(Song& s, const Instrument& in, const std::string& notes, int startBar, float gain) {
    const int steps = s.melody(in, notes, startBar, gain);
    if (steps + startBar * s.stepsPerBar() != s.totalSteps())
        throw std::logic_error("melody does not end with the loop: " + notes);
}

// Menu: a determined D minor theme at a brisk march.
SampleBuffer menuTheme() {
    Song s(SongBook::kRate, 126.0, 16, 16, 0x3E4);
    s.progression("Dm Bb C Dm  Dm Bb C A  Bb F C Dm  Gm Bb A A7");
    theme(s, pulseLead(0.25f),
          "d5:4 a4:2 d5:2 f5:4 e5:2 d5:2 | d5:3 c5:1 bb4:4 f5:6 r:2 | "
          "e5:4 c5:2 e5:2 g5:4 f5:2 e5:2 | f5:3 e5:1 d5:8 r:4 | "
          "d5:4 a4:2 d5:2 f5:4 g5:2 a5:2 | bb5:4 a5:2 g5:2 f5:4 d5:4 | "
          "e5:2 f5:2 g5:2 e5:2 c5:4 e5:4 | c#5:4 e5:4 a5:6 r:2 | "
          "f5:6 d5:2 bb4:4 d5:4 | c5:6 a4:2 f5:4 a5:4 | "
          "g5:6 e5:2 c5:4 e5:2 g5:2 | a5:8 f5:4 d5:4 | "
          "bb5:4 a5:2 g5:2 d5:4 g5:4 | f5:4 d5:2 bb4:2 f5:4 bb5:4 | "
          "a5:6 g5:2 e5:4 c#5:4 | e5:4 c#5:2 a4:6 r:4",
          0, 1.0f);
    s.degrees(triangleBass(), "1:2 1:2 8:2 1:2 1:2 1:2 8:2 5:2", 36, 0, 16, 1.0f);
    Instrument arp = pulseLead(0.125f);
    arp.volume = 0.12f;
    arp.vibratoDepth = 0.0f;
    arp.env = {0.002f, 0.08f, 0.3f, 0.03f};
    s.degrees(arp, "1 5 8 10 12 10 8 5 1 5 8 10 12 10 8 5", 60, 8, 16, 1.0f, Song::Bus::Echo);
    s.strum(pad(1200.0f), "x:16", 48, 0, 16, 0.8f);
    s.drums(Kind::Kick, "x.......x.x.....", 0, 16, 0.9f);
    s.drums(Kind::Snare, "....x.......x...", 0, 15, 0.8f);
    s.drums(Kind::Snare, "....x...x.x.xxXX", 15, 16, 0.8f);
    s.drums(Kind::Tom, "........x.x.x.x.", 15, 16, 0.6f, 0.9f);
    s.drums(Kind::ClosedHat, "x.o.x.o.x.o.x.o.", 0, 16, 0.8f);
    s.drums(Kind::Crash, "X...............", 0, 1, 0.7f);
    s.drums(Kind::Crash, "X...............", 8, 9, 0.6f);
    s.setEcho(3.0f, 0.3f, 0.25f);
    s.setRoom(0.4f, 0.15f);
    return s.render(kLevel);
}

// Credits: an unhurried F major tune on electric piano and flute.
SampleBuffer creditsTheme() {
    Song s(SongBook::kRate, 92.0, 16, 12, 0xC4ED);
    s.progression("Fmaj7 Am7 Bbmaj7 C  Fmaj7 Am7 Bbmaj7 C7  Dm7 Gm7 Bbmaj7 C7");
    theme(s, flute(),
          "c5:6 a4:2 e5:8 | e5:4 d5:2 c5:2 a4:8 | d5:6 f5:2 a5:6 g5:2 | g5:8 e5:4 r:4 | "
          "c5:6 a4:2 e5:6 f5:2 | g5:4 e5:4 c5:4 e5:4 | f5:6 d5:2 bb4:6 c5:2 | d5:4 e5:4 g5:8 | "
          "a5:6 f5:2 d5:8 | bb5:6 a5:2 g5:4 f5:4 | f5:4 d5:4 a5:8 | g5:8 e5:4 r:4",
          0, 1.0f);
    s.strum(electricPiano(), "x:6 x:6 x:4", 53, 0, 12, 0.9f);
    Instrument bass = triangleBass();
    bass.gate = 0.95f;
    s.degrees(bass, "1:6 5:6 8:4", 36, 0, 12, 1.0f);
    s.drums(Kind::Kick, "x.........x.....", 0, 12, 0.6f);
    s.drums(Kind::Rim, "....x.......x...", 0, 12, 0.5f);
    s.drums(Kind::Shaker, "o.x.o.x.o.x.o.x.", 0, 12, 0.5f);
    s.setEcho(6.0f, 0.35f, 0.3f);
    s.setRoom(0.6f, 0.25f);
    return s.render(kLevel * 0.9f);
}

// Tutorial: a bright training-ground march in C major.
SampleBuffer tutorialTheme() {
    Song s(SongBook::kRate, 132.0, 16, 16, 0x7E7);
    s.progression("C F G C  C F G G  Am F C G  F G C C");
    theme(s, pulseLead(0.5f),
          "c5:2 e5:2 g5:4 e5:2 g5:2 c6:4 | a5:4 f5:2 a5:2 c6:4 a5:4 | "
          "g5:2 f5:2 e5:2 d5:2 b4:4 d5:4 | c5:4 e5:4 c5:4 r:4 | "
          "c5:2 e5:2 g5:4 e5:2 g5:2 c6:4 | d6:4 c6:2 a5:2 f5:4 a5:4 | "
          "g5:4 b5:4 d6:4 b5:4 | g5:8 r:4 d5:2 f5:2 | "
          "e5:2 a5:2 c6:2 a5:2 e5:4 a5:4 | f5:2 a5:2 c6:2 a5:2 f5:4 c5:4 | "
          "e5:2 g5:2 c6:4 g5:2 e5:2 c5:4 | d5:4 g5:4 b5:4 d6:4 | "
          "c6:4 a5:4 f5:4 a5:4 | b5:4 g5:4 d5:4 f5:4 | "
          "e5:4 g5:2 e5:2 c5:8 | r:8 g4:2 a4:2 b4:4",
          0, 0.8f);
    Instrument bass = triangleBass();
    bass.gate = 0.5f;
    s.degrees(bass, "1:4 5:4 1:4 5:4", 36, 0, 16, 1.0f);
    s.degrees(bell(3.0f, 1.0f), "1:2 5:2 8:2 5:2", 72, 8, 16, 0.6f, Song::Bus::Echo);
    s.drums(Kind::Kick, "x.......x.......", 0, 16, 0.8f);
    s.drums(Kind::Snare, "....x.......x...", 0, 15, 0.7f);
    s.drums(Kind::Snare, "....x...x.x.xxxx", 15, 16, 0.7f);
    s.drums(Kind::ClosedHat, "x.x.x.x.x.x.x.x.", 0, 16, 0.6f);
    s.drums(Kind::Woodblock, "..x...x...x...x.", 0, 16, 0.35f);
    s.setEcho(3.0f, 0.25f, 0.2f);
    s.setRoom(0.3f, 0.12f);
    return s.render(kLevel);
}

// Level 1, the Roman courtyard: brass fanfares over timpani and a parade snare.
SampleBuffer romanTheme() {
    Song s(SongBook::kRate, 112.0, 16, 16, 0x4043);
    s.progression("Em C D Em  Em C D B7  C D G Em  Am C D B7");
    theme(s, brass(),
          "e4:3 e4:1 b4:4 e5:6 d5:2 | c5:3 b4:1 a4:2 g4:2 e4:8 | "
          "f#4:3 f#4:1 a4:4 d5:6 c5:2 | b4:4 g4:2 f#4:2 e4:8 | "
          "e4:3 e4:1 b4:4 e5:4 f#5:2 g5:2 | g5:6 e5:2 c5:4 e5:4 | "
          "f#5:4 d5:4 a4:4 f#5:4 | f#5:8 d#5:4 b4:4 | "
          "e5:6 d5:2 c5:4 g4:4 | f#5:6 e5:2 d5:4 a4:4 | "
          "g5:4 f#5:2 e5:2 d5:4 b4:4 | e5:12 r:4 | "
          "a4:3 a4:1 c5:4 e5:4 a5:4 | g5:4 e5:4 c5:4 e5:4 | "
          "f#5:4 a5:4 d5:4 f#5:4 | d#5:4 f#5:4 b4:8",
          0, 1.0f);
    Instrument horns = pad(900.0f);
    horns.env = {0.03f, 0.5f, 0.7f, 0.2f};
    s.strum(horns, "x:3 x:1 x:4 x:8", 48, 0, 16, 0.9f);
    s.degrees(triangleBass(), "1:4 5:4 1:4 5:4", 36, 0, 16, 0.8f);
    s.drums(Kind::Snare, "x.o.x.oox.o.x.oo", 0, 15, 0.55f);
    s.drums(Kind::Snare, "x.x.x.x.xxxxXXXX", 15, 16, 0.6f);
    s.drums(Kind::Timpani, "x.......x.......", 0, 16, 0.7f, 0.84f);
    s.drums(Kind::Crash, "X...............", 0, 1, 0.7f);
    s.drums(Kind::Crash, "X...............", 8, 9, 0.6f);
    s.setEcho(4.0f, 0.2f, 0.15f);
    s.setRoom(0.7f, 0.3f);
    return s.render(kLevel);
}

// Level 2, the tech base: four-on-the-floor, a filtered saw bass and FM arpeggios.
SampleBuffer techTheme() {
    Song s(SongBook::kRate, 147.0, 16, 16, 0x7EC4);
    s.progression("Am Am F G  Am Am F E  Dm F Am G  Dm F E E");
    Instrument lead = pulseLead(0.5f);
    lead.wave = Wave::Saw;
    lead.cutoff = 2800.0f;
    lead.volume = 0.26f;
    theme(s, lead,
          "a4:2 r:1 a4:1 c5:2 r:1 e5:1 d5:2 c5:2 b4:2 g4:2 | "
          "a4:2 r:1 a4:1 c5:2 r:1 e5:1 g5:4 e5:4 | f5:3 e5:3 c5:2 a4:4 c5:4 | "
          "b4:3 g#4:3 e4:2 g#4:4 b4:4 | "
          "d5:2 f5:2 a5:4 g5:2 f5:2 e5:2 d5:2 | c5:2 f5:2 a5:4 c6:4 a5:4 | "
          "e5:2 a5:2 c6:4 b5:2 a5:2 e5:4 | d5:2 g5:2 b5:4 d6:4 b5:4 | "
          "a5:4 f5:2 d5:2 a5:4 f5:4 | c6:4 a5:2 f5:2 c6:4 a5:4 | "
          "b5:4 g#5:4 e5:4 g#5:4 | b5:8 e6:4 r:4",
          4, 1.0f);
    s.degrees(sawBass(300.0f), "1:1 1:1 8:1 1:1", 36, 0, 16, 0.7f);
    s.degrees(bell(3.5f, 1.3f), "1 5 8 10 12 10 8 5 1 5 8 10 15 12 10 8", 60, 2, 16, 0.55f,
              Song::Bus::Echo);
    s.strum(pad(1600.0f), "x:16", 48, 8, 16, 0.6f);
    s.drums(Kind::Kick, "x...x...x...x...", 0, 16, 0.85f);
    s.drums(Kind::Clap, "....x.......x...", 2, 16, 0.7f);
    s.drums(Kind::ClosedHat, "xoxoxoxoxoxoxoxo", 0, 16, 0.6f);
    s.drums(Kind::OpenHat, "..x...x...x...x.", 4, 16, 0.4f);
    s.drums(Kind::Crash, "X...............", 0, 1, 0.6f);
    s.drums(Kind::Crash, "X...............", 8, 9, 0.6f);
    s.setEcho(3.0f, 0.35f, 0.3f);
    s.setRoom(0.3f, 0.1f);
    return s.render(kLevel);
}

// Level 3, the temple: koto and bamboo flute in a five-note mode, taiko and temple block.
SampleBuffer templeTheme() {
    Song s(SongBook::kRate, 96.0, 16, 12, 0x7E3B);
    s.progression("Am F E5 E5  Am F Dm E5  Dm Am F E5");
    theme(s, flute(),
          "e5:8 f5:2 e5:2 c5:4 | a4:12 r:4 | b4:4 c5:2 b4:2 a4:4 f4:4 | e4:12 r:4 | "
          "a4:4 b4:2 c5:2 e5:8 | f5:4 e5:2 c5:2 a4:8 | d5:6 c5:2 a4:4 f4:4 | e4:4 f4:2 a4:2 b4:8 | "
          "d5:4 f5:4 a5:8 | e5:6 c5:2 b4:4 a4:4 | c5:4 b4:2 a4:2 f4:8 | e4:8 r:8",
          0, 1.0f);
    s.degrees(pluck(0.55f, 0.994f), "1:2 5:2 8:2 12:2 10:2 8:2 5:2 8:2", 48, 0, 12, 0.8f,
              Song::Bus::Echo);
    Instrument drone = pad(500.0f);
    drone.volume = 0.1f;
    s.strum(drone, "x:16", 40, 0, 12, 1.0f, Song::Bus::Dry);
    s.drums(Kind::Taiko, "X.......x...x...", 0, 12, 0.8f);
    s.drums(Kind::Woodblock, "x...x...x...x...", 0, 12, 0.45f, 0.7f);
    s.drums(Kind::Gong, "x...............", 0, 1, 0.9f);
    s.drums(Kind::Gong, "x...............", 8, 9, 0.7f);
    s.setEcho(4.0f, 0.35f, 0.3f);
    s.setRoom(0.8f, 0.35f);
    return s.render(kLevel * 0.95f);
}

// Level 4, the ice: a slow waltz of glassy bells over a cold pad.
SampleBuffer iceTheme() {
    Song s(SongBook::kRate, 90.0, 12, 16, 0x1CE);
    s.progression("Emaj7 C#m7 Amaj7 B  Emaj7 C#m7 Amaj7 B  G#m7 C#m7 F#m7 B  Amaj7 G#m7 F#m7 B");
    Instrument glass = bell(2.0f, 0.9f);
    glass.volume = 0.3f;
    glass.fmIndexDecay = 0.6f;
    glass.env = {0.004f, 0.8f, 0.3f, 0.4f};
    glass.gate = 0.9f;
    theme(s, glass,
          "b5:6 g#5:2 d#6:4 | e6:6 c#6:2 b5:4 | c#6:8 a5:4 | f#5:8 r:4 | "
          "b5:6 g#5:2 e6:4 | g#6:6 e6:2 c#6:4 | e6:4 c#6:4 a5:4 | d#6:8 f#6:4 | "
          "d#6:6 b5:2 g#5:4 | e6:6 c#6:2 g#5:4 | a5:6 c#6:2 e6:4 | d#6:8 r:4 | "
          "c#6:6 e6:2 g#6:4 | f#6:6 d#6:2 b5:4 | c#6:4 a5:4 f#5:4 | d#5:4 f#5:4 a5:4",
          0, 1.0f);
    Instrument celesta = bell(4.0f, 0.7f);
    celesta.volume = 0.12f;
    s.degrees(celesta, "1:2 5:2 7:2 10:2 7:2 5:2", 60, 0, 16, 1.0f, Song::Bus::Echo);
    Instrument cold = pad(1000.0f);
    cold.env = {0.6f, 1.0f, 0.8f, 0.6f};
    s.strum(cold, "x:12", 48, 0, 16, 0.9f, Song::Bus::Dry);
    Instrument bass = triangleBass();
    bass.volume = 0.35f;
    s.degrees(bass, "1:6 5:6", 36, 0, 16, 1.0f);
    s.drums(Kind::Kick, "x...........", 0, 16, 0.5f);
    s.drums(Kind::Shaker, "....o...o...", 0, 16, 0.6f);
    s.drums(Kind::Tambourine, "..........o.", 8, 16, 0.4f);
    s.setEcho(6.0f, 0.45f, 0.35f);
    s.setRoom(0.9f, 0.4f);
    return s.render(kLevel * 0.9f);
}

// Level 5, the palace and its dragon: an erhu line over zither runs and war drums.
SampleBuffer palaceTheme() {
    Song s(SongBook::kRate, 124.0, 16, 16, 0xD2A60);
    s.progression("Bm G A Bm  Bm G A D  G A Bm F#m  G A Bm Bm");
    theme(
        s, erhu(),
        "b4:4 d5:2 e5:2 f#5:6 e5:2 | d5:4 b4:4 a4:8 | e5:4 f#5:2 a5:2 e5:4 d5:2 e5:2 | b4:12 r:4 | "
        "b4:2 d5:2 f#5:4 a5:4 f#5:2 e5:2 | d5:4 e5:2 d5:2 b4:8 | a4:4 b4:2 d5:2 e5:4 a5:4 | "
        "f#5:12 r:4 | "
        "b5:4 a5:2 f#5:2 e5:4 d5:4 | e5:4 f#5:2 e5:2 a4:8 | b4:4 d5:4 f#5:4 b5:4 | "
        "a5:6 f#5:2 e5:4 c#5:4 | "
        "d5:3 e5:1 d5:4 b4:4 d5:4 | e5:3 f#5:1 e5:4 a5:8 | f#5:4 e5:2 d5:2 b4:8 | r:4 a4:4 f#4:4 "
        "a4:4",
        0, 1.0f);
    s.degrees(pluck(0.7f, 0.992f), "1:2 5:2 8:2 10:2 12:2 10:2 8:2 5:2", 48, 0, 16, 0.6f,
              Song::Bus::Echo);
    s.degrees(sawBass(220.0f), "1:2 r:1 1:1 5:2 r:2 1:2 r:1 1:1 8:2 5:2", 36, 0, 16, 0.65f);
    s.drums(Kind::Taiko, "X..x..x.X..x.x..", 0, 16, 0.6f, 1.1f);
    s.drums(Kind::Tom, "....x.......x.x.", 4, 16, 0.5f, 1.2f);
    s.drums(Kind::Kick, "x.......x.......", 0, 16, 0.45f);
    s.drums(Kind::Woodblock, "x.x.x.x.x.x.x.x.", 0, 16, 0.3f, 1.3f);
    s.drums(Kind::Gong, "x...............", 0, 1, 1.0f, 0.9f);
    s.drums(Kind::Gong, "x...............", 8, 9, 0.8f, 0.9f);
    s.drums(Kind::Crash, "....x.......x...", 15, 16, 0.4f);
    s.setEcho(3.0f, 0.3f, 0.25f);
    s.setRoom(0.6f, 0.25f);
    return s.render(kLevel);
}

}  // namespace

const std::vector<std::string>& SongBook::names() {
    static const std::vector<std::string> all = {"menubgm",   "creditsbgm", "tutorialLevelbgm",
                                                 "level1bgm", "level2bgm",  "level3bgm",
                                                 "level4bgm", "level5bgm"};
    return all;
}

SampleBuffer SongBook::make(const std::string& name) {
    if (name == "menubgm") return menuTheme();
    if (name == "creditsbgm") return creditsTheme();
    if (name == "tutorialLevelbgm") return tutorialTheme();
    if (name == "level1bgm") return romanTheme();
    if (name == "level2bgm") return techTheme();
    if (name == "level3bgm") return templeTheme();
    if (name == "level4bgm") return iceTheme();
    if (name == "level5bgm") return palaceTheme();
    throw std::invalid_argument("unknown music: " + name);
}
