// Matrices as plain rows of doubles, one row after another, for the loops
// that work without making vectors and matrices.
#pragma once

#include <cstdint>
#include <vector>

#include "linalg/matrix.h"

// The rows x cols elements of m, row by row.
std::vector<double> PlainRows(const Matrix& m);

// The matrix whose rows are the plain rows `values` (rows x cols, row by row).
Matrix MatrixOfRows(const double* values, std::int32_t rows, std::int32_t cols);
