// A small deterministic random generator (splitmix64). Every sound is built
// from fixed seeds, so the generated files are identical on every run.
#pragma once

#include <cstdint>

class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}

    std::uint32_t next();
    // Uniform in [0, 1).
    float uniform();
    // Uniform in [-1, 1).
    float bipolar() { return uniform() * 2.0f - 1.0f; }

private:
    std::uint64_t state_;
};
