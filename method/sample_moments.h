// The mean and the covariance of one sample held as plain rows: p rows of N
// values, variable b's values at rows[b * N] to rows[b * N + N - 1]. Each is
// computed when first asked for and kept until the next sample, so that a run
// computes them once per sample for its statistic and its estimates alike,
// with the values TCStatistic::SampleMean and SampleCovariance give.
#pragma once

#include <cstdint>
#include <vector>

#include "linalg/matrix.h"

class SampleMoments {
 public:
  // The next sample, borrowed until the next call; the buffers are reused, so
  // nothing is allocated while p stays the same.
  void Take(const double* rows, std::int32_t p, std::int32_t n);
  // A copy of the sample x, which need not outlive this call.
  void TakeCopy(const Matrix& x);

  std::int32_t P() const { return p_; }
  std::int32_t N() const { return n_; }
  const double* Rows() const { return rows_; }

  // Each row summed in observation order, then divided by N.
  const double* Mean();
  // The scatter about Mean(), p x p row by row: see ScatterAbout.
  const double* Covariance();

 private:
  const double* rows_ = nullptr;
  std::int32_t p_ = 0;
  std::int32_t n_ = 0;
  std::vector<double> copy_;
  std::vector<double> mean_;
  std::vector<double> covariance_;
  std::vector<double> deviation_;
  bool have_mean_ = false;
  bool have_covariance_ = false;
};

// The mean of each of the p rows of n values into mean.
void RowMeans(const double* rows, std::int32_t p, std::int32_t n, double* mean);

// Σ (x_s - mean)(x_s - mean)ᵀ / (N - 1) over the observations in order, each
// term divided by N - 1 as it is added, into covariance (p x p, both triangles,
// which hold the same bits). deviation is room for p values.
void ScatterAbout(const double* rows, std::int32_t p, std::int32_t n, const double* mean, double* deviation,
                  double* covariance);
