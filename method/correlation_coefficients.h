// The pair, partial and multiple correlation coefficients that the correlation
// statistics are built on, each read from a p x p covariance matrix. The last
// p - q variables form the second block: they are partialled out, or they are
// the regressors.
#pragma once

#include <cstdint>

#include "linalg/matrix.h"

namespace brennic {

// r of variables i and j.
double PairCoefficient(const Matrix& s, std::int32_t i, std::int32_t j);

// r of variables i and j (both below q) given the variables q..p-1.
double PartialCoefficient(const Matrix& s, std::int32_t i, std::int32_t j, std::int32_t q);

// R >= 0 of variable i (below q) on the variables q..p-1.
double MultipleCoefficient(const Matrix& s, std::int32_t i, std::int32_t q);

}  // namespace brennic
