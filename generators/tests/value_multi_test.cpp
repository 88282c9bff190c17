// Multivariate generator: the Cholesky factor, the observation L z + mean and the
// draw order. Factor figures are the generator's reference figures or worked by hand.
#include "generators/value_multi.h"

#include <gtest/gtest.h>

#include <iostream>
#include <memory>

#include "generators/tests/scripted_values.h"
#include "generators/tests/source_probe.h"
#include "generators/uniform_source.h"
#include "generators/univariate.h"
#include "linalg/tests/test_support.h"
#include "platform/exceptions.h"

namespace {

std::string Displayed(TCValueMulti& multi) {
  StreamCapture out(std::cout);
  multi.Display();
  return out.Text();
}

// One observation per unit z reads the factor column by column.
void ExpectFactor(TCValueMulti& multi, std::initializer_list<std::initializer_list<double>> expected) {
  const std::int32_t n = static_cast<std::int32_t>(expected.size());
  for (std::int32_t column = 0; column < n; ++column) {
    std::unique_ptr<Vector> x(multi.CValueMulti());
    std::int32_t row = 0;
    for (const auto& values : expected) EXPECT_EQ((*x)[row++], values.begin()[column]);
  }
}

TEST(ValueMultiFactor, TwoAndThreeDimensions) {
  Vector mean(2);
  Matrix covariance = MakeMatrix({{4, 2}, {2, 3}});
  ScriptedValues unit_z({1, 0, 0, 1});
  TCValueMulti multi(&mean, &covariance, &unit_z);
  EXPECT_EQ(Displayed(multi), "\n 2 0\n 1 1.41421");
  ExpectFactor(multi, {{2, 0}, {1, 1.4142135623730951}});

  // [[4,2,2],[2,5,3],[2,3,6]] factors by hand into rows (2,0,0), (1,2,0), (1,1,2).
  Vector mean3(3);
  Matrix covariance3 = MakeMatrix({{4, 2, 2}, {2, 5, 3}, {2, 3, 6}});
  ScriptedValues unit_z3({1, 0, 0, 0, 1, 0, 0, 0, 1});
  TCValueMulti multi3(&mean3, &covariance3, &unit_z3);
  ExpectFactor(multi3, {{2, 0, 0}, {1, 2, 0}, {1, 1, 2}});
}

TEST(ValueMultiObservations, FactorTimesZPlusMean) {
  Vector mean = MakeVector({1, -1, 0.5});
  Matrix identity(3, 3, 1.0);
  ScriptedValues z({0.25, 2, -3});
  TCValueMulti multi(&mean, &identity, &z);
  std::unique_ptr<Vector> x(multi.CValueMulti());
  EXPECT_EQ((*x)[0], 1.25);
  EXPECT_EQ((*x)[1], 1.0);
  EXPECT_EQ((*x)[2], -2.5);

  Vector mean1 = MakeVector({3});
  Matrix variance = MakeMatrix({{6.25}});
  ScriptedValues z1({-2});
  TCValueMulti multi1(&mean1, &variance, &z1);
  std::unique_ptr<Vector> x1(multi1.CValueMulti());
  EXPECT_EQ((*x1)[0], 2.5 * -2 + 3);
}

TEST(ValueMultiObservations, KeepsItsOwnCopiesAndTheMeanSize) {
  Vector mean = MakeVector({1, 1});
  Matrix covariance(3, 3, 1.0);
  ScriptedValues z({0});
  TCValueMulti multi(&mean, &covariance, &z);
  mean[0] = 100;
  covariance[0][0] = 100;
  EXPECT_EQ(multi.DimVector(), 2);
  std::unique_ptr<Vector> x(multi.CValueMulti());
  ASSERT_EQ(x->Size(), 2);
  EXPECT_EQ((*x)[0], 1.0);
  EXPECT_EQ(Displayed(multi), "\n 1 0\n 0 1");
}

TEST(ValueMultiObservations, NormalComponentsCarryThePairAcrossObservations) {
  Vector mean(3);
  Matrix identity(3, 3, 1.0);
  TCValueNorm normal(0.0, 1.0);
  TCValueMulti multi(&mean, &identity, &normal);
  // New pair, kept value, new pair; then the kept value, a new pair, its kept value.
  EXPECT_EQ(DrawsTakenBy([&] { delete multi.CValueMulti(); }), 6);
  EXPECT_EQ(DrawsTakenBy([&] { delete multi.CValueMulti(); }), 3);

  olvend::srand(1);
  TCValueNorm fresh(0.0, 1.0);
  TCValueMulti again(&mean, &identity, &fresh);
  std::unique_ptr<Vector> first(again.CValueMulti());
  std::unique_ptr<Vector> second(again.CValueMulti());
  olvend::srand(1);
  TCValueNorm alone(0.0, 1.0);
  for (int i = 0; i < 3; ++i) EXPECT_EQ((*first)[i], alone.CValue());
  for (int i = 0; i < 3; ++i) EXPECT_EQ((*second)[i], alone.CValue());
}

TEST(ValueMultiLifetime, GeneratorOutlivesTheObject) {
  Vector mean(2);
  Matrix identity(2, 2, 1.0);
  TCValueNorm normal(0.0, 1.0);
  { TCValueMulti multi(&mean, &identity, &normal); }
  olvend::srand(1);
  EXPECT_EQ(normal.CValue(), 0.30680378789940793);
}

TEST(ValueMultiFactor, CovarianceThatIsNotPositiveDefiniteIsRefused) {
  Vector mean(2);
  ScriptedValues z({0});
  for (Matrix covariance : {MakeMatrix({{1, 2}, {2, 1}}), MakeMatrix({{0, 0}, {0, 1}}),
                            MakeMatrix({{1, 1}, {1, 1}}), MakeMatrix({{-4, 0}, {0, 1}})}) {
    try {
      TCValueMulti multi(&mean, &covariance, &z);
      ADD_FAILURE() << "accepted" << covariance;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), "Ковариационная матрица не является положительно определенной !");
    }
  }
}

}  // namespace
