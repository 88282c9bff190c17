// The uniform source under every random value of the library: a 32-bit linear
// congruential generator whose state belongs to the calling thread. Named after
// the C library's functions but never the same functions: runs depend on this
// exact recurrence.
#pragma once

#include <cstdint>

#include "generators/constants.h"

namespace olvend {

// One step of the recurrence: state * 22695477 + 1, modulo 2^32.
constexpr std::uint32_t LcgNext(std::uint32_t state) { return state * 22695477u + 1u; }

// The state `steps` steps after `state`, in O(log steps): each step is the
// affine map x -> 22695477 x + 1, whose powers are composed by squaring. The
// generator's period is 2^32, so 2^32 - 1 steps go one step back.
constexpr std::uint32_t LcgJump(std::uint32_t state, std::uint64_t steps) {
  std::uint32_t multiplier = 22695477u;  // the map of 2^i steps: x -> multiplier x + increment
  std::uint32_t increment = 1u;
  std::uint32_t total_multiplier = 1u;  // the map of the steps taken so far
  std::uint32_t total_increment = 0u;
  for (; steps != 0; steps >>= 1) {
    if ((steps & 1u) != 0) {
      total_multiplier *= multiplier;
      total_increment = total_increment * multiplier + increment;
    }
    increment = (multiplier + 1u) * increment;
    multiplier *= multiplier;
  }
  return state * total_multiplier + total_increment;
}
static_assert(LcgJump(1u, 3) == LcgNext(LcgNext(LcgNext(1u))));
static_assert(LcgJump(LcgNext(7u), 0xFFFFFFFFu) == 7u);

// The value a new state yields: its bits 16 to 30, 0 to 32767.
constexpr int LcgOutput(std::uint32_t state) { return static_cast<int>((state >> 16) & 0x7FFFu); }

// The number of values a draw can take.
inline constexpr int kDrawCount = 32768;

// Sets the calling thread's state to the seed, then makes one step and drops it.
void srand(std::uint32_t seed);

// Advances the calling thread's state one step. A thread starts at state 1.
int rand();

// The calling thread's state itself.
std::uint32_t& ThreadState();

// A source's state held in a local variable through a run of draws and
// written back when the holder ends, so that a loop over many values does not
// reach the state's home for each draw. Nothing else may draw from that state
// while it is held. The library holds the calling thread's state; a caller
// that moves a source ahead itself (by LcgJump) holds a state of its own.
class HeldSource {
 public:
  explicit HeldSource(std::uint32_t& home) : home_(home), state_(home) {}
  ~HeldSource() { home_ = state_; }
  HeldSource(const HeldSource&) = delete;
  HeldSource& operator=(const HeldSource&) = delete;

  // As rand().
  int Draw() {
    state_ = LcgNext(state_);
    return LcgOutput(state_);
  }

 private:
  std::uint32_t& home_;
  std::uint32_t state_;
};

// One value of a generator that draws through CValues(source, values, count),
// drawn from the calling thread's source: what its CValue gives.
template <class Generator>
double ThreadValue(Generator& generator) {
  HeldSource source(ThreadState());
  double value = 0.0;
  generator.CValues(source, &value, 1);
  return value;
}

// draw / 32767, the reciprocal held in extended precision and the product
// rounded to a double.
inline double DrawFraction(int draw) { return static_cast<double>(draw * (1.0L / 32767.0L)); }

// v clamped to [1e-10, 1 - 1e-10], where every uniform value lies.
inline double ClampUniform(double v) {
  if (v < kUniformBound) return kUniformBound;
  if (v <= 1.0 - kUniformBound) return v;
  return 1.0 - kUniformBound;
}

// The value a uniform generator of the thread's source makes of a draw.
inline double UniformOfDraw(int draw) { return ClampUniform(DrawFraction(draw)); }

}  // namespace olvend
