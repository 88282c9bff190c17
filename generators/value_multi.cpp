#include "generators/value_multi.h"

#include <cmath>
#include <iostream>
#include <new>

#include "generators/value_uni.h"
#include "platform/exceptions.h"

namespace {

constexpr const char* kNotPositiveDefinite = "Ковариационная матрица не является положительно определенной !";

// An infinite variance passes the pivot test below (its pivot is infinite) and
// then makes every value NaN; an entry the factorisation never reads is no
// better a covariance.
bool AllFinite(const Matrix& m) {
  for (std::int32_t i = 0; i < m.Rows(); ++i) {
    for (std::int32_t j = 0; j < m.Cols(); ++j) {
      if (!std::isfinite(m[i][j])) return false;
    }
  }
  return true;
}

// Column by column; the square root is recomputed for every row of the column.
void FactorCholesky(const Matrix& c, Matrix& l, std::int32_t n) {
  for (std::int32_t i = 0; i < n; ++i) {
    for (std::int32_t j = i; j < n; ++j) {
      double s = 0.0;
      for (std::int32_t k = 0; k < i; ++k) s += l[j][k] * l[i][k];
      l[j][i] = c[j][i] - s;
      double s2 = 0.0;
      for (std::int32_t k = 0; k < i; ++k) s2 += l[i][k] * l[i][k];
      const double pivot = c[i][i] - s2;
      // Without this test a matrix that is not positive definite would make every
      // later value NaN.
      if (!(pivot > 0.0)) throw Exception(kNotPositiveDefinite);
      l[j][i] = static_cast<double>(l[j][i] / std::sqrt(static_cast<long double>(pivot)));
    }
  }
}

}  // namespace

TCValueMulti::TCValueMulti(Vector* mean, Matrix* covariance, TCValueUni* generator)
    : dimension_(mean->Size()) {
  const auto n = static_cast<std::size_t>(dimension_);
  try {
    mean_ = std::make_unique<Vector>(dimension_);
    *mean_ = *mean;
    covariance_ = std::make_unique<Matrix>(dimension_, dimension_, 0.0);
    *covariance_ = *covariance;
    factor_ = std::make_unique<Matrix>(dimension_, dimension_, 0.0);
    factor_values_.resize(n * n);
    mean_values_.resize(n);
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory("MNorm: Невозможно выделить память !");
  }
  if (!AllFinite(*covariance_)) throw Exception(kNotPositiveDefinite);
  FactorCholesky(*covariance_, *factor_, dimension_);
  // Into the storage made above: nothing is allocated past the handler.
  for (std::int32_t i = 0; i < dimension_; ++i) {
    mean_values_[static_cast<std::size_t>(i)] = (*mean_)[i];
    for (std::int32_t j = 0; j < dimension_; ++j) factor_values_[i * n + j] = (*factor_)[i][j];
  }
  generator_ = generator;
  draw_values_ = olvend::BulkDrawOf(generator);
}

TCValueMulti::~TCValueMulti() = default;

Vector* TCValueMulti::CValueMulti() {
  auto result = std::make_unique<Vector>(dimension_);
  std::vector<double> observation(static_cast<std::size_t>(dimension_));
  CValueMulti(observation.data(), 1);
  for (std::int32_t i = 0; i < dimension_; ++i) (*result)[i] = observation[static_cast<std::size_t>(i)];
  return result.release();
}

std::int32_t TCValueMulti::DimVector() { return dimension_; }

void TCValueMulti::Display() { std::cout << *factor_; }
