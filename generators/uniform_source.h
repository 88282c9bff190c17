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

// The calling thread's state held in a local variable through a run of draws
// and written back when the holder ends, so that a loop over many values does
// not reach the thread's storage for each draw. Nothing else may draw on the
// thread while it is held.
class HeldSource {
 public:
  HeldSource() : home_(ThreadState()), state_(home_) {}
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
