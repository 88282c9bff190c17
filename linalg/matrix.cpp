#include "linalg/matrix.h"

#include <iostream>
#include <utility>
#include <vector>

#include "linalg/gauss_jordan.h"

namespace {

std::int32_t MinOf(std::int32_t a, std::int32_t b) { return a < b ? a : b; }

}  // namespace

Matrix::Matrix(std::int32_t rows, std::int32_t cols, double diagonal)
    : rows_(rows), cols_(cols), row_(nullptr), stray_row_(0) {
  AllocateRows();
  for (std::int32_t i = 0; i < MinOf(rows_, cols_); ++i) (*this)[i][i] = diagonal;
}

Matrix::Matrix(Vector v) : rows_(v.Size()), cols_(1), row_(nullptr), stray_row_(0) {
  AllocateRows();
  for (std::int32_t i = 0; i < rows_; ++i) (*this)[i][0] = v[i];
}

Matrix::Matrix(const Matrix& other) : rows_(other.rows_), cols_(other.cols_), row_(nullptr), stray_row_(0) {
  AllocateRows();
  try {
    for (std::int32_t i = 0; i < rows_; ++i) (*this)[i] = other[i];
  } catch (...) {
    // Each row assignment copies the source row, which may run out of storage.
    ReleaseRows();
    throw;
  }
}

Matrix::~Matrix() { ReleaseRows(); }

void Matrix::AllocateRows() {
  row_ = new Vector*[rows_];
  std::int32_t made = 0;
  try {
    for (; made < rows_; ++made) row_[made] = new Vector(cols_);
  } catch (...) {
    // A constructor that fails here never runs its destructor: undo what was made.
    for (std::int32_t i = 0; i < made; ++i) delete row_[i];
    delete[] row_;
    row_ = nullptr;
    throw;
  }
}

void Matrix::ReleaseRows() {
  if (row_ == nullptr) return;
  for (std::int32_t i = 0; i < rows_; ++i) delete row_[i];
  delete[] row_;
  row_ = nullptr;
}

Matrix& Matrix::operator=(Matrix m) {
  if (rows_ != m.rows_ || cols_ != m.cols_) {
    // The new zero rows are made before the old ones go, so a failed allocation
    // leaves the target whole; the old rows are released with `fresh`.
    Matrix fresh(m.rows_, m.cols_, 0.0);
    std::swap(rows_, fresh.rows_);
    std::swap(cols_, fresh.cols_);
    std::swap(row_, fresh.row_);
  }
  for (std::int32_t i = 0; i < rows_; ++i) (*this)[i] = m[i];
  return *this;
}

Vector& Matrix::StrayRow() const {
  std::cerr << "Matrix: out of bound\n";
  if (stray_row_.Size() != cols_) stray_row_ = Vector(cols_);
  for (std::int32_t j = 0; j < stray_row_.Size(); ++j) stray_row_[j] = 0.0;
  return stray_row_;
}

Vector& Matrix::operator[](std::int32_t i) {
  if (i >= 0 && i < rows_) return *row_[i];
  return StrayRow();
}

const Vector& Matrix::operator[](std::int32_t i) const {
  if (i >= 0 && i < rows_) return *row_[i];
  return StrayRow();
}

Vector Matrix::Row(std::int32_t i) const { return (*this)[i]; }

Vector Matrix::Column(std::int32_t j) const {
  Vector column(rows_);
  for (std::int32_t i = 0; i < rows_; ++i) column[i] = (*this)[i][j];
  return column;
}

Matrix Matrix::operator*(Matrix b) const {
  if (cols_ != b.rows_) std::cerr << "Matrix: incompatible operand's dimension\n";
  Matrix result(rows_, b.cols_, 0.0);
  for (std::int32_t i = 0; i < rows_; ++i) {
    for (std::int32_t j = 0; j < b.cols_; ++j) result[i][j] = Row(i) * b.Column(j);
  }
  return result;
}

Matrix Matrix::operator*(double x) const {
  Matrix result(rows_, cols_, 0.0);
  for (std::int32_t i = 0; i < rows_; ++i) {
    for (std::int32_t j = 0; j < cols_; ++j) result[i][j] = (*this)[i][j] * x;
  }
  return result;
}

Matrix operator*(double x, const Matrix& m) { return m * x; }

Vector Matrix::operator*(const Vector& v) const {
  if (v.Size() != cols_) std::cerr << "Matrix: incompatible operand's dimension\n";
  Vector result(rows_);
  for (std::int32_t i = 0; i < rows_; ++i) result[i] = Row(i) * v;
  return result;
}

Matrix Matrix::operator+(const Matrix& b) const {
  if (rows_ != b.rows_ || cols_ != b.cols_) std::cerr << "Matrix: incompatible operand's dimension\n";
  Matrix result(rows_, cols_, 0.0);
  for (std::int32_t i = 0; i < rows_; ++i) {
    for (std::int32_t j = 0; j < cols_; ++j) result[i][j] = b[i][j] + (*this)[i][j];
  }
  return result;
}

Matrix Matrix::Transpose() const {
  Matrix result(cols_, rows_, 0.0);
  for (std::int32_t j = 0; j < cols_; ++j) {
    for (std::int32_t i = 0; i < rows_; ++i) result[j][i] = (*this)[i][j];
  }
  return result;
}

Matrix Matrix::Inverse() const {
  const std::int32_t n = rows_;
  const auto size = static_cast<std::size_t>(n);
  if (rows_ != cols_) std::cout << "Matrix: non-square matrix in inversion\n";
  // Through the bounds-tested access: a matrix with fewer columns reports what it lacks.
  std::vector<double> a(size * size);
  for (std::int32_t i = 0; i < n; ++i) {
    for (std::int32_t j = 0; j < n; ++j) a[i * size + j] = (*this)[i][j];
  }
  std::vector<double> work(2 * size * size);
  std::vector<double> inverse(size * size);
  linalg::InvertInto(a.data(), n, n, work.data(), inverse.data());
  Matrix r(n, n, 0.0);
  for (std::int32_t i = 0; i < n; ++i) {
    for (std::int32_t j = 0; j < n; ++j) r[i][j] = inverse[i * size + j];
  }
  return r;
}

std::ostream& operator<<(std::ostream& out, const Matrix& m) {
  for (std::int32_t i = 0; i < m.Rows(); ++i) {
    out << '\n';
    for (std::int32_t j = 0; j < m.Cols(); ++j) out << ' ' << m[i][j];
  }
  return out;
}
