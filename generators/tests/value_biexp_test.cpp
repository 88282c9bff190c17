// Exponential-power generator: distribution function, density and inversion.
// The generator's reference figures, which hold to about 10
// significant digits. F and f agree exactly and are checked so; the inversion's
// results depend on the last bits of every evaluation and are checked to 1e-10
// relative.
#include "generators/value_biexp.h"

#include <gtest/gtest.h>

#include <cmath>

#include "generators/tests/source_probe.h"
#include "generators/uniform_source.h"
#include "platform/exceptions.h"

namespace {

void ExpectClose(double actual, double expected) {
  EXPECT_NEAR(actual, expected, std::fabs(expected) * 1e-10);
}

TEST(ValueBiExpFunctions, NormalShape) {
  TCValueBiExp law(0.0, 1.0, 2.0);
  EXPECT_EQ(law.F(0.0), 0.5);
  EXPECT_EQ(law.F(1.0), 0.8413447230688729);
  EXPECT_EQ(law.f(0.0), 0.39894225550855167);
  // Symmetry about the location.
  EXPECT_NEAR(law.F(-1.0), 1.0 - law.F(1.0), 1e-15);
}

TEST(ValueBiExpFunctions, LaplaceShape) {
  TCValueBiExp law(0.0, 1.0, 1.0);
  EXPECT_EQ(law.F(1.0), 0.7534656572858445);  // 1 - exp(-1/sqrt 2)/2
}

TEST(ValueBiExpInverse, CentreIsFoundAtTheFirstEvaluation) {
  TCValueBiExp law(0.0, 1.0, 2.0);
  EXPECT_EQ(law.InvF(0.5, 1e-10), 0.0);
}

TEST(ValueBiExpInverse, WalkThenNewton) {
  TCValueBiExp standard(0.0, 1.0, 2.0);
  ExpectClose(standard.InvF(0.975, 1e-10), 1.959964597209756);
  TCValueBiExp shifted(5.0, 2.0, 2.0);
  ExpectClose(shifted.InvF(0.3, 1e-10), 3.9511989010600854);
  TCValueBiExp heavy(0.0, 1.0, 0.5);
  ExpectClose(heavy.InvF(0.999, 1e-10), 101.26249454619924);  // bracket (20, 120)
}

TEST(ValueBiExpInverse, ExtremeProbabilitiesGiveTheLocation) {
  TCValueBiExp law(5.0, 2.0, 2.0);
  EXPECT_EQ(law.InvF(1e-10, 1e-10), 5.0);
  EXPECT_EQ(law.InvF(1.09e-10, 1e-10), 5.0);
  EXPECT_EQ(law.InvF(1.0 - 1e-10, 1e-10), 5.0);
  EXPECT_EQ(law.InvF(0.0, 1e-10), 5.0);
  // 1.1e-10 lies above 1e-10 plus the single-precision 1e-11, so it is inverted.
  EXPECT_LT(law.InvF(1.1e-10, 1e-10), 5.0);
}

TEST(ValueBiExpInverse, StalledWalkRestartsOverTheWholeAxis) {
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

TEST(ValueBiExpValues, TwoDrawsPerValue) {
  TCValueBiExp law(0.0, 1.0, 2.0);
  EXPECT_EQ(DrawsTakenBy([&] { law.CValue(); }), 2);
  EXPECT_EQ(DrawsTakenBy([] { TCValueBiExp constructed(0.0, 1.0, 2.0); }), 0);
}

TEST(ValueBiExpValues, ValueIsTheInverseOfTheUniform) {
  TCValueBiExp law(1.0, 3.0, 1.5);
  olvend::srand(1);
  const double value = law.CValue();  // draws 130 (dropped) and 10982
  EXPECT_EQ(value, law.InvF(10982.0 / 32767.0, 1e-10));
}

TEST(ValueBiExpValues, EndDrawsGiveTheLocation) {
  TCValueBiExp law(7.0, 1.0, 2.0);
  olvend::srand(SeedGivingDraw(2, 0));
  EXPECT_EQ(law.CValue(), 7.0);
  olvend::srand(SeedGivingDraw(2, 32767));
  EXPECT_EQ(law.CValue(), 7.0);
}

TEST(ValueBiExpParameters, ZeroScaleAndNonPositiveShapeAreRefused) {
  try {
    TCValueBiExp law(0.0, 0.0, 2.0);
    ADD_FAILURE() << "a zero scale was accepted";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Масштаб экспоненциально-степенного распределения не может быть равен нулю !");
  }
  for (double shape : {0.0, -1.0, std::nan("")}) {
    try {
      TCValueBiExp law(0.0, 1.0, shape);
      ADD_FAILURE() << "shape " << shape << " was accepted";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(),
                "Параметр формы экспоненциально-степенного распределения должен быть больше нуля !");
    }
  }
  EXPECT_NO_THROW(TCValueBiExp(0.0, -1.0, 0.01));
}

}  // namespace
