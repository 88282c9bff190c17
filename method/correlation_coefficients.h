// The pair, partial and multiple correlation coefficients that the correlation
// statistics are built on, each read from a p x p covariance matrix s held row
// by row, or from the sample itself where that matrix has lost them. The last
// p - q variables form the second block: they are partialled out, or they are
// the regressors. Those from s follow the order of the matrix products that
// define them. Indices that do not fit the matrix give NaN.
#pragma once

#include <cstdint>
#include <vector>

#include "method/sample_moments.h"

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

// A coefficient taken from the observations themselves, with 1 - r² beside it:
// near |r| = 1 that difference keeps its digits only when computed apart.
struct SampleCoefficient {
  double r;
  double complement;
};

// The same three coefficients from the sample's deviations from its mean,
// through the triangular factor of those deviations (Householder reflections)
// instead of their sums of products. Where one observation outweighs the rest,
// the covariance keeps the digits of that observation alone and the
// differences above lose all of theirs; the factor does not. Each lies in its
// range; a variable without spread (given the second block) gives NaN, as do
// indices that do not fit.
SampleCoefficient PairCoefficientOfSample(SampleMoments& sample, std::int32_t i, std::int32_t j,
                                          std::vector<double>& work);
SampleCoefficient PartialCoefficientOfSample(SampleMoments& sample, std::int32_t i, std::int32_t j,
                                             std::int32_t q, std::vector<double>& work);
SampleCoefficient MultipleCoefficientOfSample(SampleMoments& sample, std::int32_t i, std::int32_t q,
                                              std::vector<double>& work);

}  // namespace brennic
