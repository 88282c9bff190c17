#include "method/correlation_coefficients.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <initializer_list>
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

constexpr SampleCoefficient kNoSampleCoefficient{kNoCoefficient, kNoCoefficient};

// The length of x[0..n-1], each element divided by the largest first, so that
// no square overflows or underflows.
double ScaledNorm(const double* x, std::ptrdiff_t n, std::ptrdiff_t step) {
  double largest = 0.0;
  for (std::ptrdiff_t s = 0; s < n; ++s) largest = std::max(largest, std::fabs(x[s * step]));
  if (largest == 0.0 || !std::isfinite(largest)) return largest;
  double sum = 0.0;
  for (std::ptrdiff_t s = 0; s < n; ++s) {
    const double scaled = x[s * step] / largest;
    sum += scaled * scaled;
  }
  return largest * std::sqrt(sum);
}

// The upper triangular factor R of the deviations of `variables` from their
// means, in that order (RᵀR is their scatter), k x k row by row at the front of
// `work`. Each variable's deviations are divided by the largest of them first:
// no coefficient changes, and no product leaves the range of a double.
const double* DeviationFactor(SampleMoments& sample, const std::vector<std::int32_t>& variables,
                              std::vector<double>& work) {
  const auto n = static_cast<std::ptrdiff_t>(sample.N());
  const auto k = static_cast<std::ptrdiff_t>(variables.size());
  work.assign(static_cast<std::size_t>(k * k + n * k), 0.0);
  double* r = work.data();
  double* a = r + k * k;  // the deviations, one column of n per variable
  const double* mean = sample.Mean();
  for (std::ptrdiff_t c = 0; c < k; ++c) {
    const std::int32_t variable = variables[static_cast<std::size_t>(c)];
    const double* row = sample.Rows() + variable * n;
    double* column = a + c * n;
    for (std::ptrdiff_t s = 0; s < n; ++s) column[s] = row[s] - mean[variable];
    double largest = 0.0;
    for (std::ptrdiff_t s = 0; s < n; ++s) largest = std::max(largest, std::fabs(column[s]));
    if (largest > 0.0) {
      for (std::ptrdiff_t s = 0; s < n; ++s) column[s] = column[s] / largest;
    }
  }
  // Column c is reflected onto its first c + 1 rows: x -> beta e, with the
  // reflection I - tau v vᵀ (v[0] = 1) applied to the columns after it.
  for (std::ptrdiff_t c = 0; c < std::min(k, n); ++c) {
    double* x = a + c * n + c;
    const std::ptrdiff_t length = n - c;
    const double norm = ScaledNorm(x, length, 1);
    if (norm != 0.0) {
      const double beta = x[0] >= 0.0 ? -norm : norm;
      const double tau = (beta - x[0]) / beta;
      const double scale = 1.0 / (x[0] - beta);
      for (std::ptrdiff_t s = 1; s < length; ++s) x[s] = x[s] * scale;
      x[0] = beta;
      for (std::ptrdiff_t d = c + 1; d < k; ++d) {
        double* y = a + d * n + c;
        double w = y[0];
        for (std::ptrdiff_t s = 1; s < length; ++s) w += x[s] * y[s];
        w = w * tau;
        y[0] = y[0] - w;
        for (std::ptrdiff_t s = 1; s < length; ++s) y[s] = y[s] - w * x[s];
      }
    }
    for (std::ptrdiff_t d = c; d < k; ++d) r[c * k + d] = a[d * n + c];
  }
  return r;
}

// The coefficient of the last two of k factored variables given the ones
// before them: their remainders are a e_m and b e_m + c e_(m+1).
SampleCoefficient LastPairOfFactor(const double* r, std::ptrdiff_t k) {
  const double a = r[(k - 2) * k + k - 2];
  const double b = r[(k - 2) * k + k - 1];
  const double c = r[(k - 1) * k + k - 1];
  const double length = std::hypot(b, c);
  if (a == 0.0 || length == 0.0) return kNoSampleCoefficient;
  const double cosine = std::min(std::fabs(b) / length, 1.0);
  const double sine = c / length;
  return {(a > 0.0) == (b > 0.0) ? cosine : -cosine, sine * sine};
}

std::vector<std::int32_t> SecondBlockThen(std::int32_t p, std::int32_t q,
                                          std::initializer_list<std::int32_t> last) {
  std::vector<std::int32_t> variables;
  for (std::int32_t v = q; v < p; ++v) variables.push_back(v);
  variables.insert(variables.end(), last);
  return variables;
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

SampleCoefficient PairCoefficientOfSample(SampleMoments& sample, std::int32_t i, std::int32_t j,
                                          std::vector<double>& work) {
  if (!Below(i, sample.P()) || !Below(j, sample.P())) return kNoSampleCoefficient;
  return LastPairOfFactor(DeviationFactor(sample, {i, j}, work), 2);
}

SampleCoefficient PartialCoefficientOfSample(SampleMoments& sample, std::int32_t i, std::int32_t j,
                                             std::int32_t q, std::vector<double>& work) {
  const std::int32_t p = sample.P();
  if (!Below(q, p) || !Below(i, q) || !Below(j, q)) return kNoSampleCoefficient;
  return LastPairOfFactor(DeviationFactor(sample, SecondBlockThen(p, q, {i, j}), work), p - q + 2);
}

SampleCoefficient MultipleCoefficientOfSample(SampleMoments& sample, std::int32_t i, std::int32_t q,
                                              std::vector<double>& work) {
  const std::int32_t p = sample.P();
  if (!Below(q, p) || !Below(i, q)) return kNoSampleCoefficient;
  const std::ptrdiff_t k = p - q + 1;
  const double* r = DeviationFactor(sample, SecondBlockThen(p, q, {i}), work);
  // Variable i's deviations: the part the regressors explain, then the rest.
  const double explained = ScaledNorm(r + k - 1, k - 1, k);
  const double rest = std::fabs(r[k * k - 1]);
  const double length = std::hypot(explained, rest);
  if (length == 0.0) return kNoSampleCoefficient;
  const double remainder = rest / length;
  return {std::min(explained / length, 1.0), remainder * remainder};
}

}  // namespace brennic
