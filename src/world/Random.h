// Random numbers in the 0..32767 range that the game's tuning assumes
// ("minimum plus value times range divided by 32767"). The C library's
// RAND_MAX is much larger on Linux, so std::rand() alone would scale wrong.
// The generator is the one std::srand seeds, so seeding stays where it was.
#pragma once

constexpr int kRandom15Max = 32767;

// A number from 0 to 32767 inclusive, from std::rand().
int rand15();
