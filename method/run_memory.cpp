#include "method/run_memory.h"

#include "platform/exceptions.h"

namespace {

// p x p matrices of a drawing thread (the generator's covariance, factor and
// plain factor, the statistic's inverse and work, the moments' covariance)
// and of the run (its covariances, its generator's, its statistic's, its
// sums), with room to spare.
constexpr std::uint64_t kMatricesPerSampler = 8;
constexpr std::uint64_t kMatricesOfTheRun = 8;

std::uint64_t MatrixBytes(std::int64_t p) {
  return static_cast<std::uint64_t>(p) * static_cast<std::uint64_t>(p) * sizeof(double);
}

}  // namespace

// p < 2^15 and N < 2^31: every product below stays far within 64 bits.
std::uint64_t SampleBytes(std::int64_t p, std::int64_t n) {
  return static_cast<std::uint64_t>(p) * static_cast<std::uint64_t>(n) * sizeof(double);
}

std::uint64_t SamplerBytes(std::int64_t p, std::int64_t n) {
  return SampleBytes(p, n) + kMatricesPerSampler * MatrixBytes(p);
}

std::uint64_t RepetitionBytes(std::int64_t m) { return static_cast<std::uint64_t>(m) * sizeof(double); }

std::uint64_t RunInTurnBytes(std::int64_t p, std::int64_t n, std::int64_t m) {
  return kMatricesOfTheRun * MatrixBytes(p) + SamplerBytes(p, n) + 3 * RepetitionBytes(m);
}

void RefuseWithoutMemory(std::uint64_t needed, std::uint64_t available) {
  if (needed > available) throw EOutOfMemory(kOutOfMemoryMessage);
}
