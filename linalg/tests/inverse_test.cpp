// Inversion: pivot rules, the zero-pivot result and the non-square message.
// Expected inverses are hand computations; the tolerance is a few units in
// the last place of values of order one (0 for exact cases).
#include <gtest/gtest.h>

#include <iostream>

#include "linalg/matrix.h"
#include "linalg/tests/test_support.h"

namespace {

TEST(MatrixInverse, SmallExamplesWithRowExchanges) {
  ExpectMatrix(MakeMatrix({{0, 1}, {1, 0}}).Inverse(), {{0, 1}, {1, 0}});  // pivot from row 1
  ExpectMatrix(MakeMatrix({{2, 0}, {0, 4}}).Inverse(), {{0.5, 0}, {0, 0.25}});
  ExpectMatrix(Matrix(0, 0, 0.0).Inverse(), {});
  ExpectMatrix(MakeMatrix({{2, -1, 0}, {-1, 2, -1}, {0, -1, 2}}).Inverse(),
               {{0.75, 0.5, 0.25}, {0.5, 1, 0.5}, {0.25, 0.5, 0.75}}, 4e-16);
  ExpectMatrix(MakeMatrix({{0, 0, 2}, {0, 3, 0}, {4, 0, 0}}).Inverse(),
               {{0, 0, 0.25}, {0, 1.0 / 3.0, 0}, {0.5, 0, 0}});
}

TEST(MatrixInverse, EqualMagnitudesKeepTheDiagonalRow) {
  // With row 0 kept as pivot row, a step-by-step hand computation gives exactly
  // 1 - 2 * (1/5) and -2 * (1/5) in the first row.
  const Matrix inverse = MakeMatrix({{1, 2}, {-1, 3}}).Inverse();
  EXPECT_EQ(inverse[0][0], 1.0 - 2.0 * 0.2);
  EXPECT_EQ(inverse[0][1], -2.0 * 0.2);
  ExpectMatrix(inverse, {{0.6, -0.4}, {0.2, 0.2}}, 4e-16);
}

TEST(MatrixInverse, AZeroPivotGivesTheZeroMatrixSilentlyAndANonSquareOneWritesToTheStandardOutput) {
  StreamCapture out(std::cout);
  StreamCapture err(std::cerr);
  ExpectMatrix(MakeMatrix({{1, 2}, {2, 4}}).Inverse(), {{0, 0}, {0, 0}});
  EXPECT_EQ(out.Text() + err.Text(), "");
  // The leading square block is inverted.
  ExpectMatrix(MakeMatrix({{2, 0, 7}, {0, 4, 7}}).Inverse(), {{0.5, 0}, {0, 0.25}});
  EXPECT_EQ(out.Text(), "Matrix: non-square matrix in inversion\n");
  EXPECT_EQ(err.Text(), "");
}

}  // namespace
