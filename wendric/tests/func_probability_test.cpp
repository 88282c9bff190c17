#include "wendric/func_probability.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <vector>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// One law with its parameters fixed, as the callers see it.
using Law = std::function<double(double x, bool upper)>;

struct NamedLaw {
  const char* name;
  Law law;
  std::vector<double> arguments;
};

std::vector<NamedLaw> TypicalLaws() {
  return {
      {"chi2(3)", [](double x, bool u) { return FuncProbability::Chi2Probability(x, 3.0, u); },
       {0.01, 0.5, 2.0, 7.8, 30.0, 120.0}},
      {"F(4,17)", [](double x, bool u) { return FuncProbability::fProbability(x, 4.0, 17.0, u); },
       {0.001, 0.3, 1.0, 2.96, 15.0}},
      {"N(0,1)", [](double x, bool u) { return FuncProbability::NormProbability(x, 0.0, 1.0, u); },
       {-9.0, -1.0, 0.0, 0.3, 1.96, 6.0}},
      {"B(2.5,0.7)", [](double x, bool u) { return FuncProbability::BetaProbability(x, 2.5, 0.7, u); },
       {1e-6, 0.2, 0.5, 0.93, 0.999999}},
      {"t(5)", [](double x, bool u) { return FuncProbability::tProbability(x, 5.0, u, false); },
       {-40.0, -2.0, 0.0, 0.7, 2.571, 100.0}},
  };
}

TEST(FuncProbability, LowerAndUpperAddToOne) {
  for (const auto& [name, law, arguments] : TypicalLaws()) {
    double previous = 0.0;
    for (double x : arguments) {
      const double lower = law(x, false);
      EXPECT_NEAR(lower + law(x, true), 1.0, 1e-14) << name << " at " << x;
      EXPECT_GE(lower, previous) << name << " must not decrease, at " << x;
      previous = lower;
    }
  }
}

// Closed forms (hand-derived from each density) serve as the independent
// reference; tolerances are a few units in the last place of the closed form.
TEST(FuncProbability, ChiSquareWithTwoDegreesIsExponential) {
  for (double x : {0.0, 1e-8, 0.1, 1.0, 2.5, 10.0, 60.0}) {
    EXPECT_NEAR(FuncProbability::Chi2Probability(x, 2.0, false), 1.0 - std::exp(-x / 2), 1e-15) << x;
  }
  // The tail keeps its digits where 1 - F would have none left.
  for (double x : {100.0, 700.0, 1400.0}) {
    const double tail = std::exp(-x / 2);
    EXPECT_NEAR(FuncProbability::Chi2Probability(x, 2.0, true), tail, 1e-13 * tail) << x;
  }
}

TEST(FuncProbability, AgreesWithClosedForms) {
  // chi2(1): F(x) = erf(sqrt(x/2)), through the C library's erf.
  for (double x : {0.04, 1.0, 3.841458820694124}) {
    EXPECT_NEAR(FuncProbability::Chi2Probability(x, 1.0, false), std::erf(std::sqrt(x / 2)), 2e-15);
  }
  // Normal: 0.5 erfc(-x / sqrt 2), through the C library's erfc; relative in the far tail.
  for (double x : {-3.0, -0.5, 0.0, 1.96, 8.0}) {
    const double tail = 0.5 * std::erfc(x / std::numbers::sqrt2);
    EXPECT_NEAR(FuncProbability::NormProbability(x, 0.0, 1.0, true), tail, 1e-13 * tail) << x;
    EXPECT_NEAR(FuncProbability::NormProbability(2 * x + 1, 1.0, 2.0, false),
                0.5 * std::erfc(-x / std::numbers::sqrt2), 1e-15)
        << x;
  }
  // Student t(1) is Cauchy: 1/2 + atan(x)/pi; t(2): 1/2 + x / (2 sqrt(2 + x^2)).
  for (double x : {-30.0, -1.0, 0.25, 4.0}) {
    EXPECT_NEAR(FuncProbability::tProbability(x, 1.0, false, false), 0.5 + std::atan(x) / std::numbers::pi,
                1e-15);
    EXPECT_NEAR(FuncProbability::tProbability(x, 2.0, false, false),
                0.5 + x / (2 * std::sqrt(2 + x * x)), 1e-15);
  }
  // F(2,2): x / (1 + x); beta(2,1): x^2; beta(2,2): 3x^2 - 2x^3.
  for (double x : {0.05, 0.5, 0.9}) {
    EXPECT_NEAR(FuncProbability::fProbability(x, 2.0, 2.0, false), x / (1 + x), 1e-15);
    EXPECT_NEAR(FuncProbability::BetaProbability(x, 2.0, 1.0, false), x * x, 1e-15);
    EXPECT_NEAR(FuncProbability::BetaProbability(x, 2.0, 2.0, true), 1 - (3 * x * x - 2 * x * x * x), 1e-15);
  }
}

TEST(FuncProbability, ArgumentsOutsideTheSupportGiveTheLimits) {
  EXPECT_EQ(FuncProbability::Chi2Probability(-1.0, 3.0, false), 0.0);
  EXPECT_EQ(FuncProbability::Chi2Probability(-1.0, 3.0, true), 1.0);
  EXPECT_EQ(FuncProbability::Chi2Probability(kInf, 3.0, false), 1.0);
  EXPECT_EQ(FuncProbability::fProbability(-0.5, 2.0, 3.0, false), 0.0);
  EXPECT_EQ(FuncProbability::fProbability(kInf, 2.0, 3.0, true), 0.0);
  EXPECT_EQ(FuncProbability::BetaProbability(-0.1, 2.0, 3.0, false), 0.0);
  EXPECT_EQ(FuncProbability::BetaProbability(1.5, 2.0, 3.0, false), 1.0);
  EXPECT_EQ(FuncProbability::BetaProbability(1.5, 2.0, 3.0, true), 0.0);
  EXPECT_EQ(FuncProbability::NormProbability(-kInf, 0.0, 1.0, false), 0.0);
  EXPECT_EQ(FuncProbability::NormProbability(kInf, 0.0, 1.0, false), 1.0);
  EXPECT_EQ(FuncProbability::tProbability(-kInf, 3.0, true, false), 1.0);
}

TEST(FuncProbability, UndefinedLawsAndNaNGiveADefinedValue) {
  // Every one of these would make Boost raise a domain error or return NaN.
  const std::vector<Law> undefined = {
      [](double x, bool u) { return FuncProbability::Chi2Probability(x, 0.0, u); },
      [](double x, bool u) { return FuncProbability::Chi2Probability(x, -2.0, u); },
      [](double x, bool u) { return FuncProbability::Chi2Probability(x, kNaN, u); },
      [](double x, bool u) { return FuncProbability::fProbability(x, 3.0, 0.0, u); },
      [](double x, bool u) { return FuncProbability::fProbability(x, kInf, 3.0, u); },
      [](double x, bool u) { return FuncProbability::NormProbability(x, 0.0, 0.0, u); },
      [](double x, bool u) { return FuncProbability::NormProbability(x, kNaN, 1.0, u); },
      [](double x, bool u) { return FuncProbability::BetaProbability(x, -1.0, 1.0, u); },
      [](double x, bool u) { return FuncProbability::tProbability(x, 0.0, u, false); },
  };
  for (const auto& law : undefined) {
    for (double x : {-1.0, 0.5, 3.0, kNaN}) {
      EXPECT_EQ(law(x, false), 0.0);
      EXPECT_EQ(law(x, true), 1.0);
    }
  }
}

TEST(FuncProbability, TheReservedStudentFlagChangesNothing) {
  EXPECT_EQ(FuncProbability::tProbability(1.3, 7.0, true, true),
            FuncProbability::tProbability(1.3, 7.0, true, false));
}

}  // namespace
