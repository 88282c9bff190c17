#include "method/correlation_coefficients.h"

#include <cmath>

namespace brennic {
namespace {

// The rows and columns of s from the given first ones, copied element by element.
Matrix Block(const Matrix& s, std::int32_t first_row, std::int32_t rows, std::int32_t first_column,
             std::int32_t columns) {
  Matrix block(rows, columns, 0.0);
  for (std::int32_t a = 0; a < rows; ++a) {
    for (std::int32_t b = 0; b < columns; ++b) block[a][b] = s[first_row + a][first_column + b];
  }
  return block;
}

}  // namespace

double PairCoefficient(const Matrix& s, std::int32_t i, std::int32_t j) {
  return s[i][j] / std::sqrt(s[j][j] * s[i][i]);
}

double PartialCoefficient(const Matrix& s, std::int32_t i, std::int32_t j, std::int32_t q) {
  const std::int32_t rest = s.Rows() - q;
  const Matrix s11 = Block(s, 0, q, 0, q);
  const Matrix s22_inverse = Block(s, q, rest, q, rest).Inverse();
  const Matrix s12 = Block(s, 0, q, q, rest);
  const Matrix regression = s12 * (s22_inverse * s12.Transpose());
  // The covariance of the first q variables given the last p - q.
  const Matrix conditional = s11 + (-1.0 * regression);
  return PairCoefficient(conditional, i, j);
}

double MultipleCoefficient(const Matrix& s, std::int32_t i, std::int32_t q) {
  const std::int32_t rest = s.Rows() - q;
  const Matrix s22_inverse = Block(s, q, rest, q, rest).Inverse();
  const Matrix s12 = Block(s, 0, q, q, rest);
  const Vector c = s12.Row(i);
  const Matrix w = s22_inverse * Matrix(c);
  const double explained = (c * w)[0];
  return std::sqrt(explained / s[i][i]);
}

}  // namespace brennic
