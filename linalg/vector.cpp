#include "linalg/vector.h"

#include <iostream>

#include "linalg/matrix.h"

Vector::Vector(std::int32_t n) : elements_(nullptr), size_(n) {
  elements_ = new double[size_];
  for (std::int32_t i = 0; i < size_; ++i) elements_[i] = 0.0;
}

Vector::Vector(const Vector& other) : elements_(nullptr), size_(other.size_) {
  elements_ = new double[size_];
  for (std::int32_t i = 0; i < size_; ++i) elements_[i] = other[i];
}

Vector::~Vector() { delete[] elements_; }

Vector& Vector::operator=(Vector v) {
  if (size_ != v.size_) {
    // Allocated before the old array goes, so a failed allocation leaves the target whole.
    double* fresh = new double[v.size_];
    delete[] elements_;
    elements_ = fresh;
    size_ = v.size_;
  }
  for (std::int32_t i = 0; i < size_; ++i) elements_[i] = v[i];
  return *this;
}

double& Vector::operator[](std::int32_t i) {
  if (InRange(i)) return elements_[i];
  std::cerr << "Vector: out of bound\n";
  stray_ = 0.0;
  return stray_;
}

double Vector::operator[](std::int32_t i) const {
  if (InRange(i)) return elements_[i];
  std::cerr << "Vector: out of bound\n";
  return 0.0;
}

void Vector::CheckDimension(const Vector& left, const Vector& right) {
  if (left.size_ != right.size_) std::cerr << "Vector: incompatible operand's dimension\n";
}

Vector Vector::operator+(const Vector& right) const {
  CheckDimension(*this, right);
  Vector result(size_);
  for (std::int32_t i = 0; i < size_; ++i) result[i] = (*this)[i] + right[i];
  return result;
}

Vector Vector::operator-(const Vector& right) const {
  CheckDimension(*this, right);
  Vector result(size_);
  for (std::int32_t i = 0; i < size_; ++i) result[i] = (*this)[i] - right[i];
  return result;
}

double Vector::operator*(Vector right) const {
  CheckDimension(*this, right);
  double sum = 0.0;
  for (std::int32_t i = 0; i < size_; ++i) sum += right[i] * (*this)[i];
  return sum;
}

Vector Vector::operator*(const Matrix& m) const {
  // The misspelling is the message's established text.
  if (m.Rows() != size_) std::cerr << "Vector: incopatible operand's dimension\n";
  Vector result(m.Cols());
  for (std::int32_t j = 0; j < m.Cols(); ++j) result[j] = (*this) * m.Column(j);
  return result;
}
