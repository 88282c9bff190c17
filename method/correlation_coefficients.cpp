#include "method/correlation_coefficients.h"

#include <cmath>
#include <cstddef>
#include <limits>

#include "linalg/gauss_jordan.h"

namespace brennic {
namespace {

constexpr double kNoCoefficient = std::numeric_limits<double>::quiet_NaN();

bool Below(std::int32_t index, std::int32_t limit) { return index >= 0 && index < limit; }

// The inverse of the second block S22, (p - q) x (p - q), at the front of
// `work`, followed by the room its inversion needed.
const double* SecondBlockInverse(const double* s, std::int32_t p, std::int32_t q, std::vector<double>& work) {
  const auto rest = static_cast<std::size_t>(p - q);
  work.resize(3 * rest * rest);
  const double* s22 = s + static_cast<std::ptrdiff_t>(q) * p + q;
  linalg::InvertInto(s22, p, p - q, work.data() + rest * rest, work.data());
  return work.data();
}

}  // namespace

double PairCoefficient(const double* s, std::int32_t p, std::int32_t i, std::int32_t j) {
  if (!Below(i, p) || !Below(j, p)) return kNoCoefficient;
  auto at = [s, p](std::int32_t a, std::int32_t b) { return s[static_cast<std::ptrdiff_t>(a) * p + b]; };
  return at(i, j) / std::sqrt(at(j, j) * at(i, i));
}

double PartialCoefficient(const double* s, std::int32_t p, std::int32_t i, std::int32_t j, std::int32_t q,
                          std::vector<double>& work) {
  if (!Below(q, p) || !Below(i, q) || !Below(j, q)) return kNoCoefficient;
  const std::int32_t rest = p - q;
  const double* inverse = SecondBlockInverse(s, p, q, work);
  auto at = [s, p](std::int32_t a, std::int32_t b) { return s[static_cast<std::ptrdiff_t>(a) * p + b]; };
  // Element (a, b) of S11 + (-1 S12 (S22⁻¹ S12ᵀ)), the covariance of the first
  // q variables given the last p - q; only three elements are read.
  auto conditional = [&](std::int32_t a, std::int32_t b) {
    double regression = 0.0;
    for (std::int32_t c = 0; c < rest; ++c) {
      double projected = 0.0;  // element (c, b) of S22⁻¹ S12ᵀ
      for (std::int32_t e = 0; e < rest; ++e)
        projected += at(b, q + e) * inverse[static_cast<std::ptrdiff_t>(c) * rest + e];
      regression += projected * at(a, q + c);
    }
    return regression * -1.0 + at(a, b);
  };
  return conditional(i, j) / std::sqrt(conditional(j, j) * conditional(i, i));
}

double MultipleCoefficient(const double* s, std::int32_t p, std::int32_t i, std::int32_t q,
                           std::vector<double>& work) {
  if (!Below(q, p) || !Below(i, q)) return kNoCoefficient;
  const std::int32_t rest = p - q;
  const double* inverse = SecondBlockInverse(s, p, q, work);
  // c, the covariances of variable i with the second block: row i of S12.
  const double* c = s + static_cast<std::ptrdiff_t>(i) * p + q;
  // cᵀ (S22⁻¹ c), each element of S22⁻¹ c complete before c takes it.
  double explained = 0.0;
  for (std::int32_t a = 0; a < rest; ++a) {
    double w = 0.0;
    for (std::int32_t b = 0; b < rest; ++b) w += c[b] * inverse[static_cast<std::ptrdiff_t>(a) * rest + b];
    explained += w * c[a];
  }
  return std::sqrt(explained / s[static_cast<std::ptrdiff_t>(i) * p + i]);
}

}  // namespace brennic
