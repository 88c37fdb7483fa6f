// The game's random numbers. A game is its seed and its keys, so the numbers
// come from a generator of the game's own rather than the C library's, whose
// sequence differs between systems: for any seed it gives exactly what glibc's
// rand() gives, so a replay means the same game on every machine.
#pragma once

#include <cstdint>

// Starts the sequence again from the seed; 0 counts as 1, as in glibc.
void SeedRandom(std::uint32_t seed);
// The next number, from 0 to 2147483647.
int Random();
