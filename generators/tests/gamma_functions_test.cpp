// The library's own gamma approximations. Reference figures of the
// exponential-power generator, given as shortest round-trip doubles that
// agree exactly; the polynomial's Gamma(1/2) is not sqrt(pi).
#include "generators/gamma_functions.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(GammaFunction, FactorialsAtIntegersThePolynomialBetweenAndOneOutsideItsRange) {
  const std::pair<double, double> values[] = {{1.0, 1.0},
                                              {2.0, 1.0},
                                              {5.0, 24.0},
                                              {20.0, 121645100408832000.0},  // 19!, exact in a double
                                              {0.0, 1.0},
                                              {-3.0, 1.0},
                                              {21.0, 1.0},
                                              {20.5, 1.0},
                                              {0.5, 1.7724539918359374},
                                              {2.5, 1.329340493876953}};
  for (const auto& [x, gamma] : values) EXPECT_EQ(olvend::GammaFunction(x), gamma) << x;
}

TEST(IncompleteGamma, EdgesOfTheSeriesAndClosedForms) {
  EXPECT_EQ(olvend::IncompleteGamma(0.5, 0.0, 1e-8), 0.0);
  EXPECT_EQ(olvend::IncompleteGamma(2.0, -1.0, 1e-8), 0.0);
  EXPECT_EQ(olvend::IncompleteGamma(0.5, 600.0, 1e-8), olvend::GammaFunction(0.5));
  // gamma(1, x) = 1 - e^-x and gamma(2, x) = 1 - (1 + x) e^-x, by hand; the series
  // stops at terms below 1e-16, so agreement to about 1e-15.
  EXPECT_NEAR(olvend::IncompleteGamma(1.0, 2.0, 1e-8), 1.0 - std::exp(-2.0), 1e-15);
  EXPECT_NEAR(olvend::IncompleteGamma(2.0, 3.0, 1e-8), 1.0 - 4.0 * std::exp(-3.0), 1e-15);
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
