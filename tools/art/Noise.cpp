#include "art/Noise.h"

#include <cmath>

namespace art {

uint32_t hash3(int x, int y, uint32_t seed) {
    uint32_t h = seed * 0x27D4EB2Fu + uint32_t(x) * 0x85EBCA6Bu + uint32_t(y) * 0xC2B2AE35u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

double hashUnit(int x, int y, uint32_t seed) { return hash3(x, y, seed) / 4294967295.0; }

double valueNoise(double x, double y, double cell, uint32_t seed, int period) {
    double fx = x / cell, fy = y / cell;
    int ix = int(std::floor(fx)), iy = int(std::floor(fy));
    double tx = fx - ix, ty = fy - iy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    int n = period > 0 ? int(std::lround(period / cell)) : 0;
    auto corner = [&](int cx, int cy) {
        if (n > 0) cx = ((cx % n) + n) % n, cy = ((cy % n) + n) % n;
        return hashUnit(cx, cy, seed);
    };
    double a = corner(ix, iy), b = corner(ix + 1, iy), c = corner(ix, iy + 1), d = corner(ix + 1, iy + 1);
    return (a * (1 - tx) + b * tx) * (1 - ty) + (c * (1 - tx) + d * tx) * ty;
}

double fractalNoise(double x, double y, double cell, uint32_t seed, int octaves, int period) {
    double sum = 0, amp = 1, norm = 0;
    for (int o = 0; o < octaves && cell >= 1.0; ++o) {
        sum += valueNoise(x, y, cell, seed + uint32_t(o) * 101u, period) * amp;
        norm += amp;
        amp *= 0.5;
        cell /= 2;
    }
    return norm > 0 ? sum / norm : 0.5;
}

uint32_t Rng::next() {
    uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return uint32_t((z ^ (z >> 31)) >> 16);
}

int Rng::range(int lo, int hi) {
    if (hi <= lo) return lo;
    return lo + int(next() % uint32_t(hi - lo + 1));
}

double Rng::unit() { return next() / 4294967295.0; }

}  // namespace art
