// Deterministic randomness: a small seeded generator and hash-based noise,
// so that every run draws exactly the same pixels.
#pragma once

#include <cstdint>

namespace art {

// Integer hash of a position and a seed, spread over all 32 bits.
uint32_t hash3(int x, int y, uint32_t seed);

// 0..1 from the hash.
double hashUnit(int x, int y, uint32_t seed);

// Smooth value noise in 0..1 with features about `cell` pixels apart. When
// period > 0 the noise repeats every `period` pixels in x and y (period must
// be a multiple of cell), so a tile's texture joins its neighbours.
double valueNoise(double x, double y, double cell, uint32_t seed, int period = 0);

// Several octaves of valueNoise, 0..1.
double fractalNoise(double x, double y, double cell, uint32_t seed, int octaves, int period = 0);

class Rng {
public:
    explicit Rng(uint64_t seed) : s_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
    uint32_t next();
    int range(int lo, int hi);     // lo..hi inclusive
    double unit();                 // 0..1
    bool chance(double p) { return unit() < p; }

private:
    uint64_t s_;
};

}  // namespace art
