// Random vectors with a given mean and covariance from any univariate generator:
// the covariance is factored once into its lower Cholesky factor L, and each
// observation is L z + mean, z holding one fresh value per component.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "generators/bulk_draw.h"
#include "generators/value_uni.h"
#include "linalg/matrix.h"
#include "linalg/vector.h"
#include "platform/export.h"

class WB_EXPORT TCValueMulti {
 public:
  // Copies the mean and the covariance and borrows the generator, which the
  // caller keeps alive and deletes. Throws EOutOfMemory when storage runs out and
  // Exception for a covariance that is not positive definite or holds an entry
  // that is not finite.
  TCValueMulti(Vector* mean, Matrix* covariance, TCValueUni* generator);
  ~TCValueMulti();
  TCValueMulti(const TCValueMulti&) = delete;
  TCValueMulti& operator=(const TCValueMulti&) = delete;

  // One observation; the new vector belongs to the caller.
  Vector* CValueMulti();
  // `count` observations into n rows of `count` values (component b of
  // observation s at rows[b * count + s]): the values, and the draws in their
  // order, of `count` calls of CValueMulti, without a vector per observation.
  // Defined in this header and hidden, so that it adds nothing to the
  // library's exports: each caller has its own copy.
  [[gnu::visibility("hidden")]] void CValueMulti(double* rows, std::int32_t count);
  // The size of the mean vector given at construction.
  std::int32_t DimVector();
  // Writes the factor L to the standard output stream.
  void Display();

 private:
  std::int32_t dimension_;
  std::unique_ptr<Vector> mean_;
  std::unique_ptr<Matrix> covariance_;
  std::unique_ptr<Matrix> factor_;
  TCValueUni* generator_ = nullptr;
  // How the generator's values are drawn, chosen inside the library at
  // construction: the inline observations above reach the library's own
  // loops through it without an export.
  olvend::BulkDraw draw_values_ = nullptr;
  // The factor (n x n, row by row) and the mean as plain arrays for the
  // observations, and the generator's values of the observations being made.
  std::vector<double> factor_values_;
  std::vector<double> mean_values_;
  std::vector<double> draws_;
};

inline void TCValueMulti::CValueMulti(double* rows, std::int32_t count) {
  const std::int32_t n = dimension_;
  draws_.resize(static_cast<std::size_t>(count) * static_cast<std::size_t>(n));
  draw_values_(*generator_, draws_.data(), count * n);
  for (std::int32_t s = 0; s < count; ++s) {
    const double* z = draws_.data() + static_cast<std::ptrdiff_t>(s) * n;
    for (std::int32_t i = 0; i < n; ++i) {
      // Row i of L times z as the vector product sums it: from 0.0, every
      // column in order, the zeros above the diagonal too (0 times an infinite
      // value is not 0).
      const double* row = factor_values_.data() + static_cast<std::ptrdiff_t>(i) * n;
      double sum = 0.0;
      for (std::int32_t c = 0; c < n; ++c) sum += z[c] * row[c];
      rows[static_cast<std::ptrdiff_t>(i) * count + s] = sum + mean_values_[static_cast<std::size_t>(i)];
    }
  }
}
