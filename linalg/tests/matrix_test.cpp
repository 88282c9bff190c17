// Matrix: shapes, products, sums and stream output. Values by hand.
#include "linalg/matrix.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

#include "linalg/tests/test_support.h"

namespace {

const std::string kIncompatible = "Matrix: incompatible operand's dimension\n";

TEST(MatrixValue, ConstructionCopyAssignmentAndShape) {
  ExpectMatrix(Matrix(2, 3, 5.0), {{5, 0, 0}, {0, 5, 0}});
  ExpectMatrix(Matrix(3, 2, 1.0), {{1, 0}, {0, 1}, {0, 0}});
  ExpectMatrix(Matrix(MakeVector({1, 2, 3})), {{1}, {2}, {3}});
  Matrix a = MakeMatrix({{1, 2}, {3, 4}});
  const Matrix copy(a);
  a[1][1] = 9;
  ExpectMatrix(copy, {{1, 2}, {3, 4}});
  Matrix target(2, 2, 7.0);
  target = MakeMatrix({{1, 2, 3}, {4, 5, 6}});
  ExpectMatrix(target, {{1, 2, 3}, {4, 5, 6}});
  ExpectMatrix(target.Transpose(), {{1, 4}, {2, 5}, {3, 6}});
  ExpectVector(target.Row(1), {4, 5, 6});
  ExpectVector(target.Column(2), {3, 6});
}

TEST(MatrixAccess, OutOfRangeRowWritesOneMessageAndYieldsZeros) {
  Matrix m = MakeMatrix({{1, 2}, {3, 4}});
  StreamCapture err(std::cerr);
  m[2][1] = 8.0;
  EXPECT_EQ(m[-1][0], 0.0);
  EXPECT_EQ(m[5][1], 0.0);
  m[0][2] = 5.0;  // a bad column goes through the vector's test
  EXPECT_EQ(err.Text(),
            "Matrix: out of bound\nMatrix: out of bound\nMatrix: out of bound\nVector: out of bound\n");
  ExpectMatrix(m, {{1, 2}, {3, 4}});
}

TEST(MatrixArithmetic, ProductsAndSumsOfConformingOperands) {
  const Matrix a = MakeMatrix({{1, -2}, {0.5, 4}});
  StreamCapture err(std::cerr);
  ExpectMatrix(MakeMatrix({{1, 2, 3}, {4, 5, 6}}) * MakeMatrix({{7, 8}, {9, 10}, {11, 12}}),
               {{58, 64}, {139, 154}});
  ExpectMatrix(a * 2.0, {{2, -4}, {1, 8}});
  ExpectMatrix(2.0 * a, {{2, -4}, {1, 8}});
  ExpectVector(a * MakeVector({1, -1}), {3, -3.5});
  ExpectMatrix(a + MakeMatrix({{10, 20}, {30, 40}}), {{11, 18}, {30.5, 44}});
  EXPECT_EQ(err.Text(), "");
}

// The shape message comes first, before the vectors' own messages.
TEST(MatrixArithmetic, NonConformingOperandsWriteTheShapeMessageFirst) {
  const Matrix a = MakeMatrix({{1, 2, 3}, {4, 5, 6}});
  {
    StreamCapture err(std::cerr);
    const Matrix product = a * a;
    EXPECT_EQ(err.Text().rfind(kIncompatible, 0), 0u);
    EXPECT_EQ(product.Rows(), 2);
    EXPECT_EQ(product.Cols(), 3);
  }
  {
    StreamCapture err(std::cerr);
    EXPECT_EQ((a * Vector(2)).Size(), 2);
    EXPECT_EQ(err.Text().rfind(kIncompatible, 0), 0u);
  }
  StreamCapture err(std::cerr);
  const Matrix sum = MakeMatrix({{1, 2}, {3, 4}}) + MakeMatrix({{1, 1, 1}});
  EXPECT_EQ(err.Text().rfind(kIncompatible, 0), 0u);
  ASSERT_EQ(sum.Rows(), 2);
  EXPECT_EQ(sum[0][1], 3.0);
}

TEST(MatrixStream, WritesALineFeedPerRowAndASpaceBeforeEachElement) {
  std::ostringstream out;
  out << MakeMatrix({{1, 2}, {3, 4}}) << Matrix(0, 0, 0.0);
  EXPECT_EQ(out.str(), "\n 1 2\n 3 4");
}

}  // namespace
