// Matrix: shapes, products, sums and stream output. Values by hand.
#include "linalg/matrix.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

#include "linalg/tests/test_support.h"

namespace {

const std::string kIncompatible = "Matrix: incompatible operand's dimension\n";

void ExpectEqual(const Matrix& m, std::initializer_list<std::initializer_list<double>> expected) {
  ASSERT_EQ(m.Rows(), static_cast<std::int32_t>(expected.size()));
  std::int32_t i = 0;
  for (const auto& row : expected) {
    ASSERT_EQ(m.Cols(), static_cast<std::int32_t>(row.size()));
    std::int32_t j = 0;
    for (double x : row) EXPECT_EQ(m[i][j++], x) << "at " << i << "," << j - 1;
    ++i;
  }
}

TEST(MatrixValue, ConstructionCopyAndAssignment) {
  ExpectEqual(Matrix(2, 3, 5.0), {{5, 0, 0}, {0, 5, 0}});
  ExpectEqual(Matrix(3, 2, 1.0), {{1, 0}, {0, 1}, {0, 0}});
  ExpectEqual(Matrix(MakeVector({1, 2, 3})), {{1}, {2}, {3}});

  Matrix a = MakeMatrix({{1, 2}, {3, 4}});
  const Matrix copy(a);
  a[1][1] = 9;
  ExpectEqual(copy, {{1, 2}, {3, 4}});

  Matrix target(2, 2, 7.0);
  target = MakeMatrix({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
  ExpectEqual(target, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
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
  ExpectEqual(m, {{1, 2}, {3, 4}});
}

TEST(MatrixProduct, ConformingAndNonConformingOperands) {
  const Matrix a = MakeMatrix({{1, 2, 3}, {4, 5, 6}});
  StreamCapture err(std::cerr);
  ExpectEqual(a * MakeMatrix({{7, 8}, {9, 10}, {11, 12}}), {{58, 64}, {139, 154}});
  EXPECT_EQ(err.Text(), "");
  const Matrix product = a * a;
  EXPECT_EQ(err.Text().rfind(kIncompatible, 0), 0u);  // before the vectors' own messages
  EXPECT_EQ(product.Rows(), 2);
  EXPECT_EQ(product.Cols(), 3);
}

TEST(MatrixProduct, ByScalarAndByVector) {
  const Matrix a = MakeMatrix({{1, -2}, {0.5, 4}});
  ExpectEqual(a * 2.0, {{2, -4}, {1, 8}});
  ExpectEqual(2.0 * a, {{2, -4}, {1, 8}});
  StreamCapture err(std::cerr);
  const Vector product = a * MakeVector({1, -1});
  EXPECT_EQ(product[0], 3.0);
  EXPECT_EQ(product[1], -3.5);
  EXPECT_EQ(err.Text(), "");
  EXPECT_EQ((a * Vector(3)).Size(), 2);
  EXPECT_EQ(err.Text().rfind(kIncompatible, 0), 0u);
}

TEST(MatrixSum, AddsElementwiseAndReportsShapeMismatch) {
  const Matrix a = MakeMatrix({{1, 2}, {3, 4}});
  ExpectEqual(a + MakeMatrix({{10, 20}, {30, 40}}), {{11, 22}, {33, 44}});
  StreamCapture err(std::cerr);
  const Matrix sum = a + MakeMatrix({{1, 1, 1}});
  EXPECT_EQ(err.Text().rfind(kIncompatible, 0), 0u);
  ASSERT_EQ(sum.Rows(), 2);
  EXPECT_EQ(sum[0][1], 3.0);
}

TEST(MatrixShape, TransposeRowAndColumn) {
  const Matrix a = MakeMatrix({{1, 2, 3}, {4, 5, 6}});
  ExpectEqual(a.Transpose(), {{1, 4}, {2, 5}, {3, 6}});
  EXPECT_EQ(a.Row(1)[2], 6.0);
  EXPECT_EQ(a.Column(2)[1], 6.0);
}

TEST(MatrixStream, WritesALineFeedPerRowAndASpaceBeforeEachElement) {
  std::ostringstream out;
  out << MakeMatrix({{1, 2}, {3, 4}}) << Matrix(0, 0, 0.0);
  EXPECT_EQ(out.str(), "\n 1 2\n 3 4");
}

}  // namespace
