#include "method/statistic.h"

#include <cstddef>
#include <cstdint>
#include <vector>

#include "linalg/plain_rows.h"

TCStatistic::~TCStatistic() = default;

double TCStatistic::FromMoments(SampleMoments& moments) {
  const Matrix x = MatrixOfRows(moments.Rows(), moments.P(), moments.N());
  return Statistic(&x);
}

std::unique_ptr<Vector> TCStatistic::SampleMean(const Matrix* x) const {
  SampleMoments moments;
  moments.TakeCopy(*x);
  auto mean = std::make_unique<Vector>(moments.P());
  for (std::int32_t k = 0; k < moments.P(); ++k) (*mean)[k] = moments.Mean()[k];
  return mean;
}

std::unique_ptr<Matrix> TCStatistic::SampleCovariance(const Matrix* x, const Vector* mean) const {
  SampleMoments moments;
  moments.TakeCopy(*x);
  const std::int32_t p = moments.P();
  // Read through the bounds-tested access: a mean of another size reports it.
  Vector::CheckDimension(Vector(p), *mean);
  std::vector<double> centre(static_cast<std::size_t>(p));
  for (std::int32_t k = 0; k < p; ++k) centre[static_cast<std::size_t>(k)] = (*mean)[k];
  std::vector<double> deviation(static_cast<std::size_t>(p));
  std::vector<double> scatter(static_cast<std::size_t>(p) * static_cast<std::size_t>(p));
  ScatterAbout(moments.Rows(), p, moments.N(), centre.data(), deviation.data(), scatter.data());
  return std::make_unique<Matrix>(MatrixOfRows(scatter.data(), p, p));
}
