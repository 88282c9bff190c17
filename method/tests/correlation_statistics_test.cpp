// The correlation coefficients and the t, z and F statistics. Reference
// values are hand computations unless a case says otherwise.
#include "method/correlation_statistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "linalg/tests/test_support.h"

namespace {

// Unit variances, all covariances 0.5.
Matrix EquicorrelatedCovariance(std::int32_t p) {
  Matrix s(p, p, 1.0);
  for (std::int32_t a = 0; a < p; ++a) {
    for (std::int32_t b = 0; b < p; ++b) {
      if (a != b) s[a][b] = 0.5;
    }
  }
  return s;
}

// The statistic's formula over a coefficient fixed by the test.
template <typename Base>
class FixedCoefficient : public Base {
 public:
  template <typename... Arguments>
  explicit FixedCoefficient(double r, Arguments... arguments) : Base(arguments...), r_(r) {}
  double Coefficient(const Matrix*) override { return r_; }

 private:
  double r_;
};

// Any sample with spread in each variable: the fixed coefficient ignores it.
const Matrix kAnySample = MakeMatrix(
    {{1, 2, 4, 0, 3, 1, 2, 5, 0, 1}, {2, 1, 0, 4, 1, 3, 2, 2, 5, 1}, {0, 3, 1, 2, 2, 4, 1, 0, 3, 3}});

TEST(CorrelationCoefficients, PairFromAKnownCovariance) {
  // S = ((4, 2), (2, 9)): r = 2 / sqrt(36) = 1/3, whichever variable comes first.
  const Matrix s = MakeMatrix({{4, 2}, {2, 9}});
  EXPECT_NEAR(TCStatPairT(0, 1, 11).Coefficient(&s), 1.0 / 3.0, 1e-16);
  EXPECT_EQ(TCStatPairT(0, 1, 11).Coefficient(&s), TCStatPairZ0(1, 0, 12, 0.0).Coefficient(&s));
  // Scaling S leaves r unchanged up to rounding.
  const Matrix scaled = s * 7.25;
  EXPECT_NEAR(TCStatPairT(0, 1, 11).Coefficient(&scaled), 1.0 / 3.0, 1e-15);
}

TEST(CorrelationCoefficients, PartialAndMultipleFromEquicorrelatedVariables) {
  const Matrix s = EquicorrelatedCovariance(3);
  // Partial of 0 and 1 given 2: (0.5 - 0.25) / (1 - 0.25) = 1/3.
  EXPECT_NEAR(TCStatIndividT(0, 1, 10, 2).Coefficient(&s), 1.0 / 3.0, 1e-15);
  EXPECT_EQ(TCStatIndividT(0, 1, 10, 2).Coefficient(&s), TCStatIndividZ0(1, 0, 10, 0.2, 2).Coefficient(&s));
  // Multiple of 0 on 1 and 2: R² = c' S22⁻¹ c = (0.25 - 0.25 + 0.25) / 0.75 = 1/3.
  EXPECT_NEAR(TCStatF(0, 1).Coefficient(&s), std::sqrt(1.0 / 3.0), 1e-15);
}

TEST(CorrelationCoefficients, UncorrelatedSecondBlockChangesNothing) {
  // Variables 2 and 3 are uncorrelated with 0 and 1 (S12 = 0).
  const Matrix s = MakeMatrix({{4, 2, 0, 0}, {2, 9, 0, 0}, {0, 0, 1, 0.3}, {0, 0, 0.3, 2}});
  EXPECT_NEAR(TCStatIndividT(0, 1, 10, 2).Coefficient(&s), TCStatPairT(0, 1, 10).Coefficient(&s), 1e-16);
  EXPECT_EQ(TCStatF(0, 2).Coefficient(&s), 0.0);
}

TEST(CorrelationCoefficients, MultipleOnOneVariableIsTheAbsolutePair) {
  const Matrix s = MakeMatrix({{2, 0.1, -0.9}, {0.1, 1, 0.2}, {-0.9, 0.2, 3}});
  EXPECT_NEAR(TCStatF(0, 2).Coefficient(&s), std::fabs(TCStatPairT(0, 2, 10).Coefficient(&s)), 1e-15);
  EXPECT_NEAR(TCStatF(1, 2).Coefficient(&s), std::fabs(TCStatPairT(1, 2, 10).Coefficient(&s)), 1e-15);
}

TEST(CorrelationCoefficients, IndicesOutsideTheMatrixGiveNoCoefficient) {
  // The run's checks keep the indices inside; elsewhere nothing outside S is read.
  const Matrix s = EquicorrelatedCovariance(3);
  EXPECT_TRUE(std::isnan(TCStatPairT(0, 3, 10).Coefficient(&s)));
  EXPECT_TRUE(std::isnan(TCStatIndividT(0, 2, 10, 2).Coefficient(&s)));        // j not below q
  EXPECT_TRUE(std::isnan(TCStatIndividZ0(0, 1, 10, 0.0, 3).Coefficient(&s)));  // no second block
  EXPECT_TRUE(std::isnan(TCStatF(-1, 1).Coefficient(&s)));
}

TEST(CorrelationStatistics, FormulasOverAGivenCoefficient) {
  // t with n = 11 and r = 1/3: (1/3) · 3 / sqrt(8/9) = 3 / sqrt(8) = 1.0606601717798212.
  EXPECT_NEAR(FixedCoefficient<TCStatPairT>(1.0 / 3.0, 0, 1, 11).Statistic(&kAnySample), 1.0606601717798212,
              1e-15);
  // The sign of the coefficient carries over to t.
  EXPECT_NEAR(FixedCoefficient<TCStatPairT>(-1.0 / 3.0, 0, 1, 11).Statistic(&kAnySample), -1.0606601717798212,
              1e-15);
  EXPECT_EQ(FixedCoefficient<TCStatPairT>(0.0, 0, 1, 11).Statistic(&kAnySample), 0.0);
  // z with n = 12, r0 = 0 and r = 1/3: 0.5 ln 2 · 3 = 1.0397207708399179; negative r, negative z.
  EXPECT_NEAR(FixedCoefficient<TCStatPairZ0>(1.0 / 3.0, 0, 1, 12, 0.0).Statistic(&kAnySample),
              1.0397207708399179, 1e-15);
  EXPECT_NEAR(FixedCoefficient<TCStatPairZ0>(-1.0 / 3.0, 0, 1, 12, 0.0).Statistic(&kAnySample),
              -1.0397207708399179, 1e-15);
  // F with N = 10, p = 3, q = 1 and R² = 1/3: 7 · (1/3) / ((2/3) · 2) = 1.75.
  EXPECT_NEAR(FixedCoefficient<TCStatF>(std::sqrt(1.0 / 3.0), 0, 1).Statistic(&kAnySample), 1.75, 1e-14);
}

// One observation far out along (1, 1, 1) on top of deviations x = (1, 1, -1, -1)
// and y = (2, 0, 0, -2) that are orthogonal to it and to the constant: the
// covariance keeps only the far observation's digits, and from it the pair r
// and R come out as 1 and the partial r as NaN. From the observations, the
// partial r of x and y given the third variable is that of x and y alone,
// 1/sqrt 2; the pair r has 1 - r² = 4 / (8 + m) and R² / (1 - R²) = m / 4,
// m = 0.8 · 10^18 being the far observation's share of each scatter.
TEST(CorrelationStatistics, ASampleWhoseCovarianceHoldsNoCoefficient) {
  constexpr double kFar = 1e9;
  const Matrix x = MakeMatrix({{1, 1, -1, -1, kFar}, {2, 0, 0, -2, kFar}, {0, 0, 0, 0, kFar}});
  TCStatPairT pair_t(0, 1, 11);
  TCStatIndividT partial_t(0, 1, 11, 2);
  TCStatIndividZ0 partial_z(0, 1, 12, 0.0, 2);
  TCStatF f(0, 2);
  const auto covariance = pair_t.SampleCovariance(&x, pair_t.SampleMean(&x).get());
  ASSERT_EQ(pair_t.Coefficient(covariance.get()), 1.0);
  ASSERT_TRUE(std::isnan(partial_t.Coefficient(covariance.get())));
  ASSERT_EQ(f.Coefficient(covariance.get()), 1.0);

  const struct {
    TCStatCorr* statistic;
    double expected;
  } cases[] = {
      {&pair_t, 1.5 * std::sqrt(0.8e18 + 4)},  // r sqrt(9) / sqrt(1 - r²) = 3 sqrt(4 + m) / 2
      {&partial_t, 3.0},                       // as for x and y alone
      {&partial_z, 2.6441207610586286},        // atanh(1/sqrt 2) · 3
      {&f, 6e17},                              // (5 - 3 + 2 - 1) (m / 4) / 1
  };
  // The rest's deviations are 1e-9 of the far one's, which the factor rounds
  // to 1e-16 of its own: they keep about seven digits.
  for (const auto& c : cases) EXPECT_NEAR(c.statistic->Statistic(&x) / c.expected, 1.0, 1e-6);
}

TEST(CorrelationStatistics, FisherCentreAddsTheBiasTerm) {
  EXPECT_EQ(TCStatPairZ0(0, 1, 12, 0.0).Z0, 0.0);
  // 0.5 (ln 3 + 0.5/11) = 0.5 (1.0986122886681098 + 0.0454545454545455) = 0.5720334170613276.
  EXPECT_NEAR(TCStatPairZ0(0, 1, 12, 0.5).Z0, 0.5720334170613276, 1e-15);
  EXPECT_NEAR(TCStatIndividZ0(0, 1, 12, -0.5, 2).Z0, -0.5720334170613276, 1e-15);
}

TEST(CorrelationStatistics, PairStatisticsOfAHandMadeSample) {
  // x = (1, 1, -1, -1), y = (2, 0, 0, -2): both means 0, Σxy = 4, Σx² = 4, Σy² = 8, so r = 1/sqrt(2).
  const Matrix x = MakeMatrix({{1, 1, -1, -1}, {2, 0, 0, -2}});
  // t with n = 11: (1/sqrt 2) · 3 / sqrt(1/2) = 3.
  EXPECT_NEAR(TCStatPairT(0, 1, 11).Statistic(&x), 3.0, 1e-14);
  EXPECT_NEAR(TCStatPairT(1, 0, 11).Statistic(&x), 3.0, 1e-14);
  const Matrix mirrored = MakeMatrix({{1, 1, -1, -1}, {-2, 0, 0, 2}});
  EXPECT_NEAR(TCStatPairT(0, 1, 11).Statistic(&mirrored), -3.0, 1e-14);
  // z with n = 12, r0 = 0: atanh(1/sqrt 2) · 3 = ln(1 + sqrt 2) · 3 = 2.6441207610586286.
  EXPECT_NEAR(TCStatPairZ0(0, 1, 12, 0.0).Statistic(&x), 2.6441207610586286, 1e-14);
}

// Bivariate normal samples with correlation rho from an independent generator.
Matrix NormalPair(std::mt19937_64& source, std::int32_t n, double rho) {
  std::normal_distribution<double> normal;
  Matrix x(2, n, 0.0);
  for (std::int32_t s = 0; s < n; ++s) {
    const double first = normal(source);
    x[0][s] = first;
    x[1][s] = rho * first + std::sqrt(1 - rho * rho) * normal(source);
  }
  return x;
}

TEST(CorrelationStatistics, CentredUnderTheHypothesis) {
  std::mt19937_64 source(4242);
  constexpr int kSamples = 20000;
  // z for r0 = 0.5 and n = 12 over samples whose correlation is 0.5: the mean
  // lies within 0.05 of 0 (the standard error is about 0.007; subtracting the
  // bias term would put it near 0.14).
  TCStatPairZ0 z(0, 1, 12, 0.5);
  double z_sum = 0;
  for (int sample = 0; sample < kSamples; ++sample) {
    const Matrix x = NormalPair(source, 12, 0.5);
    z_sum += z.Statistic(&x);
  }
  EXPECT_NEAR(z_sum / kSamples, 0.0, 0.05);

  // t of uncorrelated samples is symmetric about 0: about half the values are
  // negative (binomial standard error 0.0035; a t built from |r| has none).
  TCStatPairT t(0, 1, 10);
  int negative = 0;
  for (int sample = 0; sample < kSamples; ++sample) {
    const Matrix x = NormalPair(source, 10, 0.0);
    if (t.Statistic(&x) < 0) ++negative;
  }
  EXPECT_NEAR(static_cast<double>(negative) / kSamples, 0.5, 0.02);
}

}  // namespace
