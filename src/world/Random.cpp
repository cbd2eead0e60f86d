#include "world/Random.h"

#include <cstdlib>

int rand15() {
    // The low 15 bits: uniform as long as RAND_MAX + 1 is a multiple of
    // 32768, which holds for glibc (2^31) and for a 32767 RAND_MAX alike.
    return std::rand() % (kRandom15Max + 1);
}
