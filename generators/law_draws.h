// How many draws of the uniform source each law takes per value. The
// generators draw through the helpers below, and a caller that moves a source
// ahead by whole values (a sampler that starts anywhere in a run) counts with
// the same constants, so the two cannot drift apart.
#pragma once

#include <array>
#include <cstdint>

namespace olvend {

// Each value (each pair of the normal law) comes from a fresh uniform
// generator of the thread's source, whose constructor draws once; the law
// drops that draw.
inline constexpr std::uint64_t kDroppedDraws = 1;

// The logistic, Laplace, Cauchy and exponential-power laws: the dropped draw,
// then the one uniform value the law inverts.
inline constexpr std::uint64_t kDrawsPerValue = kDroppedDraws + 1;

// The normal law: the dropped draw and two uniform values per pair of values;
// the pair's second value was kept and draws nothing.
inline constexpr std::uint64_t kDrawsPerNormalPair = kDroppedDraws + 2;

// The draw an inverted law makes its value of.
template <class Source>
int ValueDraw(Source& source) {
  for (std::uint64_t i = 0; i < kDroppedDraws; ++i) source.Draw();
  return source.Draw();
}

// The two draws a normal pair is made of.
template <class Source>
std::array<int, 2> PairDraws(Source& source) {
  for (std::uint64_t i = 0; i < kDroppedDraws; ++i) source.Draw();
  const int first = source.Draw();
  return {first, source.Draw()};
}

}  // namespace olvend
