#include "criteria/limit_laws.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>

namespace {

namespace q = quessel::internal;

// Published 95% points: 1.3581 for the Kolmogorov law (Smirnov's 1948 table),
// 0.46136 for n omega-square (Anderson and Darling 1952), 2.492 for n
// Omega-square (Anderson and Darling 1954); agreement to three digits.
TEST(LimitLaws, AgreeWithThePublishedNinetyFivePercentPoints) {
  EXPECT_NEAR(q::KolmLimitDistr(1.358), 0.95, 5e-4);
  EXPECT_NEAR(q::LimitDistrA1(0.4614), 0.95, 5e-4);
  EXPECT_NEAR(q::LimitDistrA2(2.492), 0.95, 5e-4);
}

// Reference values computed independently with mpmath at 30 digits: the
// Kolmogorov series summed to convergence, the a1 series with exact Bessel
// functions, the a2 series with adaptive quadrature. Tolerances: 1e-7 where
// the Kolmogorov series stops; 2e-6 for a1, whose Bessel sums carry the 3e-7
// relative error of the gamma approximation; 1e-9 for a2.
TEST(LimitLaws, AgreeWithAnIndependentHighPrecisionEvaluation) {
  EXPECT_NEAR(q::KolmLimitDistr(1.0), 0.730000328322645, 1e-7);
  EXPECT_NEAR(q::KolmLimitDistr(1.6276), 0.989998462666939, 1e-7);
  EXPECT_NEAR(q::LimitDistrA1(0.1), 0.415126561593205, 2e-6);
  EXPECT_NEAR(q::LimitDistrA1(0.74346), 0.990000038084545, 2e-6);
  EXPECT_NEAR(q::LimitDistrA2(0.5), 0.253185626469656, 1e-9);
  EXPECT_NEAR(q::LimitDistrA2(3.857), 0.989758846770139, 1e-9);
  EXPECT_NEAR(q::LimitDistrA2(8.0), 0.999886185844273, 1e-9);
}

TEST(LimitLaws, CutOffsGiveExactLimits) {
  EXPECT_EQ(q::KolmLimitDistr(0.19), 0.0);
  EXPECT_GT(q::KolmLimitDistr(0.2), 0.0);
  EXPECT_EQ(q::LimitDistrA1(0.0) + q::LimitDistrA2(0.0), 0.0);
  EXPECT_EQ(q::LimitDistrA1(2.48), 1.0);
  EXPECT_LT(q::LimitDistrA1(2.47), 1.0);
  EXPECT_EQ(q::LimitDistrA2(13.18), 1.0);
  EXPECT_LT(q::LimitDistrA2(13.17), 1.0);
  for (double (*law)(double) : {q::KolmLimitDistr, q::LimitDistrA1, q::LimitDistrA2}) {
    EXPECT_EQ(law(std::numeric_limits<double>::quiet_NaN()), 0.0);
  }
}

TEST(Gamma, ApproximatesTheGammaFunctionAndRefusesNonPositiveArguments) {
  // Gamma(0.5) = sqrt(pi); Gamma(4.5) = 3.5 * 2.5 * 1.5 * 0.5 * sqrt(pi) by hand.
  const double root_pi = std::sqrt(std::numbers::pi);
  EXPECT_NEAR(q::gamma(0.5), root_pi, 3e-7 * root_pi);
  EXPECT_NEAR(q::gamma(4.5), 6.5625 * root_pi, 3e-7 * 6.5625 * root_pi);
  EXPECT_EQ(q::gamma(3.0), 2.0);
  EXPECT_EQ(q::gamma(6.0), 120.0);
  for (double x : {0.0, -2.5}) {
    try {
      q::gamma(x);
      ADD_FAILURE() << "no throw for " << x;
    } catch (const char* text) {
      EXPECT_EQ(std::string(text), "\n Function gamma:  arg <= 0.0");
    }
  }
}

}  // namespace
