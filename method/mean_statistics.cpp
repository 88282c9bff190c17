#include "method/mean_statistics.h"

#include <cmath>
#include <cstddef>
#include <limits>

#include "linalg/gauss_jordan.h"
#include "linalg/plain_rows.h"

TCStatMean::TCStatMean(const Vector* m0) : M0(static_cast<std::size_t>(m0->Size())) {
  for (std::int32_t i = 0; i < m0->Size(); ++i) M0[static_cast<std::size_t>(i)] = (*m0)[i];
}

TCStatMean::~TCStatMean() = default;

double TCStatMean::Statistic(const Matrix* x) {
  SampleMoments moments;
  moments.TakeCopy(*x);
  return FromMoments(moments);
}

double TCStatMean::DeviationForm(const double* mean, const double* a, std::int32_t p) {
  if (M0.size() != static_cast<std::size_t>(p)) return std::numeric_limits<double>::quiet_NaN();
  deviation_.resize(M0.size());
  for (std::int32_t i = 0; i < p; ++i)
    deviation_[static_cast<std::size_t>(i)] = mean[i] - M0[static_cast<std::size_t>(i)];
  const double* d = deviation_.data();
  // Column j of dᵀ a is complete before d_j takes it: the products' order.
  double form = 0.0;
  for (std::int32_t j = 0; j < p; ++j) {
    double column = 0.0;
    for (std::int32_t i = 0; i < p; ++i) column += a[static_cast<std::ptrdiff_t>(i) * p + j] * d[i];
    form += d[j] * column;
  }
  return form;
}

TCStatX2::TCStatX2(const Vector* m0, const Matrix* sigma)
    : TCStatMean(m0), SigmaInv(PlainRows(sigma->Inverse())), order_(sigma->Rows()) {}

TCStatX2::~TCStatX2() = default;

double TCStatX2::FromMoments(SampleMoments& moments) {
  if (moments.P() != order_) return std::numeric_limits<double>::quiet_NaN();
  return DeviationForm(moments.Mean(), SigmaInv.data(), order_) * moments.N();
}

TCStatT2::TCStatT2(const Vector* m0) : TCStatMean(m0) {}

TCStatT2::~TCStatT2() = default;

double TCStatT2::FromMoments(SampleMoments& moments) {
  const std::int32_t p = moments.P();
  const std::int32_t n = moments.N();
  const auto order = static_cast<std::size_t>(p);
  work_.resize(2 * order * order);
  inverse_.resize(order * order);
  // An exactly zero pivot leaves S⁻¹ the zero matrix.
  linalg::InvertInto(moments.Covariance(), p, p, work_.data(), inverse_.data());
  const double form = DeviationForm(moments.Mean(), inverse_.data(), p);
  // The products in 64 bits: exact as doubles for every N, where 32 bits
  // would overflow from N = 46 341 on.
  const std::int64_t scale = std::int64_t{n - p} * n;
  const std::int64_t divisor = std::int64_t{n - 1} * p;
  return form * static_cast<double>(scale) / static_cast<double>(divisor);
}
