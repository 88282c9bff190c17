// Dense matrix of doubles held as row vectors: covariances, their factors, samples
// and inverses. Errors never throw: a fixed message goes to a standard stream.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "linalg/vector.h"

class Matrix {
 public:
  // A rows x cols zero matrix whose entries (i, i) hold the diagonal value.
  Matrix(std::int32_t rows, std::int32_t cols, double diagonal);
  // A column matrix holding the components of v.
  explicit Matrix(Vector v);
  Matrix(const Matrix& other);
  ~Matrix();

  // Takes the source's shape when it differs.
  Matrix& operator=(Matrix m);

  // Bounds-tested row access; a row index outside 0..rows-1 writes
  // "Matrix: out of bound" and yields a spare row of zeros of this object.
  Vector& operator[](std::int32_t i);
  const Vector& operator[](std::int32_t i) const;

  Vector Row(std::int32_t i) const;
  Vector Column(std::int32_t j) const;

  Matrix operator*(Matrix b) const;
  Matrix operator*(double x) const;
  // Matrix times column vector.
  Vector operator*(const Vector& v) const;
  Matrix operator+(const Matrix& b) const;

  Matrix Transpose() const;
  // Gaussian elimination with partial pivoting on [A | I], then back substitution.
  // An exactly zero pivot gives the zero matrix.
  Matrix Inverse() const;

  std::int32_t Rows() const { return rows_; }
  std::int32_t Cols() const { return cols_; }

 private:
  void AllocateRows();
  void ReleaseRows();
  Vector& StrayRow() const;

  std::int32_t rows_;
  std::int32_t cols_;
  Vector** row_;
  // Takes out-of-range row accesses, so that they never reach outside the object;
  // sized to the column count when first needed.
  mutable Vector stray_row_;
};

Matrix operator*(double x, const Matrix& m);

// For each row a line feed, then a space before each element; no final line feed.
std::ostream& operator<<(std::ostream& out, const Matrix& m);
