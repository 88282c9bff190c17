#include "method/mean_statistics.h"

#include <cstdint>

namespace {

// (dᵀ A) d, in that order.
double QuadraticForm(const Matrix& d, const Matrix& a) {
  const Matrix left = d.Transpose() * a;
  const Matrix form = left * d;
  return form[0][0];
}

}  // namespace

TCStatMean::TCStatMean(const Vector* m0) : M0(std::make_unique<Vector>(*m0)) {}

TCStatMean::~TCStatMean() = default;

Matrix TCStatMean::DeviationColumn(const Vector& mean) const { return Matrix(mean - *M0); }

TCStatX2::TCStatX2(const Vector* m0, const Matrix* sigma)
    : TCStatMean(m0), SigmaInv(std::make_unique<Matrix>(sigma->Inverse())) {}

TCStatX2::~TCStatX2() = default;

double TCStatX2::Statistic(const Matrix* x) {
  const std::int32_t n = x->Cols();
  const std::unique_ptr<Vector> mean = SampleMean(x);
  return QuadraticForm(DeviationColumn(*mean), *SigmaInv) * n;
}

TCStatT2::TCStatT2(const Vector* m0) : TCStatMean(m0) {}

TCStatT2::~TCStatT2() = default;

double TCStatT2::Statistic(const Matrix* x) {
  const std::int32_t p = x->Rows();
  const std::int32_t n = x->Cols();
  const std::unique_ptr<Vector> mean = SampleMean(x);
  const std::unique_ptr<Matrix> covariance = SampleCovariance(x, mean.get());
  const double form = QuadraticForm(DeviationColumn(*mean), covariance->Inverse());
  // The products in 64 bits: exact as doubles for every N, where 32 bits
  // would overflow from N = 46 341 on.
  const std::int64_t scale = std::int64_t{n - p} * n;
  const std::int64_t divisor = std::int64_t{n - 1} * p;
  return form * static_cast<double>(scale) / static_cast<double>(divisor);
}
