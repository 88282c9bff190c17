// Exponential-power generator: distribution function, density and inversion.
// The generator's reference figures, which hold to about 10 significant
// digits. F and f agree exactly and are checked so; the inversion's results
// depend on the last bits of every evaluation and are checked to 1e-10
// relative.
#include "generators/value_biexp.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "generators/law_draws.h"
#include "generators/tests/source_probe.h"
#include "platform/exceptions.h"

namespace {

TEST(ValueBiExp, DistributionFunctionAndDensity) {
  TCValueBiExp normal_shape(0.0, 1.0, 2.0);
  EXPECT_EQ(normal_shape.F(0.0), 0.5);
  EXPECT_EQ(normal_shape.F(1.0), 0.8413447230688729);
  EXPECT_EQ(normal_shape.f(0.0), 0.39894225550855167);
  EXPECT_NEAR(normal_shape.F(-1.0), 1.0 - normal_shape.F(1.0), 1e-15);  // symmetric about the location
  EXPECT_EQ(TCValueBiExp(0.0, 1.0, 1.0).F(1.0), 0.7534656572858445);    // Laplace shape: 1 - exp(-1/sqrt 2)/2
}

TEST(ValueBiExp, InverseWalksThenRefinesByNewton) {
  const struct {
    double location, scale, shape, p, x;
  } cases[] = {
      {0.0, 1.0, 2.0, 0.975, 1.959964597209756},
      {5.0, 2.0, 2.0, 0.3, 3.9511989010600854},
      {0.0, 1.0, 0.5, 0.999, 101.26249454619924},  // bracket (20, 120)
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(TCValueBiExp(c.location, c.scale, c.shape).InvF(c.p, 1e-10), c.x, std::fabs(c.x) * 1e-10)
        << c.p;
  }
  EXPECT_EQ(TCValueBiExp(0.0, 1.0, 2.0).InvF(0.5, 1e-10), 0.0);  // the centre at the first evaluation
}

TEST(ValueBiExp, ExtremeProbabilitiesGiveTheLocation) {
  TCValueBiExp law(5.0, 2.0, 2.0);
  for (const double p : {1e-10, 1.09e-10, 1.0 - 1e-10, 0.0}) EXPECT_EQ(law.InvF(p, 1e-10), 5.0) << p;
  // 1.1e-10 lies above 1e-10 plus the single-precision 1e-11, so it is inverted.
  EXPECT_LT(law.InvF(1.1e-10, 1e-10), 5.0);
}

TEST(ValueBiExp, StalledWalkRestartsOverTheWholeAxis) {
  // Below about -6 the normal shape's F stays near 4e-8 and rises again slightly
  // at -20, so the walk downwards keeps evaluating -20 until its budget is spent;
  // the search then runs in (-1e100, 1e100) and ends, after its 50 Newton or
  // bisection steps, far beyond anything the walk itself reaches (at most 1e10
  // from the origin, or exactly 1e100 when it gives up).
  TCValueBiExp law(0.0, 1.0, 2.0);
  ASSERT_GT(law.F(-20.0), law.F(-10.0));
  const double low = law.InvF(2e-8, 1e-10);
  EXPECT_LT(low, -1e80);
  EXPECT_GT(low, -1e100);
  const double high = law.InvF(1.0 - 2e-8, 1e-10);
  EXPECT_GT(high, 1e80);
  EXPECT_LT(high, 1e100);
}

TEST(ValueBiExp, AValueIsTheInverseOfOneUniformAfterTwoDraws) {
  TCValueBiExp law(1.0, 3.0, 1.5);
  olvend::srand(1);
  EXPECT_EQ(law.CValue(), law.InvF(10982.0 / 32767.0, 1e-10));  // draws 130 (dropped) and 10982
  EXPECT_EQ(DrawsTakenBy([&] { law.CValue(); }), static_cast<int>(olvend::kDrawsPerValue));
  EXPECT_EQ(DrawsTakenBy([] { TCValueBiExp constructed(0.0, 1.0, 2.0); }), 0);
  // The end draws give the location.
  TCValueBiExp centred(7.0, 1.0, 2.0);
  olvend::srand(SeedGivingDraw(2, 0));
  EXPECT_EQ(centred.CValue(), 7.0);
  olvend::srand(SeedGivingDraw(2, 32767));
  EXPECT_EQ(centred.CValue(), 7.0);
}

TEST(ValueBiExp, ParametersWithoutALawAreRefusedByTheConstructor) {
  const double infinity = std::numeric_limits<double>::infinity();
  const std::string location =
      "Параметр сдвига экспоненциально-степенного распределения должен быть конечным числом !";
  const std::string scale = "Масштаб экспоненциально-степенного распределения должен быть конечным числом !";
  const std::string zero_scale =
      "Масштаб экспоненциально-степенного распределения не может быть равен нулю !";
  const std::string shape =
      "Параметр формы экспоненциально-степенного распределения должен быть конечным числом больше нуля !";
  const struct {
    double a, b, c;
    const std::string& message;
  } refused[] = {
      {std::nan(""), 1.0, 2.0, location},
      {infinity, 1.0, 2.0, location},
      {0.0, std::nan(""), 2.0, scale},
      {0.0, -infinity, 2.0, scale},
      {0.0, 0.0, 2.0, zero_scale},
      {0.0, 1.0, 0.0, shape},
      {0.0, 1.0, -1.0, shape},
      {0.0, 1.0, std::nan(""), shape},
      {0.0, 1.0, infinity, shape},
  };
  for (const auto& law : refused) {
    try {
      TCValueBiExp refused_law(law.a, law.b, law.c);
      ADD_FAILURE() << law.a << ", " << law.b << ", " << law.c << " was accepted";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), law.message);
    }
  }
  EXPECT_NO_THROW(TCValueBiExp(0.0, -1.0, 0.01));
}

}  // namespace
