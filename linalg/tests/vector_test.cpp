// Vector: values by hand; messages and streams as the class defines them.
#include "linalg/vector.h"

#include <gtest/gtest.h>

#include <iostream>

#include "linalg/matrix.h"
#include "linalg/tests/test_support.h"

namespace {

const std::string kIncompatible = "Vector: incompatible operand's dimension\n";
const std::string kOutOfBound = "Vector: out of bound\n";

TEST(VectorValue, NewCopiedAndAssignedVectors) {
  ExpectVector(Vector(3), {0, 0, 0});
  Vector a = MakeVector({1, 2, 3});
  const Vector copy(a);
  a[0] = 9;
  ExpectVector(copy, {1, 2, 3});
  Vector target = MakeVector({7, 8});
  target = MakeVector({1, 2, 3, 4, 5});
  target = target;
  ExpectVector(target, {1, 2, 3, 4, 5});
  // Between equal sizes the target keeps its array.
  Vector pair = MakeVector({7, 8});
  const double* array = &pair[0];
  pair = MakeVector({1, 2});
  EXPECT_EQ(&pair[0], array);
  ExpectVector(pair, {1, 2});
}

TEST(VectorAccess, OutOfRangeWritesOneMessageAndTouchesNothingOutside) {
  Vector v = MakeVector({1, 2, 3});
  StreamCapture err(std::cerr);
  v[-1] = 10.0;
  v[3] = 20.0;
  EXPECT_EQ(err.Text(), kOutOfBound + kOutOfBound);
  // A stray read yields 0.0, whatever a stray write left behind.
  EXPECT_EQ(v[3], 0.0);
  EXPECT_EQ(static_cast<const Vector&>(v)[-7], 0.0);
  ExpectVector(v, {1, 2, 3});
}

TEST(VectorArithmetic, SumDifferenceDotProductAndRowTimesMatrix) {
  const Vector a = MakeVector({1, 2, 3});
  const Vector b = MakeVector({4, 5, 6});
  StreamCapture err(std::cerr);
  ExpectVector(a + b, {5, 7, 9});
  ExpectVector(a - b, {-3, -3, -3});
  EXPECT_EQ(a * b, 32.0);
  ExpectVector(a, {1, 2, 3});
  EXPECT_EQ((Vector(0) + Vector(0)).Size(), 0);
  EXPECT_EQ((Vector(0) - Vector(0)).Size(), 0);
  EXPECT_EQ(Vector(0) * Vector(0), 0.0);
  ExpectVector(MakeVector({1, -1}) * MakeMatrix({{1, 2, 3}, {4, 6, 8}}), {-3, -4, -5});
  EXPECT_EQ(err.Text(), "");
}

TEST(VectorArithmetic, ShorterRightOperandWritesDimensionThenBoundMessages) {
  const Vector a = MakeVector({1, 2, 3});
  StreamCapture err(std::cerr);
  const Vector sum = a + MakeVector({10, 20});
  EXPECT_EQ(err.Text(), kIncompatible + kOutOfBound);
  ExpectVector(sum, {11, 22, 3});
  EXPECT_EQ(a * MakeVector({1, 1}), 3.0);
  EXPECT_EQ(err.Text(), kIncompatible + kOutOfBound + kIncompatible + kOutOfBound);
}

TEST(VectorArithmetic, RowCountMismatchWritesItsOwnMessageThenEachColumnsMessages) {
  StreamCapture err(std::cerr);
  const Vector product = MakeVector({1, 2, 3}) * Matrix(2, 3, 1.0);
  std::string expected = "Vector: incopatible operand's dimension\n";
  for (int column = 0; column < 3; ++column) expected += kIncompatible + kOutOfBound;
  EXPECT_EQ(err.Text(), expected);
  ExpectVector(product, {1, 2, 0});
}

}  // namespace
