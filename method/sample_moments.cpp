#include "method/sample_moments.h"

#include <algorithm>
#include <cstddef>

#include "linalg/plain_rows.h"

void SampleMoments::Take(const double* rows, std::int32_t p, std::int32_t n) {
  rows_ = rows;
  p_ = p;
  n_ = n;
  have_mean_ = false;
  have_covariance_ = false;
}

void SampleMoments::TakeCopy(const Matrix& x) {
  copy_ = PlainRows(x);
  Take(copy_.data(), x.Rows(), x.Cols());
}

const double* SampleMoments::Mean() {
  if (!have_mean_) {
    mean_.resize(static_cast<std::size_t>(p_));
    RowMeans(rows_, p_, n_, mean_.data());
    have_mean_ = true;
  }
  return mean_.data();
}

const double* SampleMoments::Covariance() {
  if (!have_covariance_) {
    const double* mean = Mean();
    covariance_.resize(static_cast<std::size_t>(p_) * static_cast<std::size_t>(p_));
    deviation_.resize(static_cast<std::size_t>(p_));
    ScatterAbout(rows_, p_, n_, mean, deviation_.data(), covariance_.data());
    have_covariance_ = true;
  }
  return covariance_.data();
}

void RowMeans(const double* rows, std::int32_t p, std::int32_t n, double* mean) {
  for (std::int32_t b = 0; b < p; ++b) {
    const double* row = rows + static_cast<std::ptrdiff_t>(b) * n;
    double sum = 0.0;
    for (std::int32_t s = 0; s < n; ++s) sum += row[s];
    mean[b] = sum / n;
  }
}

void ScatterAbout(const double* rows, std::int32_t p, std::int32_t n, const double* mean, double* deviation,
                  double* covariance) {
  std::fill(covariance, covariance + static_cast<std::ptrdiff_t>(p) * p, 0.0);
  for (std::int32_t s = 0; s < n; ++s) {
    for (std::int32_t b = 0; b < p; ++b)
      deviation[b] = rows[static_cast<std::ptrdiff_t>(b) * n + s] - mean[b];
    // Element (k, l) adds d[l] d[k] / (N - 1); (l, k) adds the same product,
    // so the lower triangle is summed and the upper one copied from it.
    for (std::int32_t k = 0; k < p; ++k) {
      double* row = covariance + static_cast<std::ptrdiff_t>(k) * p;
      for (std::int32_t l = 0; l <= k; ++l) row[l] = row[l] + (deviation[l] * deviation[k]) / (n - 1);
    }
  }
  for (std::int32_t k = 0; k < p; ++k) {
    for (std::int32_t l = 0; l < k; ++l)
      covariance[static_cast<std::ptrdiff_t>(l) * p + k] = covariance[static_cast<std::ptrdiff_t>(k) * p + l];
  }
}
