#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "criteria/quessel.h"

namespace {

TEST(DistribFunc, DispatchesEveryKindWithComplementaryTails) {
  DistribFunc normal{dfNormal, 5.0, 7.0};  // the standard law whatever the parameters
  EXPECT_EQ(normal.Probability(0.0, false), 0.5);
  EXPECT_EQ(normal.Probability(0.0, true), 0.5);
  // Hand value: t(1) at 1 is 3/4.
  DistribFunc student{dfStudent, 1.0, 0.0};
  EXPECT_NEAR(student.Probability(1.0, false), 0.75, 1e-15);
  for (DistribFunc law : {DistribFunc{dfChi2, 4.0, 0.0}, DistribFunc{dfFisher, 3.0, 20.0},
                          DistribFunc{dfBeta, 2.0, 5.0}, DistribFunc{dfStudent, 6.0, 0.0}}) {
    for (double x : {0.05, 0.8, 2.5}) {
      EXPECT_NEAR(law.Probability(x, false) + law.Probability(x, true), 1.0, 1e-14) << int(law.Kind);
    }
  }
  for (std::int8_t kind : {0, 6, -1}) {  // unknown: as an undefined law, F = 0
    DistribFunc unknown{kind, 1.0, 1.0};
    EXPECT_EQ(unknown.Probability(0.5, false), 0.0);
    EXPECT_EQ(unknown.Probability(0.5, true), 1.0);
  }
}

std::vector<double> Sorted(std::vector<double> values, int n) {
  sort_up(n, values.data());
  return values;
}

TEST(SortUp, SortsAscendingInPlace) {
  using V = std::vector<double>;
  EXPECT_EQ(Sorted({3, 1, 2}, 3), (V{1, 2, 3}));
  EXPECT_EQ(Sorted({2, -1, 2, 0.5, -1, 2}, 6), (V{-1, -1, 0.5, 2, 2, 2}));
  for (int n : {1, 0, -5}) EXPECT_EQ(Sorted({3, 1, 2}, n), (V{3, 1, 2}));

  const double nan = std::numeric_limits<double>::quiet_NaN();
  const V with_nan = Sorted({nan, 2, nan, -1, 0}, 5);  // NaN values go last
  EXPECT_EQ(V(with_nan.begin(), with_nan.begin() + 3), (V{-1, 0, 2}));
  EXPECT_TRUE(std::isnan(with_nan[3]) && std::isnan(with_nan[4]));
}

}  // namespace
