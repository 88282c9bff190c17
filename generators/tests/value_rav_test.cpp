// Uniform generators of the three kinds. Expected values are the uniform
// source's reference figures or hand computations, compared exactly.
#include "generators/value_rav.h"

#include <gtest/gtest.h>

#include "generators/tests/source_probe.h"
#include "platform/exceptions.h"

namespace {

// The value of a kind-1 generator made right after srand(seed): its constructor
// takes draw 1, CValue draw 2.
double SystemValueAfter(std::uint32_t seed) {
  olvend::srand(seed);
  TCValueRav uniform(rtSystem);
  return uniform.CValue();
}

TEST(ValueRav, SystemKindScalesDrawsAndClampsTheEnds) {
  EXPECT_EQ(SystemValueAfter(SeedGivingDraw(2, 0)), 1e-10);
  EXPECT_EQ(SystemValueAfter(SeedGivingDraw(2, 32767)), 1.0 - 1e-10);
  EXPECT_EQ(SystemValueAfter(SeedGivingDraw(2, 16383)), 16383.0 / 32767.0);
  EXPECT_EQ(SystemValueAfter(1), 10982.0 / 32767.0);  // after srand(1): 130, then 10982
  EXPECT_EQ(DrawsTakenBy([] {
              TCValueRav uniform(rtSystem);  // one draw
              uniform.CValue();
              uniform.CValue();
            }),
            3);
}

TEST(ValueRav, SeedConstructorSeedsTheThreadWithTheIntegerPartsLowBits) {
  const int after_999 = (olvend::srand(999), olvend::rand());
  const int after_max = (olvend::srand(0xFFFFFFFFu), olvend::rand());
  TCValueRav seeded(999.7, rtSystem);
  EXPECT_EQ(olvend::rand(), after_999);
  TCValueRav negative(-1.5, rtSystem);
  EXPECT_EQ(olvend::rand(), after_max);
  TCValueRav wrapped(4294967296.0 + 999.0, rtSystem);
  EXPECT_EQ(olvend::rand(), after_999);
}

TEST(ValueRav, OwnStateKindsTakeNoDrawAfterTheConstructors) {
  TCValueRav zero(0.0, rtMultCongruent);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(zero.CValue(), 1e-10);  // the state stays 0
  TCValueRav half(0.5, rtMultCongruent);
  EXPECT_EQ(half.CValue(), 0.5);  // 5^13 * 0.5 = 610351562.5
  EXPECT_EQ(DrawsTakenBy([] {
              TCValueRav uniform(rtMultCongruent);
              for (int i = 0; i < 5; ++i) uniform.CValue();
            }),
            1);
  TCValueRav pi_zero(0.0, rtFracPi);
  EXPECT_EQ(pi_zero.CValue(), 0.14159265358979312);
  TCValueRav pi_half(0.5, rtFracPi);
  EXPECT_EQ(pi_half.CValue(), 0.6415926535897931);
  EXPECT_EQ(pi_half.CValue(), 11.0 * 0.6415926535897931 + 3.141592653589793 - 10.0);  // frac by hand
  EXPECT_EQ(DrawsTakenBy([] { TCValueRav(0.5, rtFracPi).CValue(); }), 0);
  // The stream operator yields the next value.
  TCValueRav a(0.25, rtFracPi), b(0.25, rtFracPi);
  double first = 0.0, second = 0.0;
  a >> first >> second;
  EXPECT_EQ(first, b.CValue());
  EXPECT_EQ(second, b.CValue());
}

TEST(ValueRav, UnknownKindIsRefusedWithoutADraw) {
  const auto bad = static_cast<TRavType>(4);
  EXPECT_EQ(DrawsTakenBy([bad] { EXPECT_THROW(TCValueRav uniform(bad), Exception); }), 0);
  try {
    TCValueRav(0.5, static_cast<TRavType>(0));
    ADD_FAILURE() << "an unknown kind was accepted";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Недопустимый вид датчика равномерно распределенных чисел !");
  }
}

}  // namespace
