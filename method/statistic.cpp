#include "method/statistic.h"

#include <cstdint>

TCStatistic::~TCStatistic() = default;

std::unique_ptr<Vector> TCStatistic::SampleMean(const Matrix* x) const {
  const std::int32_t p = x->Rows();
  const std::int32_t n = x->Cols();
  auto mean = std::make_unique<Vector>(p);
  for (std::int32_t k = 0; k < p; ++k) {
    const Vector& row = (*x)[k];
    double sum = 0.0;
    for (std::int32_t s = 0; s < n; ++s) sum += row[s];
    (*mean)[k] = sum / n;
  }
  return mean;
}

std::unique_ptr<Matrix> TCStatistic::SampleCovariance(const Matrix* x, const Vector* mean) const {
  const std::int32_t p = x->Rows();
  const std::int32_t n = x->Cols();
  auto covariance = std::make_unique<Matrix>(p, p, 0.0);
  Vector d(p);
  for (std::int32_t s = 0; s < n; ++s) {
    d = x->Column(s) - *mean;
    for (std::int32_t k = 0; k < p; ++k) {
      Vector& row = (*covariance)[k];
      for (std::int32_t l = 0; l < p; ++l) row[l] = row[l] + (d[l] * d[k]) / (n - 1);
    }
  }
  return covariance;
}
