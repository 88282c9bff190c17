#include "generators/uniform_source.h"

namespace olvend {
namespace {

thread_local std::uint32_t state = 1;

}  // namespace

void srand(std::uint32_t seed) {
  state = seed;
  rand();
}

int rand() {
  state = LcgNext(state);
  return LcgOutput(state);
}

std::uint32_t& ThreadState() { return state; }

}  // namespace olvend
