// Matrix inversion on plain rows of doubles, shared by Matrix::Inverse and the
// callers that invert a small matrix for every sample without making matrices.
#pragma once

#include <cstddef>
#include <cstdint>

namespace linalg {

// The inverse of the n x n matrix whose row i starts at a + i * stride, into
// `inverse` (n x n, row by row): Gaussian elimination with partial pivoting on
// [A | I], then back substitution, every operation of Matrix::Inverse in its
// order; the zero matrix when a pivot is exactly zero. `work` is room for
// 2 n² values.
void InvertInto(const double* a, std::ptrdiff_t stride, std::int32_t n, double* work, double* inverse);

}  // namespace linalg
