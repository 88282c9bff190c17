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
  try {
    mean_ = std::make_unique<Vector>(dimension_);
    *mean_ = *mean;
    covariance_ = std::make_unique<Matrix>(dimension_, dimension_, 0.0);
    *covariance_ = *covariance;
    factor_ = std::make_unique<Matrix>(dimension_, dimension_, 0.0);
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory("MNorm: Невозможно выделить память !");
  }
  if (!AllFinite(*covariance_)) throw Exception(kNotPositiveDefinite);
  FactorCholesky(*covariance_, *factor_, dimension_);
  generator_ = generator;
}

TCValueMulti::~TCValueMulti() = default;

Vector* TCValueMulti::CValueMulti() {
  Vector z(dimension_);
  auto result = std::make_unique<Vector>(dimension_);
  for (std::int32_t i = 0; i < dimension_; ++i) z[i] = generator_->CValue();
  *result = (*factor_ * z) + *mean_;
  return result.release();
}

std::int32_t TCValueMulti::DimVector() { return dimension_; }

void TCValueMulti::Display() { std::cout << *factor_; }
