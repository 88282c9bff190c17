#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "criteria/quessel.h"
#include "criteria/tests/crit_fields.h"
#include "platform/exceptions.h"

namespace {

const DistribFunc kNormal{dfNormal, 0.0, 0.0};
const DistribFunc kUniform{dfBeta, 1.0, 1.0};  // F(x) = x

CritVA Criteria(std::vector<double> x, DistribFunc dist) {
  CritVA crit = FreshCrit();
  KolmSmOm(x.data(), static_cast<int>(x.size()), &dist, crit);
  EXPECT_EQ(UntouchedFields(crit), 4);  // the chi-square fields
  return crit;
}

// Reference values from an independent evaluation in mpmath (30 digits): the
// textbook definitions of D+, D-, n omega-square and the symmetric form of
// n Omega-square, -n - (1/n) sum (2i - 1)(ln F_i + ln(1 - F_(n+1-i))), with the
// limiting laws summed to convergence. Statistics to 1e-14; probabilities to
// each law's accuracy (1e-7 Kolmogorov, 2e-6 omega-square, 1e-9 Omega-square).
TEST(KolmSmOm, MatchesAnIndependentEvaluation) {
  const CritVA crit = Criteria({0.1, 0.25, 0.3, 0.55, 0.6, 0.72, 0.9}, kUniform);
  EXPECT_NEAR(crit.KolmStat, 0.3626793650793652, 1e-14);
  EXPECT_NEAR(crit.KolmP, 0.99346528983906355, 1e-7);
  EXPECT_NEAR(crit.SmirnStat, 0.7253587301587304, 1e-14);
  EXPECT_NEAR(crit.SmirnP, 0.69580949855930758, 1e-14);
  EXPECT_NEAR(crit.OmegaStat, 0.026733333333333343, 1e-14);
  EXPECT_NEAR(crit.OmegaP, 0.98562640702354186, 2e-6);
  EXPECT_NEAR(crit.BigOmegaStat, 0.18337241524408625, 1e-14);
  EXPECT_NEAR(crit.BigOmegaP, 0.99428735190848233, 1e-9);

  // n = 1 at the median, by hand: D+ = D- = 1/2, KolmStat 16/18, SmirnStat
  // 16/9 with SmirnP e^(-8/9), OmegaStat 1/12, BigOmegaStat -1 + 2 ln 2.
  const CritVA one = Criteria({0.0}, kNormal);
  EXPECT_DOUBLE_EQ(one.KolmStat, 16.0 / 18.0);
  EXPECT_DOUBLE_EQ(one.SmirnStat, 16.0 / 9.0);
  EXPECT_NEAR(one.SmirnP, std::exp(-8.0 / 9.0), 1e-15);
  EXPECT_DOUBLE_EQ(one.OmegaStat, 1.0 / 12.0);
  EXPECT_NEAR(one.BigOmegaStat, -1.0 + 2.0 * std::log(2.0), 1e-15);
}

// F(-50) is 0 for the normal law: the omega-square sum takes it as 0, the
// logarithms and D+ and D- as eps (hand computation).
TEST(KolmSmOm, ZeroProbabilityIsClampedExceptInOmegaSquare) {
  const CritVA crit = Criteria({-50.0}, kNormal);
  const double d = 1.0 - kEps;
  EXPECT_DOUBLE_EQ(crit.OmegaStat, 1.0 / 12.0 + 0.25);
  EXPECT_DOUBLE_EQ(crit.KolmStat, (6.0 * d + 1.0) * (6.0 * d + 1.0) / 18.0);
  EXPECT_DOUBLE_EQ(crit.SmirnStat, (6.0 * d + 1.0) * (6.0 * d + 1.0) / 9.0);
  EXPECT_NEAR(crit.BigOmegaStat, -1.0 - std::log(kEps) - std::log(1.0 - kEps), 1e-13);
}

// A tie reuses the clamped value of its first member: the second -50 enters
// the omega-square sum as eps where a fresh evaluation would give 0, a
// difference of 1.5e-10, far above the tolerance.
TEST(KolmSmOm, TiesReuseTheClampedValue) {
  const CritVA crit = Criteria({-50.0, -50.0}, kNormal);
  EXPECT_NEAR(crit.OmegaStat, 1.0 / 24.0 + 1.0 / 16.0 + (kEps - 0.75) * (kEps - 0.75), 1e-16);
}

// A sample that fits the normal law well but for one value that is no number
// or infinite, at either end or in the middle: no fit at all, never a good one.
TEST(KolmSmOm, AValueThatIsNotFiniteFitsNoLaw) {
  const double infinity = std::numeric_limits<double>::infinity();
  for (const double bad : {infinity, -infinity, std::numeric_limits<double>::quiet_NaN()}) {
    for (const std::size_t at : {0, 2, 4}) {
      std::vector<double> x = {-1.2, -0.4, 0.1, 0.5, 1.3};
      x[at] = bad;
      const CritVA crit = Criteria(x, kNormal);
      for (const double statistic : {crit.KolmStat, crit.SmirnStat, crit.OmegaStat, crit.BigOmegaStat})
        EXPECT_EQ(statistic, infinity) << bad << " at " << at;
      for (const double p : {crit.KolmP, crit.SmirnP, crit.OmegaP, crit.BigOmegaP}) EXPECT_EQ(p, 0.0);
    }
  }
}

TEST(KolmSmOm, TinyProbabilitiesAndEmptySamples) {
  const CritVA crit = Criteria(std::vector<double>(20, -50.0), kNormal);
  EXPECT_EQ(crit.KolmP, 0.0);
  EXPECT_EQ(crit.SmirnP, 0.0);
  EXPECT_EQ(crit.OmegaP, 0.0);
  EXPECT_EQ(crit.BigOmegaP, 0.0);

  CritVA untouched = FreshCrit();
  DistribFunc dist = kNormal;
  double x = 0.0;
  EXPECT_THROW(KolmSmOm(&x, 0, &dist, untouched), Exception);
  EXPECT_EQ(UntouchedFields(untouched), 12);
}

}  // namespace
