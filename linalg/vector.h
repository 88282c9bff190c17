// Dense vector of doubles, the value type under the system's linear algebra.
// Errors never throw: a fixed message goes to the standard error stream and the work goes on.
#pragma once

#include <cstdint>

class Matrix;

class Vector {
 public:
  // A vector of n zeros.
  explicit Vector(std::int32_t n);
  Vector(const Vector& other);
  ~Vector();

  // Takes its operand by value, so assigning a vector to itself is harmless.
  Vector& operator=(Vector v);

  // Bounds-tested access; an index outside 0..size-1 writes "Vector: out of bound"
  // and yields 0.0 (a write goes to a spare element of this object).
  double& operator[](std::int32_t i);
  double operator[](std::int32_t i) const;

  Vector operator+(const Vector& right) const;
  Vector operator-(const Vector& right) const;
  // Dot product.
  double operator*(Vector right) const;
  // Row vector times matrix: one component per column of m.
  Vector operator*(const Matrix& m) const;

  // Writes "Vector: incompatible operand's dimension" when the sizes differ.
  static void CheckDimension(const Vector& left, const Vector& right);

  std::int32_t Size() const { return size_; }

 private:
  bool InRange(std::int32_t i) const { return i >= 0 && i < size_; }

  double* elements_;
  std::int32_t size_;
  // Takes the reads and writes of out-of-range accesses, so that they never
  // reach memory outside the object.
  double stray_ = 0.0;
};
