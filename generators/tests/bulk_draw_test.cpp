// The generators' bulk draws from a source the caller holds, and the library's
// tables of what a law makes of a draw: many values at once must be the
// values, and take the draws, of as many single calls; the multivariate rows
// must be the observations of the interface's CValueMulti.
#include "generators/bulk_draw.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

#include "generators/tests/scripted_values.h"
#include "generators/tests/source_probe.h"
#include "generators/uniform_source.h"
#include "generators/univariate.h"
#include "generators/value_biexp.h"
#include "generators/value_multi.h"
#include "linalg/tests/test_support.h"

namespace {

using Factory = std::function<std::unique_ptr<TCValueUni>()>;

const Factory kLaws[] = {
    [] { return std::make_unique<TCValueNorm>(0.5, 2.0); },
    [] { return std::make_unique<TCValueLog>(0.5, 2.0); },
    [] { return std::make_unique<TCValueLaplas>(0.5, 2.0); },
    [] { return std::make_unique<TCValueKoshi>(0.5, 2.0); },
    [] { return std::make_unique<TCValueBiExp>(0.5, 2.0, 0.5); },
};

// `count` values one call at a time.
std::vector<double> OneByOne(TCValueUni& law, int count) {
  std::vector<double> values;
  for (int i = 0; i < count; ++i) values.push_back(law.CValue());
  return values;
}

TEST(BulkDraws, ACallersSourceGivesTheValuesAndDrawsOfSingleCalls) {
  constexpr std::uint32_t kSeed = 917;
  for (const Factory& make : kLaws) {
    auto single = make();
    olvend::srand(kSeed);
    const std::vector<double> expected = OneByOne(*single, 12);

    // The state srand(kSeed) leaves, held here; odd counts leave a normal
    // pair half used between the calls.
    std::uint32_t state = olvend::LcgNext(kSeed);
    auto bulk = make();
    std::vector<double> values(12);
    for (const auto& [first, count] : {std::pair{0, 5}, std::pair{5, 7}}) {
      olvend::HeldSource source(state);
      olvend::DrawValues(olvend::LawOf(*bulk), *bulk, source, values.data() + first, count);
    }
    EXPECT_EQ(state, olvend::ThreadState());
    EXPECT_EQ(values, expected);

    // Drawn again from the same seed, the values now come from the tables.
    olvend::srand(kSeed);
    auto again = make();
    EXPECT_EQ(OneByOne(*again, 12), expected);
  }
}

TEST(BulkDraws, ACopyDrawsAsItsOriginal) {
  TCValueNorm normal(0.0, 1.0);
  TCValueBiExp exp_power(0.0, 1.0, 2.0);
  OneByOne(normal, 3);  // the copy keeps the pair's second value
  OneByOne(exp_power, 3);
  TCValueNorm normal_copy = normal;
  TCValueBiExp exp_power_copy = exp_power;
  olvend::srand(5);
  const std::vector<double> originals = {normal.CValue(), normal.CValue(), exp_power.CValue()};
  olvend::srand(5);
  EXPECT_EQ(originals,
            (std::vector<double>{normal_copy.CValue(), normal_copy.CValue(), exp_power_copy.CValue()}));
}

TEST(BulkDraws, ALawThatMakesNoNumberStillDrawsTwicePerValue) {
  TCValueLog law(std::numeric_limits<double>::quiet_NaN(), 1.0);
  EXPECT_EQ(DrawsTakenBy([&] {
              EXPECT_TRUE(std::isnan(law.CValue()));
              EXPECT_TRUE(std::isnan(law.CValue()));
            }),
            2 * static_cast<int>(olvend::kDrawsPerValue));
}

// Beyond the tables kept for that many sets of parameters, each value is
// computed afresh: the same values.
TEST(BulkDraws, ExpPowerLawsPastTheLastTableStillDrawTheirValues) {
  for (int i = 0; i <= olvend::kExpPowerTables; ++i) {
    TCValueBiExp law(0.0, 1.0, 1.0 + i / 64.0);
    olvend::srand(1);
    EXPECT_EQ(law.CValue(), law.InvF(10982.0 / 32767.0, 1e-10)) << i;  // draws 130 (dropped) and 10982
  }
}

TEST(ObservationRows, AreTheObservationsOfTheInterface) {
  // Correlated components, an odd dimension (observations begin inside a
  // normal pair) and a mean.
  Vector mean = MakeVector({1, -1, 0.5});
  Matrix covariance = MakeMatrix({{4, 2, 1}, {2, 3, 0.5}, {1, 0.5, 2}});
  TCValueNorm normal(0.0, 1.0);
  TCValueMulti multi(&mean, &covariance, &normal);
  olvend::srand(31);
  std::vector<double> expected(9);  // three observations, a row per component
  for (int s = 0; s < 3; ++s) {
    const std::unique_ptr<Vector> observation(multi.CValueMulti());
    for (int i = 0; i < 3; ++i) expected[i * 3 + s] = (*observation)[i];
  }

  TCValueNorm fresh(0.0, 1.0);
  TCValueMulti bulk(&mean, &covariance, &fresh);
  olvend::ObservationRows rows(bulk);
  std::uint32_t state = olvend::LcgNext(31);
  olvend::HeldSource source(state);
  std::vector<double> values(9);
  rows.Draw(source, values.data(), 3);
  EXPECT_EQ(values, expected);
}

TEST(ObservationRows, AreTheVectorProductsForAnyGenerator) {
  // L = [[2, 0], [1, sqrt 2]]; the second observation's z holds an infinity,
  // which L's zero above the diagonal turns into NaN, as the product does. A
  // generator of the caller's own draws through its CValue.
  Vector mean = MakeVector({1, -1});
  Matrix covariance = MakeMatrix({{4, 2}, {2, 3}});
  const double infinity = std::numeric_limits<double>::infinity();
  ScriptedValues z({0.25, 2, 0.5, infinity});
  TCValueMulti multi(&mean, &covariance, &z);
  olvend::ObservationRows rows(multi);
  std::uint32_t unused = 0;
  olvend::HeldSource source(unused);
  double values[4];
  rows.Draw(source, values, 2);

  const Matrix factor = MakeMatrix({{2, 0}, {1, 1.4142135623730951}});
  const Vector first = factor * MakeVector({0.25, 2}) + mean;
  EXPECT_EQ(values[0], first[0]);
  EXPECT_EQ(values[2], first[1]);
  EXPECT_TRUE(std::isnan(values[1]));
  EXPECT_EQ(values[3], infinity);
}

}  // namespace
