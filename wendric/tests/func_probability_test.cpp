#include "wendric/func_probability.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

namespace {

using FP = FuncProbability;
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

double T1(double x, bool upper) { return FP::tProbability(x, 1.0, upper, false); }
double F11(double x, bool upper) { return FP::fProbability(x, 1.0, 1.0, upper); }
double Arcsine(double x, bool upper) { return FP::BetaProbability(x, 0.5, 0.5, upper); }

TEST(FuncProbability, LowerAndUpperAddToOne) {
  for (double x : {1e-6, 0.2, 0.5, 0.93, 2.0, 7.8, 40.0}) {
    EXPECT_NEAR(FP::Chi2Probability(x, 3.0, false) + FP::Chi2Probability(x, 3.0, true), 1.0, 1e-14) << x;
    EXPECT_NEAR(FP::fProbability(x, 4.0, 17.0, false) + FP::fProbability(x, 4.0, 17.0, true), 1.0, 1e-14)
        << x;
    EXPECT_NEAR(FP::NormProbability(-x, 0.0, 1.0, false) + FP::NormProbability(-x, 0.0, 1.0, true), 1.0,
                1e-14);
    EXPECT_NEAR(FP::BetaProbability(x / 41, 2.5, 0.7, false) + FP::BetaProbability(x / 41, 2.5, 0.7, true),
                1.0, 1e-14);
    EXPECT_NEAR(FP::tProbability(x, 5.0, false, false) + FP::tProbability(x, 5.0, true, false), 1.0, 1e-14);
  }
}

// Reference values from closed forms derived by hand from each density,
// evaluated with the C library; tolerances a few units in the last place.
TEST(FuncProbability, AgreesWithClosedForms) {
  for (double x : {0.0, 1e-8, 0.5, 2.5, 60.0}) {
    EXPECT_NEAR(FP::Chi2Probability(x, 2.0, false), 1.0 - std::exp(-x / 2), 1e-15) << x;
    EXPECT_NEAR(FP::Chi2Probability(x, 1.0, false), std::erf(std::sqrt(x / 2)), 2e-15) << x;
    EXPECT_NEAR(FP::fProbability(x, 2.0, 2.0, false), x / (1 + x), 1e-15) << x;
  }
  // Upper tails keep their digits where 1 - F would have none left.
  for (double x : {100.0, 1400.0}) {
    EXPECT_NEAR(FP::Chi2Probability(x, 2.0, true), std::exp(-x / 2), 1e-13 * std::exp(-x / 2)) << x;
  }
  for (double x : {-3.0, 0.0, 1.96, 8.0}) {
    const double tail = 0.5 * std::erfc(x / std::numbers::sqrt2);
    EXPECT_NEAR(FP::NormProbability(2 * x + 1, 1.0, 2.0, true), tail, 1e-13 * tail) << x;
    // Student t(1) is Cauchy: 1/2 + atan(x)/pi.
    EXPECT_NEAR(FP::tProbability(x, 1.0, false, false), 0.5 + std::atan(x) / std::numbers::pi, 1e-15);
  }
  EXPECT_NEAR(FP::BetaProbability(0.3, 2.0, 1.0, false), 0.09, 1e-15);  // x^2
}

// Reference values from mpmath at 60 digits (regularised incomplete beta and
// gamma functions), at points of the laws the runs fit against; each member
// evaluates in double and must stay within 1e-13 relative of them.
TEST(FuncProbability, AgreesWithHighPrecisionValues) {
  const struct {
    double got;
    double exact;
  } cases[] = {
      {FP::fProbability(1.5, 5.0, 45.0, false), 0.79114139640653745519},
      {FP::fProbability(1.5, 5.0, 45.0, true), 0.20885860359346254481},
      {FP::fProbability(3.0, 20.0, 980.0, true), 1.103531995009377195e-5},
      {FP::fProbability(0.4, 10.0, 190.0, false), 0.054532539687803313612},
      {FP::tProbability(-2.1, 26.0, false, false), 0.022790656932723556607},
      {FP::Chi2Probability(7.5, 7.0, true), 0.37873690604821293668},
      {FP::BetaProbability(0.35, 2.5, 0.7, false), 0.044474442104678466317},
      {FP::NormProbability(-4.5, 0.0, 1.0, false), 3.3976731247300604017e-6},
  };
  for (const auto& c : cases) EXPECT_NEAR(c.got, c.exact, 1e-13 * c.exact) << &c - cases;
}

// Laws the runs reach at their edges (Student t(1) for the pair t at N = 3,
// F(1, 1) for T2 with p = 1 at N = 2, beta(1/2, 1/2)), at points near the
// centre and far in the tails. Reference values from mpmath at 50 digits,
// each from the regularised incomplete beta function at the argument's exact
// double, not from the laws' closed forms; within 1e-12 relative, both tails.
TEST(FuncProbability, AgreesWithHighPrecisionValuesOnTheLawsWithClosedForms) {
  const struct {
    double (*law)(double x, bool upper);
    double x;
    double lower;
    double upper;
  } cases[] = {
      {T1, 1e-9, 0.50000000031830988618, 0.49999999968169011382},
      {T1, -1e-6, 0.49999968169011381632, 0.50000031830988618368},
      {T1, 3.0, 0.89758361765043327418, 0.10241638234956672582},
      {T1, -250.0, 0.0012732327541894465516, 0.99872676724581055345},
      {F11, 1e-12, 6.3661977236736913008e-7, 0.99999936338022763263},
      {F11, 2.0, 0.60817344796939272983, 0.39182655203060727017},
      {F11, 1e6, 0.99936338043983888212, 0.00063661956016111787775},
      {F11, 1e12, 0.99999936338022763263, 6.3661977236736913648e-7},
      {Arcsine, 1e-12, 6.3661977236768743997e-7, 0.99999936338022763231},
      {Arcsine, 0.3, 0.36901011956554537504, 0.63098988043445462496},
      {Arcsine, 0.9, 0.79516723530086657191, 0.20483276469913342809},
      {Arcsine, 0.999999999, 0.99997986831543953137, 0.000020131684560468627198},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(c.law(c.x, false), c.lower, 1e-12 * c.lower) << &c - cases;
    EXPECT_NEAR(c.law(c.x, true), c.upper, 1e-12 * c.upper) << &c - cases;
  }
}

// The far tails, where a squared or scaled argument leaves the range of a
// double, and subnormal arguments, against mpmath at 80 digits from the
// regularised incomplete beta and gamma functions at the arguments' exact
// doubles: within 2e-13 relative. With a million degrees of freedom the
// general evaluation keeps only 2e-11.
TEST(FuncProbability, FarTailsAndSubnormalArgumentsKeepTheirDigits) {
  constexpr double kSmallest = std::numeric_limits<double>::denorm_min();
  const struct {
    double got;
    double exact;
    double tolerance;
  } cases[] = {
      {FP::tProbability(1e156, 1.5, true, false), 3.7708524320162464456e-235, 2e-13},
      {FP::tProbability(-1e200, 1.5, false, false), 3.7708524320162465227e-301, 2e-13},
      {FP::tProbability(1.7e308, 0.5, true, false), 2.459664200319102919e-155, 2e-13},
      {FP::BetaProbability(kSmallest, 0.5, 2.0, false), 3.3341381242276162252e-162, 2e-13},
      {FP::BetaProbability(1e-320, 0.1, 3.0, false), 1.1549987141531533646e-32, 2e-13},
      {FP::Chi2Probability(kSmallest, 1.0, false), 1.7735048886036272689e-162, 2e-13},
      {FP::Chi2Probability(kSmallest, 0.1, false), 6.7810957117934533542e-17, 2e-13},
      {FP::fProbability(kSmallest, 1.0, 3.0, false), 1.6339615015236420753e-162, 2e-13},
      {FP::fProbability(1.7e308, 7.0, 0.2, true), 1.2383025553509785421e-31, 2e-13},
      {FP::fProbability(10.0, 10.0, 1e6, true), 5.4612658428052576332e-17, 2e-11},
      {FP::fProbability(0.5, 1e6, 10.0, false), 0.029253823079997246192, 2e-11},
  };
  for (const auto& c : cases) EXPECT_NEAR(c.got, c.exact, c.tolerance * c.exact) << &c - cases;
}

TEST(FuncProbability, OutsideTheSupportOrForAnUndefinedLawTheResultIsALimit) {
  EXPECT_EQ(FP::Chi2Probability(-1.0, 3.0, true), 1.0);
  EXPECT_EQ(FP::Chi2Probability(kInf, 3.0, false), 1.0);
  EXPECT_EQ(FP::fProbability(-0.5, 2.0, 3.0, false), 0.0);
  EXPECT_EQ(FP::BetaProbability(1.5, 2.0, 3.0, false), 1.0);
  EXPECT_EQ(FP::BetaProbability(-0.1, 2.0, 3.0, true), 1.0);
  EXPECT_EQ(FP::NormProbability(-kInf, 0.0, 1.0, false), 0.0);
  EXPECT_EQ(FP::tProbability(kInf, 3.0, true, false), 0.0);
  // Each of these makes Boost raise a domain error or return NaN; F is 0.
  for (bool upper : {false, true}) {
    const double f = upper ? 1.0 : 0.0;
    EXPECT_EQ(FP::Chi2Probability(1.0, 0.0, upper), f);
    EXPECT_EQ(FP::Chi2Probability(kNaN, 3.0, upper), f);
    EXPECT_EQ(FP::fProbability(1.0, kInf, 3.0, upper), f);
    EXPECT_EQ(FP::NormProbability(0.5, 0.0, 0.0, upper), f);
    EXPECT_EQ(FP::NormProbability(0.5, kNaN, 1.0, upper), f);
    EXPECT_EQ(FP::BetaProbability(0.5, -1.0, 1.0, upper), f);
    EXPECT_EQ(FP::tProbability(0.5, -2.0, upper, false), f);
  }
}

}  // namespace
