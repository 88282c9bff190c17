// The uniform source under every random value of the library: a 32-bit linear
// congruential generator whose state belongs to the calling thread. Named after
// the C library's functions but never the same functions: runs depend on this
// exact recurrence.
#pragma once

#include <cstdint>

namespace olvend {

// One step of the recurrence: state * 22695477 + 1, modulo 2^32.
constexpr std::uint32_t LcgNext(std::uint32_t state) { return state * 22695477u + 1u; }

// The value a new state yields: its bits 16 to 30, 0 to 32767.
constexpr int LcgOutput(std::uint32_t state) { return static_cast<int>((state >> 16) & 0x7FFFu); }

// Sets the calling thread's state to the seed, then makes one step and drops it.
void srand(std::uint32_t seed);

// Advances the calling thread's state one step. A thread starts at state 1.
int rand();

}  // namespace olvend
