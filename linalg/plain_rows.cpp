#include "linalg/plain_rows.h"

#include <cstddef>

std::vector<double> PlainRows(const Matrix& m) {
  const auto cols = static_cast<std::size_t>(m.Cols());
  std::vector<double> values(static_cast<std::size_t>(m.Rows()) * cols);
  for (std::int32_t i = 0; i < m.Rows(); ++i) {
    const Vector& row = m[i];
    for (std::int32_t j = 0; j < m.Cols(); ++j) values[i * cols + j] = row[j];
  }
  return values;
}

Matrix MatrixOfRows(const double* values, std::int32_t rows, std::int32_t cols) {
  Matrix m(rows, cols, 0.0);
  for (std::int32_t i = 0; i < rows; ++i) {
    Vector& row = m[i];
    for (std::int32_t j = 0; j < cols; ++j) row[j] = values[static_cast<std::ptrdiff_t>(i) * cols + j];
  }
  return m;
}
