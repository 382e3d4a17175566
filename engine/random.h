// The program's pseudo-random generator: the only source of variety in the
// computer's play besides the opening book (its weight set per move).
#pragma once

#include <cstdint>

void SeedRandom(std::uint32_t seed);
// Seeds from the local time of day as seconds since midnight (start-up).
void SeedRandomFromTimeOfDay();
// A non-negative number 0..32767.
int NextRandom();
