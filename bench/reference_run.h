// The floor a Monte Carlo run is measured against: the irreducible work of the
// method library's run on the same block (the same source and draws, the same
// sample, moments and statistic, so the same values to the last bit), on plain
// arrays, with nothing allocated once the loop runs.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "generators/value_biexp.h"
#include "method/run_parameters.h"

namespace bench {

// How a function of one uniform draw (the normal radius, its sine and cosine,
// the exponential-power inverse) is had: computed for every draw, or looked up
// in a table filled as the draws come up (the 15-bit draw takes 32768 values).
enum class Transformations { kComputed, kTabulated };

class ReferenceRun {
 public:
  // Hotelling's T2 (test kind 2) and the partial t (test kind 5) over the
  // normal or the exponential-power law; throws std::invalid_argument for
  // anything else.
  ReferenceRun(const RunParameters& block, Transformations transformations);

  // The K * M statistic values of a run seeded with `seed` (as srand takes
  // it) into values[k * M + m], unsorted.
  void Run(std::uint32_t seed, double* values);

 private:
  // The law's next `count` values, as the generators draw them.
  void DrawValues(double* z, int count);
  void DrawSample();
  void TakeMoments();
  double T2();
  double PartialT();

  RunParameters block_;
  bool tabulated_;
  std::int32_t p_;
  std::int32_t n_;
  std::uint32_t state_ = 0;
  std::vector<double> factor_;      // p x p, lower Cholesky factor
  std::vector<double> draws_;       // the law's values of a sample, observation by observation
  std::vector<double> rows_;        // p x N sample, one row per variable
  std::vector<double> mean_;        // p
  std::vector<double> covariance_;  // p x p, lower triangle filled
  std::vector<double> work_;        // p x 2p, the inversion's [A | I]
  std::vector<double> inverse_;     // p x p
  std::vector<double> scratch_;     // p
  // Transformations of the 15-bit draw; NaN marks an entry not yet computed.
  std::vector<double> radius_;
  std::vector<std::array<double, 2>> turn_;  // sine and cosine
  std::vector<double> law_values_;
  bool new_pair_ = true;
  double kept_ = 0.0;
  std::unique_ptr<TCValueBiExp> exp_power_;
};

}  // namespace bench
