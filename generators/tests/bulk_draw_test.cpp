// The generators' bulk draws and their tables of what a law makes of a draw:
// many values at once must be the values, and take the draws, of as many
// single calls; the multivariate rows must be the vector products' values.
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

TEST(BulkDraws, SameValuesAndDrawsAsSingleCalls) {
  constexpr std::uint32_t kSeed = 917;
  for (const Factory& make : kLaws) {
    // Odd counts leave a normal pair half used between the calls.
    auto single = make();
    olvend::srand(kSeed);
    const std::vector<double> expected = OneByOne(*single, 12);
    const int next_draw = olvend::rand();

    auto bulk = make();
    const olvend::BulkDraw draw = olvend::BulkDrawOf(bulk.get());
    olvend::srand(kSeed);
    std::vector<double> values(12);
    draw(*bulk, values.data(), 5);
    values[5] = bulk->CValue();
    draw(*bulk, values.data() + 6, 6);
    EXPECT_EQ(olvend::rand(), next_draw);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(values[i], expected[i]) << "value " << i;

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
            4);
}

TEST(BulkDraws, MultivariateRowsAreTheVectorProducts) {
  // L = [[2, 0], [1, sqrt 2]]; the second observation's z holds an infinity,
  // which L's zero above the diagonal turns into NaN, as the product does.
  Vector mean = MakeVector({1, -1});
  Matrix covariance = MakeMatrix({{4, 2}, {2, 3}});
  const double infinity = std::numeric_limits<double>::infinity();
  ScriptedValues z({0.25, 2, 0.5, infinity});
  TCValueMulti multi(&mean, &covariance, &z);
  double rows[4];
  multi.CValueMulti(rows, 2);

  const Matrix factor = MakeMatrix({{2, 0}, {1, 1.4142135623730951}});
  const Vector first = factor * MakeVector({0.25, 2}) + mean;
  EXPECT_EQ(rows[0], first[0]);
  EXPECT_EQ(rows[2], first[1]);
  EXPECT_TRUE(std::isnan(rows[1]));
  EXPECT_EQ(rows[3], infinity);
}

}  // namespace
