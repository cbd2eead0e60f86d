#include "sound/Rng.h"

std::uint32_t Rng::next() {
    state_ += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 32);
}

float Rng::uniform() {
    // 24 bits fit a float exactly, so the result never rounds up to 1.
    return static_cast<float>(next() >> 8) * (1.0f / 16777216.0f);
}
