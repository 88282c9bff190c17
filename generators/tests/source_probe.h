// Test helpers that watch the calling thread's uniform source: the recurrence
// written out again from its published constants, and counters of the steps a
// call takes, so that the draw order of every generator can be checked.
#pragma once

#include <cstdint>
#include <functional>

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
int DrawsTakenBy(const std::function<void()>& call, std::uint32_t seed = 20240601u);

// The first seed after which draw number `position` (1 = the first rand() after
// srand) yields `value`.
std::uint32_t SeedGivingDraw(int position, int value);
