#include "linalg/gauss_jordan.h"

#include <algorithm>
#include <cmath>

namespace linalg {
namespace {

// The elimination and back substitution on the n x 2n rows of w; false at an
// exactly zero pivot.
bool InvertAugmented(double* w, std::int32_t n) {
  const std::ptrdiff_t width = 2 * static_cast<std::ptrdiff_t>(n);
  auto at = [w, width](std::ptrdiff_t i, std::ptrdiff_t j) -> double& { return w[i * width + j]; };
  for (std::int32_t k = 0; k < n; ++k) {
    // Strictly greater only: on equal magnitudes the earlier row keeps the pivot.
    std::int32_t p = k;
    double pivot = at(k, k);
    for (std::int32_t i = k + 1; i < n; ++i) {
      if (std::fabs(at(i, k)) > std::fabs(pivot)) {
        p = i;
        pivot = at(i, k);
      }
    }
    if (pivot == 0.0) return false;

    if (p != k) {
      for (std::ptrdiff_t j = k; j < width; ++j) {
        const double t = at(k, j);
        at(k, j) = at(p, j);
        at(p, j) = t;
      }
    }
    for (std::ptrdiff_t j = k + 1; j < width; ++j) at(k, j) = at(k, j) / pivot;
    for (std::int32_t i = k + 1; i < n; ++i) {
      const double f = at(i, k);
      for (std::ptrdiff_t j = k + 1; j < width; ++j) at(i, j) = at(i, j) - at(k, j) * f;
    }
  }

  for (std::ptrdiff_t j = n; j < width; ++j) {
    for (std::int32_t i = n - 2; i >= 0; --i) {
      double s = at(i, j);
      for (std::int32_t m = i + 1; m < n; ++m) s = s - at(i, m) * at(m, j);
      at(i, j) = s;
    }
  }
  return true;
}

}  // namespace

void InvertInto(const double* a, std::ptrdiff_t stride, std::int32_t n, double* work, double* inverse) {
  const std::ptrdiff_t width = 2 * static_cast<std::ptrdiff_t>(n);
  for (std::ptrdiff_t i = 0; i < n; ++i) {
    for (std::ptrdiff_t j = 0; j < width; ++j)
      work[i * width + j] = j < n ? a[i * stride + j] : (j - n == i ? 1.0 : 0.0);
  }
  const bool inverted = InvertAugmented(work, n);
  for (std::ptrdiff_t i = 0; i < n; ++i) {
    for (std::ptrdiff_t j = 0; j < n; ++j) inverse[i * n + j] = inverted ? work[i * width + n + j] : 0.0;
  }
}

}  // namespace linalg
