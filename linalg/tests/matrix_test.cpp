#include "linalg/matrix.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <vector>

#include "linalg/tests/stream_capture.h"

namespace {

using Rows = std::vector<std::vector<double>>;

Matrix Make(const Rows& rows) {
  Matrix m(static_cast<std::int32_t>(rows.size()), static_cast<std::int32_t>(rows[0].size()), 0.0);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    for (std::size_t j = 0; j < rows[i].size(); ++j) m[i][j] = rows[i][j];
  }
  return m;
}

void ExpectEqual(const Matrix& m, const Rows& expected) {
  ASSERT_EQ(m.Rows(), static_cast<std::int32_t>(expected.size()));
  for (std::size_t i = 0; i < expected.size(); ++i) {
    ASSERT_EQ(m.Cols(), static_cast<std::int32_t>(expected[i].size()));
    for (std::size_t j = 0; j < expected[i].size(); ++j) EXPECT_EQ(m[i][j], expected[i][j]) << i << "," << j;
  }
}

const char kIncompatible[] = "Matrix: incompatible operand's dimension\n";

TEST(MatrixConstruction, DiagonalValueStopsAtTheSmallerSide) {
  ExpectEqual(Matrix(2, 3, 5.0), {{5, 0, 0}, {0, 5, 0}});
  ExpectEqual(Matrix(3, 2, 1.0), {{1, 0}, {0, 1}, {0, 0}});
}

TEST(MatrixConstruction, FromVectorMakesAColumn) {
  Vector v(3);
  v[0] = 1;
  v[1] = 2;
  v[2] = 3;
  ExpectEqual(Matrix(v), {{1}, {2}, {3}});
}

TEST(MatrixConstruction, CopyOwnsItsRows) {
  Matrix a = Make({{1, 2}, {3, 4}});
  const Matrix b(a);
  a[1][1] = 9;
  ExpectEqual(b, {{1, 2}, {3, 4}});
}

TEST(MatrixAssignment, TakesTheSourceShape) {
  Matrix target(2, 2, 7.0);
  target = Make({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
  ExpectEqual(target, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
  target = target;
  ExpectEqual(target, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
}

TEST(MatrixAccess, OutOfRangeRowWritesOneMessageAndYieldsZeros) {
  Matrix m = Make({{1, 2}, {3, 4}});
  StreamCapture err(std::cerr);
  m[2][1] = 8.0;
  EXPECT_EQ(m[-1][0], 0.0);
  EXPECT_EQ(m[5][1], 0.0);
  EXPECT_EQ(err.Text(), "Matrix: out of bound\nMatrix: out of bound\nMatrix: out of bound\n");
  ExpectEqual(m, {{1, 2}, {3, 4}});
}

TEST(MatrixAccess, OutOfRangeColumnGoesThroughTheVectorTest) {
  Matrix m = Make({{1, 2}, {3, 4}});
  StreamCapture err(std::cerr);
  m[0][2] = 5.0;
  EXPECT_EQ(err.Text(), "Vector: out of bound\n");
  ExpectEqual(m, {{1, 2}, {3, 4}});
}

TEST(MatrixAccess, RowAndColumnAreCopies) {
  const Matrix m = Make({{1, 2, 3}, {4, 5, 6}});
  Vector row = m.Row(1);
  Vector column = m.Column(2);
  ASSERT_EQ(row.Size(), 3);
  ASSERT_EQ(column.Size(), 2);
  EXPECT_EQ(row[0], 4.0);
  EXPECT_EQ(column[0], 3.0);
  EXPECT_EQ(column[1], 6.0);
  row[0] = 0;
  EXPECT_EQ(m[1][0], 4.0);
}

TEST(MatrixProduct, OfConformingMatrices) {
  const Matrix a = Make({{1, 2, 3}, {4, 5, 6}});
  const Matrix b = Make({{7, 8}, {9, 10}, {11, 12}});
  StreamCapture err(std::cerr);
  ExpectEqual(a * b, {{58, 64}, {139, 154}});  // by hand
  EXPECT_EQ(err.Text(), "");
}

TEST(MatrixProduct, OfNonConformingMatricesWritesTheMatrixMessageFirst) {
  const Matrix a = Make({{1, 2, 3}, {4, 5, 6}});
  StreamCapture err(std::cerr);
  const Matrix product = a * a;
  const std::string text = err.Text();
  EXPECT_EQ(text.rfind(kIncompatible, 0), 0u);
  EXPECT_EQ(product.Rows(), 2);
  EXPECT_EQ(product.Cols(), 3);
}

TEST(MatrixProduct, ByScalarOnEitherSide) {
  const Matrix a = Make({{1, -2}, {0.5, 4}});
  ExpectEqual(a * 2.0, {{2, -4}, {1, 8}});
  ExpectEqual(2.0 * a, {{2, -4}, {1, 8}});
}

TEST(MatrixProduct, TimesColumnVector) {
  const Matrix a = Make({{1, 2, 3}, {4, 5, 6}});
  Vector v(3);
  v[0] = 1;
  v[1] = 0;
  v[2] = -1;
  StreamCapture err(std::cerr);
  const Vector product = a * v;
  ASSERT_EQ(product.Size(), 2);
  EXPECT_EQ(product[0], -2.0);
  EXPECT_EQ(product[1], -2.0);
  EXPECT_EQ(err.Text(), "");
  const Vector short_one(2);
  const Vector mismatched = a * short_one;
  EXPECT_EQ(err.Text().rfind(kIncompatible, 0), 0u);
  EXPECT_EQ(mismatched.Size(), 2);
}

TEST(MatrixSum, AddsElementwiseAndReportsShapeMismatch) {
  const Matrix a = Make({{1, 2}, {3, 4}});
  const Matrix b = Make({{10, 20}, {30, 40}});
  ExpectEqual(a + b, {{11, 22}, {33, 44}});
  const Matrix c = Make({{1, 1, 1}});
  StreamCapture err(std::cerr);
  const Matrix sum = a + c;
  EXPECT_EQ(err.Text().rfind(kIncompatible, 0), 0u);
  ASSERT_EQ(sum.Rows(), 2);
  EXPECT_EQ(sum[0][0], 2.0);
  EXPECT_EQ(sum[0][1], 3.0);
}

TEST(MatrixTranspose, SwapsRowsAndColumns) {
  ExpectEqual(Make({{1, 2, 3}, {4, 5, 6}}).Transpose(), {{1, 4}, {2, 5}, {3, 6}});
}

TEST(MatrixStream, WritesALineFeedPerRowAndASpaceBeforeEachElement) {
  std::ostringstream out;
  out << Make({{1, 2}, {3, 4}});
  EXPECT_EQ(out.str(), "\n 1 2\n 3 4");
  std::ostringstream empty;
  empty << Matrix(0, 0, 0.0);
  EXPECT_EQ(empty.str(), "");
}

}  // namespace
