// The pair, partial and multiple correlation coefficients that the correlation
// statistics are built on, each read from a p x p covariance matrix s held row
// by row. The last p - q variables form the second block: they are partialled
// out, or they are the regressors. Each follows the order of the matrix
// products that define it. Indices that do not fit the matrix give NaN.
#pragma once

#include <cstdint>
#include <vector>

namespace brennic {

// r of variables i and j.
double PairCoefficient(const double* s, std::int32_t p, std::int32_t i, std::int32_t j);

// r of variables i and j (both below q) given the variables q..p-1; `work`
// is room that is reused from call to call.
double PartialCoefficient(const double* s, std::int32_t p, std::int32_t i, std::int32_t j, std::int32_t q,
                          std::vector<double>& work);

// R >= 0 of variable i (below q) on the variables q..p-1.
double MultipleCoefficient(const double* s, std::int32_t p, std::int32_t i, std::int32_t q,
                           std::vector<double>& work);

}  // namespace brennic
