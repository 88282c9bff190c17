// The sample estimates and the mean-vector statistics. Reference values are
// hand computations from the formulas, each noted beside its case.
#include "method/statistic.h"

#include <gtest/gtest.h>

#include <random>

#include "linalg/tests/test_support.h"
#include "method/mean_statistics.h"

namespace {

// Any concrete statistic serves for the estimates, which use no field.
class Estimates : public TCStatistic {
 public:
  double Statistic(const Matrix*) override { return 0; }
};

TEST(SampleEstimates, SmallSamplesByHand) {
  Estimates estimates;
  // One observation: the mean is that observation.
  const Matrix one = MakeMatrix({{1.5}, {-2.0}});
  ExpectVector(*estimates.SampleMean(&one), {1.5, -2.0});

  // 1, 2, 3: mean 2, variance ((-1)² + 0 + 1²) / 2 = 1.
  const Matrix row = MakeMatrix({{1, 2, 3}});
  const auto row_mean = estimates.SampleMean(&row);
  EXPECT_EQ((*row_mean)[0], 2.0);
  ExpectMatrix(*estimates.SampleCovariance(&row, row_mean.get()), {{1.0}});

  // Equal columns scatter nothing about their own mean.
  const Matrix equal = MakeMatrix({{0.25, 0.25, 0.25}, {-7, -7, -7}});
  const auto equal_mean = estimates.SampleMean(&equal);
  ExpectMatrix(*estimates.SampleCovariance(&equal, equal_mean.get()), {{0, 0}, {0, 0}});

  // About the zero vector: columns (1, 3) and (2, 4) give [[1+4, 3+8], [3+8, 9+16]] / (2 - 1).
  const Matrix pair = MakeMatrix({{1, 2}, {3, 4}});
  const Vector zero(2);
  ExpectMatrix(*estimates.SampleCovariance(&pair, &zero), {{5, 11}, {11, 25}});
}

TEST(SampleEstimates, CovarianceIsSymmetricToTheLastBit) {
  std::mt19937_64 source(20240501);
  std::normal_distribution<double> normal;
  Matrix x(4, 13, 0.0);
  for (std::int32_t k = 0; k < 4; ++k) {
    for (std::int32_t s = 0; s < 13; ++s) x[k][s] = normal(source) * (k + 1);
  }
  Estimates estimates;
  const auto mean = estimates.SampleMean(&x);
  const auto covariance = estimates.SampleCovariance(&x, mean.get());
  for (std::int32_t k = 0; k < 4; ++k) {
    for (std::int32_t l = 0; l < 4; ++l) EXPECT_EQ((*covariance)[k][l], (*covariance)[l][k]);
  }
}

TEST(MeanStatistics, MeanEqualToM0GivesZero) {
  const Matrix x = MakeMatrix({{1, 3}, {-1, 5}});  // mean (2, 2)
  const Vector m0 = MakeVector({2, 2});
  const Matrix sigma = MakeMatrix({{2, 0.5}, {0.5, 1}});
  EXPECT_EQ(TCStatX2(&m0, &sigma).Statistic(&x), 0.0);
  EXPECT_EQ(TCStatT2(&m0).Statistic(&x), 0.0);
}

TEST(MeanStatistics, OneVariableByHand) {
  // 1, 2, 3, 6: mean 3, s² = (4 + 1 + 0 + 9) / 3 = 14/3; μ0 = 1, σ² = 4.
  const Matrix x = MakeMatrix({{1, 2, 3, 6}});
  const Vector m0 = MakeVector({1});
  const Matrix sigma = MakeMatrix({{4}});
  // X2 = N (x̄ - μ0)² / σ² = 4 · 4 / 4, exact in binary.
  EXPECT_EQ(TCStatX2(&m0, &sigma).Statistic(&x), 4.0);
  // T2 = N (x̄ - μ0)² / s² = 16 · 3 / 14 = 24/7; tolerance a few units in the last place.
  EXPECT_NEAR(TCStatT2(&m0).Statistic(&x), 24.0 / 7.0, 4e-15);
}

TEST(MeanStatistics, T2OfALargeSample) {
  // N = 50 000 alternating ±1: mean 0, s² = N / (N - 1); with μ0 = -0.01,
  // T2 = N · 0.0001 / s² = (N - 1) · 0.0001 = 4.9999, where (N - p) · N passes 2^31.
  constexpr std::int32_t n = 50000;
  Matrix x(1, n, 0.0);
  for (std::int32_t s = 0; s < n; ++s) x[0][s] = s % 2 == 0 ? 1.0 : -1.0;
  const Vector m0 = MakeVector({-0.01});
  EXPECT_NEAR(TCStatT2(&m0).Statistic(&x), 4.9999, 1e-9);
}

TEST(MeanStatistics, IdentityCovarianceGivesNTimesTheSquaredDistance) {
  // Mean (1, 2), M0 = 0, N = 5: 5 · (1 + 4) = 25, exact.
  const Matrix x = MakeMatrix({{0, 2, 1, 1, 1}, {2, 2, 1, 3, 2}});
  const Vector m0(2);
  const Matrix identity(2, 2, 1.0);
  EXPECT_EQ(TCStatX2(&m0, &identity).Statistic(&x), 25.0);
}

TEST(MeanStatistics, T2IgnoresACommonScale) {
  const Matrix x = MakeMatrix({{0.3, 1.2, -0.7, 2.0, 0.1}, {1.0, -0.4, 0.6, 0.9, 2.2}});
  const Vector m0 = MakeVector({0.2, 0.5});
  const double t2 = TCStatT2(&m0).Statistic(&x);
  const Matrix scaled_x = x * -3.5;
  const Vector scaled_m0 = MakeVector({0.2 * -3.5, 0.5 * -3.5});
  // Equal up to rounding: a relative 1e-13.
  EXPECT_NEAR(TCStatT2(&scaled_m0).Statistic(&scaled_x), t2, std::abs(t2) * 1e-13);
}

}  // namespace
