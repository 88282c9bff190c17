// The library's own gamma approximations. Reference figures of the
// exponential-power generator; the polynomial's Gamma(1/2) is not sqrt(pi).
#include "generators/gamma_functions.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(GammaFunction, IntegersGiveFactorials) {
  EXPECT_EQ(olvend::GammaFunction(1.0), 1.0);
  EXPECT_EQ(olvend::GammaFunction(2.0), 1.0);
  EXPECT_EQ(olvend::GammaFunction(5.0), 24.0);
  EXPECT_EQ(olvend::GammaFunction(20.0), 121645100408832000.0);  // 19!, exact in a double
}

TEST(GammaFunction, OutsideItsRangeGivesOne) {
  EXPECT_EQ(olvend::GammaFunction(0.0), 1.0);
  EXPECT_EQ(olvend::GammaFunction(-3.0), 1.0);
  EXPECT_EQ(olvend::GammaFunction(21.0), 1.0);
  EXPECT_EQ(olvend::GammaFunction(20.5), 1.0);
}

TEST(GammaFunction, FractionsUseThePolynomial) {
  // The figures are shortest round-trip doubles; they agree exactly.
  EXPECT_EQ(olvend::GammaFunction(0.5), 1.7724539918359374);
  EXPECT_EQ(olvend::GammaFunction(2.5), 1.329340493876953);
}

TEST(IncompleteGamma, EdgesOfTheSeries) {
  EXPECT_EQ(olvend::IncompleteGamma(0.5, 0.0, 1e-8), 0.0);
  EXPECT_EQ(olvend::IncompleteGamma(2.0, -1.0, 1e-8), 0.0);
  EXPECT_EQ(olvend::IncompleteGamma(0.5, 600.0, 1e-8), olvend::GammaFunction(0.5));
}

TEST(IncompleteGamma, SeriesMatchesClosedForms) {
  // gamma(1, x) = 1 - e^-x and gamma(2, x) = 1 - (1 + x) e^-x, by hand; the series
  // stops at terms below 1e-16, so agreement to about 1e-15.
  EXPECT_NEAR(olvend::IncompleteGamma(1.0, 2.0, 1e-8), 1.0 - std::exp(-2.0), 1e-15);
  EXPECT_NEAR(olvend::IncompleteGamma(2.0, 3.0, 1e-8), 1.0 - 4.0 * std::exp(-3.0), 1e-15);
}

TEST(IncompleteGamma, HalfIsCappedAtRootPi) {
  // Far out the series for a = 1/2 passes sqrt(pi) by rounding; the cap holds it there.
  EXPECT_LE(olvend::IncompleteGamma(0.5, 400.0, 1e-8), std::sqrt(3.141592653589793));
}

TEST(SignOf, ThreeOutcomes) {
  EXPECT_EQ(olvend::SignOf(-2.5), -1);
  EXPECT_EQ(olvend::SignOf(0.0), 0);
  EXPECT_EQ(olvend::SignOf(-0.0), 0);
  EXPECT_EQ(olvend::SignOf(1e-300), 1);
}

}  // namespace
