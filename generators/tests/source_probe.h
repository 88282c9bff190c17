// Test helpers that watch the calling thread's uniform source: the recurrence
// written out again from its published constants, and counters of the steps a
// call takes, so that the draw order of every generator can be checked.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "generators/uniform_source.h"

// The source's recurrence, kept apart from the library's own code.
class ReferenceLcg {
 public:
  // As srand(seed): one step is made and dropped.
  explicit ReferenceLcg(std::uint32_t seed) : state_(seed) { Next(); }
  int Next() {
    state_ = state_ * 22695477u + 1u;
    return static_cast<int>((state_ >> 16) & 0x7FFFu);
  }

 private:
  std::uint32_t state_;
};

// Seeds the source, runs the call and returns how many steps it took (-1 when
// the source is not found within 60 steps of the seed).
inline int DrawsTakenBy(const std::function<void()>& call, std::uint32_t seed = 20240601u) {
  olvend::srand(seed);
  call();
  const std::array<int, 3> next = {olvend::rand(), olvend::rand(), olvend::rand()};
  ReferenceLcg reference(seed);
  std::array<int, 64> values{};
  for (int& v : values) v = reference.Next();
  for (int k = 0; k + 3 <= 64; ++k) {
    if (values[k] == next[0] && values[k + 1] == next[1] && values[k + 2] == next[2]) return k;
  }
  return -1;
}

// The first seed after which draw number `position` (1 = the first rand() after
// srand) yields `value`.
inline std::uint32_t SeedGivingDraw(int position, int value) {
  for (std::uint32_t seed = 0;; ++seed) {
    ReferenceLcg reference(seed);
    int drawn = 0;
    for (int i = 0; i < position; ++i) drawn = reference.Next();
    if (drawn == value) return seed;
  }
}
