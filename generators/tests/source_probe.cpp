#include "generators/tests/source_probe.h"

#include <array>

#include "generators/uniform_source.h"

int DrawsTakenBy(const std::function<void()>& call, std::uint32_t seed) {
  constexpr int kWindow = 64;
  olvend::srand(seed);
  call();
  const std::array<int, 3> next = {olvend::rand(), olvend::rand(), olvend::rand()};
  ReferenceLcg reference(seed);
  std::array<int, kWindow> values{};
  for (int& v : values) v = reference.Next();
  for (int k = 0; k + 3 <= kWindow; ++k) {
    if (values[k] == next[0] && values[k + 1] == next[1] && values[k + 2] == next[2]) return k;
  }
  return -1;
}

std::uint32_t SeedGivingDraw(int position, int value) {
  for (std::uint32_t seed = 0;; ++seed) {
    ReferenceLcg reference(seed);
    int drawn = 0;
    for (int i = 0; i < position; ++i) drawn = reference.Next();
    if (drawn == value) return seed;
  }
}
