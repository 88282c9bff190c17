// The reference a Monte Carlo run is measured against: the whole job of the
// method library's run on the same block, on one thread, on plain arrays: the
// same source and draws (what the law makes of a 15-bit draw looked up in a
// table filled as the draws come up), the same sample, moments, statistic and
// estimates, so the same values to the last bit, and Quessel's fitting of
// every repetition. Nothing is allocated once the loop runs.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "criteria/quessel.h"
#include "generators/value_biexp.h"
#include "method/run_parameters.h"

namespace bench {

class ReferenceRun {
 public:
  // Hotelling's T2 (test kind 2) and the partial t (test kind 5) over the
  // normal or the exponential-power law; throws std::invalid_argument for
  // anything else.
  explicit ReferenceRun(const RunParameters& block);

  // A run seeded with `seed` (as srand takes it): each repetition's M values,
  // sorted, into values[k * M + m], and the criteria summed over the
  // repetitions as the run sums them.
  CritVA Run(std::uint32_t seed, double* values);

 private:
  // The law's next `count` values, as the generators draw them.
  void DrawValues(double* z, int count);
  void DrawSample();
  void TakeMoments();
  void AddEstimates();
  double T2();
  double PartialT();

  RunParameters block_;
  std::int32_t p_;
  std::int32_t n_;
  DistribFunc law_;
  std::uint32_t state_ = 0;
  std::vector<double> factor_;          // p x p, lower Cholesky factor
  std::vector<double> draws_;           // the law's values of a sample, observation by observation
  std::vector<double> rows_;            // p x N sample, one row per variable
  std::vector<double> mean_;            // p
  std::vector<double> covariance_;      // p x p, lower triangle filled
  std::vector<double> mean_sum_;        // p, when the block asks for the mean
  std::vector<double> covariance_sum_;  // p x p, lower triangle, when it asks for the covariance
  std::vector<double> work_;            // p x 2p, the inversion's [A | I]
  std::vector<double> inverse_;         // p x p
  std::vector<double> scratch_;         // p
  // Transformations of the 15-bit draw; NaN marks an entry not yet computed.
  std::vector<double> radius_;
  std::vector<std::array<double, 2>> turn_;  // sine and cosine
  std::vector<double> law_values_;
  bool new_pair_ = true;
  double kept_ = 0.0;
  std::unique_ptr<TCValueBiExp> exp_power_;
};

}  // namespace bench
