// What a run holds in memory, from the sizes its parameters give. A run is
// refused before it makes anything large when a run in turn could not be
// held; a run on every core holds what a run in turn holds and at most about
// one sample more (see PlanRepetitions).
#pragma once

#include <cstdint>

inline constexpr const char* kOutOfMemoryMessage = "Недостаточно памяти для расчета";

// One sample: p rows of N values.
std::uint64_t SampleBytes(std::int64_t p, std::int64_t n);

// What a drawing thread holds: its sample, and its own generator, statistic
// and sample moments, whose p x p matrices are reckoned generously.
std::uint64_t SamplerBytes(std::int64_t p, std::int64_t n);

// One repetition's M statistic values.
std::uint64_t RepetitionBytes(std::int64_t m);

// What a run in turn holds at its peak: the run's own objects (its mean,
// covariance, generators, statistic and sums), one drawing thread's, a
// repetition's values, as many again while they are sorted, and the sample
// estimates that wait for their turn to be added (less than that).
std::uint64_t RunInTurnBytes(std::int64_t p, std::int64_t n, std::int64_t m);

// Throws EOutOfMemory with kOutOfMemoryMessage when `needed` is more than
// `available`.
void RefuseWithoutMemory(std::uint64_t needed, std::uint64_t available);
