// The abstract test statistic of a Monte Carlo run and the sample estimates
// that every statistic and the run driver share. A sample is a p x N matrix:
// one row per variable, one column per observation.
#pragma once

#include <memory>

#include "linalg/matrix.h"
#include "linalg/vector.h"
#include "method/sample_moments.h"

class TCStatistic {
 public:
  TCStatistic() = default;
  TCStatistic(const TCStatistic&) = delete;
  TCStatistic& operator=(const TCStatistic&) = delete;
  virtual ~TCStatistic();

  // The statistic's value for the sample x.
  virtual double Statistic(const Matrix* x) = 0;

  // The same value from the moments of a sample held in plain rows: the run's
  // own path, which makes no vector or matrix per sample. A statistic that
  // knows only the matrix form is evaluated through it.
  virtual double FromMoments(SampleMoments& moments);

  // The mean of each row, summed in column order and divided by N.
  std::unique_ptr<Vector> SampleMean(const Matrix* x) const;

  // The scatter of the columns about `mean`, each term divided by N - 1 as it
  // is added, so that both triangles hold the same bits.
  std::unique_ptr<Matrix> SampleCovariance(const Matrix* x, const Vector* mean) const;
};
