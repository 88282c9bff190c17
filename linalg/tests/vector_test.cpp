#include "linalg/vector.h"

#include <gtest/gtest.h>

#include <iostream>

#include "linalg/matrix.h"
#include "linalg/tests/stream_capture.h"

namespace {

Vector Make(std::initializer_list<double> values) {
  Vector v(static_cast<std::int32_t>(values.size()));
  std::int32_t i = 0;
  for (double x : values) v[i++] = x;
  return v;
}

const char kIncompatible[] = "Vector: incompatible operand's dimension\n";
const char kOutOfBound[] = "Vector: out of bound\n";

TEST(VectorConstruction, NewVectorHoldsZeros) {
  const Vector v(3);
  ASSERT_EQ(v.Size(), 3);
  for (std::int32_t i = 0; i < 3; ++i) EXPECT_EQ(v[i], 0.0);
}

TEST(VectorConstruction, CopyOwnsItsComponents) {
  Vector a = Make({1, 2, 3});
  const Vector b(a);
  a[0] = 9;
  EXPECT_EQ(b.Size(), 3);
  EXPECT_EQ(b[0], 1.0);
  EXPECT_EQ(b[2], 3.0);
}

TEST(VectorAssignment, TakesTheSourceSizeAndValues) {
  Vector target = Make({7, 8});
  const Vector source = Make({1, 2, 3, 4, 5});
  target = source;
  ASSERT_EQ(target.Size(), 5);
  for (std::int32_t i = 0; i < 5; ++i) EXPECT_EQ(target[i], source[i]);
}

TEST(VectorAssignment, EqualSizesKeepTheTargetArray) {
  Vector target = Make({7, 8});
  const double* array = &target[0];
  target = Make({1, 2});
  EXPECT_EQ(&target[0], array);
  EXPECT_EQ(target[1], 2.0);
}

TEST(VectorAssignment, SelfAssignmentLeavesTheVectorUnchanged) {
  Vector v = Make({4, 5, 6});
  Vector& same = v;
  v = same;
  ASSERT_EQ(v.Size(), 3);
  EXPECT_EQ(v[0], 4.0);
  EXPECT_EQ(v[2], 6.0);
}

TEST(VectorAccess, OutOfRangeWritesOneMessageAndTouchesNothingOutside) {
  Vector v = Make({1, 2, 3});
  StreamCapture err(std::cerr);
  v[-1] = 10.0;
  v[3] = 20.0;
  EXPECT_EQ(err.Text(), std::string(kOutOfBound) + kOutOfBound);
  // A stray read yields 0.0, whatever a stray write left behind.
  EXPECT_EQ(v[3], 0.0);
  const Vector& read_only = v;
  EXPECT_EQ(read_only[-7], 0.0);
  EXPECT_EQ(v[0], 1.0);
  EXPECT_EQ(v[1], 2.0);
  EXPECT_EQ(v[2], 3.0);
}

TEST(VectorArithmetic, EmptyVectorsGiveEmptyResultsAndZero) {
  const Vector a(0), b(0);
  StreamCapture err(std::cerr);
  EXPECT_EQ((a + b).Size(), 0);
  EXPECT_EQ((a - b).Size(), 0);
  EXPECT_EQ(a * b, 0.0);
  EXPECT_EQ(err.Text(), "");
}

TEST(VectorArithmetic, SumDifferenceAndDotProduct) {
  const Vector a = Make({1, 2, 3});
  const Vector b = Make({4, 5, 6});
  const Vector sum = a + b;
  const Vector difference = a - b;
  for (std::int32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(sum[i], a[i] + b[i]);
    EXPECT_EQ(difference[i], a[i] - b[i]);
  }
  EXPECT_EQ(a * b, 32.0);  // 4 + 10 + 18
  EXPECT_EQ(a[0], 1.0);    // operands unchanged
  EXPECT_EQ(b[2], 6.0);
}

TEST(VectorArithmetic, ShorterRightOperandWritesDimensionThenBoundMessage) {
  const Vector a = Make({1, 2, 3});
  const Vector b = Make({10, 20});
  StreamCapture err(std::cerr);
  const Vector sum = a + b;
  EXPECT_EQ(err.Text(), std::string(kIncompatible) + kOutOfBound);
  ASSERT_EQ(sum.Size(), 3);
  EXPECT_EQ(sum[0], 11.0);
  EXPECT_EQ(sum[1], 22.0);
}

TEST(VectorArithmetic, DotProductOfDifferentSizesRunsOverTheLeftSize) {
  const Vector a = Make({1, 2, 3});
  const Vector b = Make({1, 1});
  StreamCapture err(std::cerr);
  EXPECT_EQ(a * b, 3.0);
  EXPECT_EQ(err.Text(), std::string(kIncompatible) + kOutOfBound);
}

TEST(VectorTimesMatrix, GivesOneDotProductPerColumn) {
  Matrix m(2, 3, 0.0);
  m[0][0] = 1;
  m[0][1] = 2;
  m[0][2] = 3;
  m[1][0] = 4;
  m[1][1] = 5;
  m[1][2] = 6;
  StreamCapture err(std::cerr);
  const Vector product = Make({1, -1}) * m;
  EXPECT_EQ(err.Text(), "");
  ASSERT_EQ(product.Size(), 3);
  EXPECT_EQ(product[0], -3.0);
  EXPECT_EQ(product[1], -3.0);
  EXPECT_EQ(product[2], -3.0);
}

TEST(VectorTimesMatrix, RowCountMismatchWritesItsOwnMessageThenEachColumnsMessages) {
  const Matrix m(2, 3, 1.0);
  StreamCapture err(std::cerr);
  const Vector product = Make({1, 2, 3}) * m;
  std::string expected = "Vector: incopatible operand's dimension\n";
  for (int column = 0; column < 3; ++column) expected += std::string(kIncompatible) + kOutOfBound;
  EXPECT_EQ(err.Text(), expected);
  ASSERT_EQ(product.Size(), 3);
  EXPECT_EQ(product[0], 1.0);
  EXPECT_EQ(product[1], 2.0);
  EXPECT_EQ(product[2], 0.0);
}

}  // namespace
