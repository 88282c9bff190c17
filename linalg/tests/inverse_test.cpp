// Inversion: pivot rules, the zero-pivot result and the non-square message.
// Unless said otherwise the expected inverses are hand computations.
#include <gtest/gtest.h>

#include <iostream>
#include <vector>

#include "linalg/matrix.h"
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

// Tolerance: a few units in the last place of values of order one.
void ExpectNear(const Matrix& m, const Rows& expected, double tolerance = 4e-16) {
  ASSERT_EQ(m.Rows(), static_cast<std::int32_t>(expected.size()));
  for (std::size_t i = 0; i < expected.size(); ++i) {
    ASSERT_EQ(m.Cols(), static_cast<std::int32_t>(expected[i].size()));
    for (std::size_t j = 0; j < expected[i].size(); ++j) EXPECT_NEAR(m[i][j], expected[i][j], tolerance);
  }
}

TEST(MatrixInverse, PivotFromALaterRow) {
  ExpectNear(Make({{0, 1}, {1, 0}}).Inverse(), {{0, 1}, {1, 0}}, 0.0);
}

TEST(MatrixInverse, DiagonalMatrix) {
  ExpectNear(Make({{2, 0}, {0, 4}}).Inverse(), {{0.5, 0}, {0, 0.25}}, 0.0);
}

TEST(MatrixInverse, EqualMagnitudesKeepTheDiagonalRow) {
  // Row 0 stays the pivot row: 1 / 5 = 0.2 and 1 - 2 * 0.2 = 0.6 are then the
  // doubles of a step-by-step hand computation.
  const Matrix inverse = Make({{1, 2}, {-1, 3}}).Inverse();
  EXPECT_EQ(inverse[0][0], 1.0 - 2.0 * 0.2);
  EXPECT_EQ(inverse[0][1], 0.0 - 2.0 * 0.2);
  EXPECT_EQ(inverse[1][0], 1.0 / 5.0);
  EXPECT_EQ(inverse[1][1], 1.0 / 5.0);
  ExpectNear(inverse, {{0.6, -0.4}, {0.2, 0.2}});
}

TEST(MatrixInverse, ThreeByThreeWithRowExchanges) {
  // The tridiagonal matrix's inverse is (1/4) [[3,2,1],[2,4,2],[1,2,3]]; the
  // permuted one needs an exchange at every column.
  ExpectNear(Make({{2, -1, 0}, {-1, 2, -1}, {0, -1, 2}}).Inverse(),
             {{0.75, 0.5, 0.25}, {0.5, 1, 0.5}, {0.25, 0.5, 0.75}});
  ExpectNear(Make({{0, 0, 2}, {0, 3, 0}, {4, 0, 0}}).Inverse(), {{0, 0, 0.25}, {0, 1.0 / 3.0, 0}, {0.5, 0, 0}});
}

TEST(MatrixInverse, ExactlyZeroPivotGivesTheZeroMatrixSilently) {
  StreamCapture out(std::cout);
  StreamCapture err(std::cerr);
  ExpectNear(Make({{1, 2}, {2, 4}}).Inverse(), {{0, 0}, {0, 0}}, 0.0);
  EXPECT_EQ(out.Text(), "");
  EXPECT_EQ(err.Text(), "");
}

TEST(MatrixInverse, NonSquareWritesToTheStandardOutputAndInvertsTheLeadingBlock) {
  StreamCapture out(std::cout);
  StreamCapture err(std::cerr);
  const Matrix inverse = Make({{2, 0, 7}, {0, 4, 7}}).Inverse();
  EXPECT_EQ(out.Text(), "Matrix: non-square matrix in inversion\n");
  EXPECT_EQ(err.Text(), "");
  ExpectNear(inverse, {{0.5, 0}, {0, 0.25}}, 0.0);
}

TEST(MatrixInverse, EmptyMatrixInvertsToEmpty) {
  const Matrix inverse = Matrix(0, 0, 0.0).Inverse();
  EXPECT_EQ(inverse.Rows(), 0);
  EXPECT_EQ(inverse.Cols(), 0);
}

TEST(MatrixInverse, LeavesItsOperandUnchanged) {
  const Matrix a = Make({{0, 1}, {1, 0}});
  (void)a.Inverse();
  ExpectNear(a, {{0, 1}, {1, 0}}, 0.0);
}

}  // namespace
