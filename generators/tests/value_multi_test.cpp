// Multivariate generator: the Cholesky factor, the observation L z + mean and the
// draw order. Factor figures are the generator's reference figures or worked by hand.
#include "generators/value_multi.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <limits>
#include <memory>

#include "generators/tests/scripted_values.h"
#include "generators/tests/source_probe.h"
#include "generators/univariate.h"
#include "linalg/tests/test_support.h"
#include "platform/exceptions.h"

namespace {

std::string Displayed(TCValueMulti& multi) {
  StreamCapture out(std::cout);
  multi.Display();
  return out.Text();
}

// The next observation, owned here.
std::unique_ptr<Vector> Next(TCValueMulti& multi) { return std::unique_ptr<Vector>(multi.CValueMulti()); }

TEST(ValueMulti, UnitZReadsTheFactorColumnByColumn) {
  Vector mean(2);
  Matrix covariance = MakeMatrix({{4, 2}, {2, 3}});
  ScriptedValues unit_z({1, 0, 0, 1});
  TCValueMulti multi(&mean, &covariance, &unit_z);
  EXPECT_EQ(Displayed(multi), "\n 2 0\n 1 1.41421");
  ExpectVector(*Next(multi), {2, 1});
  ExpectVector(*Next(multi), {0, 1.4142135623730951});

  // [[4,2,2],[2,5,3],[2,3,6]] factors by hand into rows (2,0,0), (1,2,0), (1,1,2).
  Vector mean3(3);
  Matrix covariance3 = MakeMatrix({{4, 2, 2}, {2, 5, 3}, {2, 3, 6}});
  ScriptedValues unit_z3({1, 0, 0, 0, 1, 0, 0, 0, 1});
  TCValueMulti multi3(&mean3, &covariance3, &unit_z3);
  ExpectVector(*Next(multi3), {2, 1, 1});
  ExpectVector(*Next(multi3), {0, 2, 1});
  ExpectVector(*Next(multi3), {0, 0, 2});
}

TEST(ValueMulti, ObservationsAreTheFactorTimesZPlusTheMeanOfTheObjectsOwnCopies) {
  Vector mean = MakeVector({1, -1, 0.5});
  Matrix identity(3, 3, 1.0);
  ScriptedValues z({0.25, 2, -3});
  TCValueMulti multi(&mean, &identity, &z);
  ExpectVector(*Next(multi), {1.25, 1.0, -2.5});
  Vector mean1 = MakeVector({3});
  Matrix variance = MakeMatrix({{6.25}});
  ScriptedValues z1({-2});
  TCValueMulti multi1(&mean1, &variance, &z1);
  ExpectVector(*Next(multi1), {2.5 * -2 + 3});

  // Copies of the operands, sized by the mean.
  Vector mean2 = MakeVector({1, 1});
  Matrix covariance(3, 3, 1.0);
  ScriptedValues zero({0});
  TCValueMulti copied(&mean2, &covariance, &zero);
  mean2[0] = 100;
  covariance[0][0] = 100;
  EXPECT_EQ(copied.DimVector(), 2);
  ExpectVector(*Next(copied), {1, 1});
  EXPECT_EQ(Displayed(copied), "\n 1 0\n 0 1");
}

TEST(ValueMulti, NormalComponentsCarryThePairAcrossObservationsAndTheGeneratorOutlivesTheObject) {
  Vector mean(3);
  Matrix identity(3, 3, 1.0);
  TCValueNorm normal(0.0, 1.0);
  TCValueMulti multi(&mean, &identity, &normal);
  // New pair, kept value, new pair; then the kept value, a new pair, its kept value.
  EXPECT_EQ(DrawsTakenBy([&] { Next(multi); }), 6);
  EXPECT_EQ(DrawsTakenBy([&] { Next(multi); }), 3);

  olvend::srand(1);
  auto fresh = std::make_unique<TCValueNorm>(0.0, 1.0);
  auto again = std::make_unique<TCValueMulti>(&mean, &identity, fresh.get());
  const auto first = Next(*again);
  const auto second = Next(*again);
  again.reset();
  olvend::srand(1);
  TCValueNorm alone(0.0, 1.0);
  for (int i = 0; i < 3; ++i) EXPECT_EQ((*first)[i], alone.CValue());
  for (int i = 0; i < 3; ++i) EXPECT_EQ((*second)[i], alone.CValue());
  olvend::srand(1);
  EXPECT_EQ(fresh->CValue(), 0.30680378789940793);
}

TEST(ValueMulti, CovarianceThatIsNotPositiveDefiniteOrNotFiniteIsRefused) {
  Vector mean(2);
  ScriptedValues z({0});
  // An infinite variance would pass as positive and give NaN observations; the
  // NaN above the diagonal is never read by the factorisation.
  const double infinity = std::numeric_limits<double>::infinity();
  for (Matrix covariance :
       {MakeMatrix({{1, 2}, {2, 1}}), MakeMatrix({{0, 0}, {0, 1}}), MakeMatrix({{1, 1}, {1, 1}}),
        MakeMatrix({{-4, 0}, {0, 1}}), MakeMatrix({{infinity, 0}, {0, 1}}),
        MakeMatrix({{1, 0}, {0, infinity}}), MakeMatrix({{1, std::nan("")}, {0, 1}})}) {
    try {
      TCValueMulti multi(&mean, &covariance, &z);
      ADD_FAILURE() << "accepted" << covariance;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), "Ковариационная матрица не является положительно определенной !");
    }
  }
}

}  // namespace
