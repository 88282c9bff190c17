#include "method/parameter_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

namespace {

// p = 3, identity covariance, normal law; valid for every test kind.
RunParameters ValidParameters(int test_kind) {
  RunParameters parameters;
  parameters.TestKind = static_cast<std::int8_t>(test_kind);
  parameters.VarI = TestKindHasVarI(test_kind) ? 1 : 0;
  parameters.VarJ = TestKindHasVarJ(test_kind) ? 2 : 0;
  parameters.R0 = TestKindHasR0(test_kind) ? 0.5 : 0;
  parameters.Q = TestKindHasQ(test_kind) ? 2 : 0;
  parameters.GeneratorKind = 1;
  parameters.GenParam1 = 0;
  parameters.GenParam2 = 1;
  parameters.Dimension = 3;
  parameters.Mean = {0, 0, 0};
  parameters.Covariance = {1, 0, 0, 1, 0, 1};
  parameters.N = 20;
  parameters.M = 100;
  parameters.K = 10;
  return parameters;
}

// The problems of a valid block of `test_kind` after `change`.
std::vector<ParameterProblem> ProblemsAfter(int test_kind,
                                            const std::function<void(RunParameters&)>& change) {
  RunParameters parameters = ValidParameters(test_kind);
  change(parameters);
  return CheckRunParameters(parameters);
}

using Problems = std::vector<ParameterProblem>;

TEST(ParameterCheck, AcceptsAValidBlockOfEveryKind) {
  for (int kind = 1; kind <= 7; ++kind) {
    for (int generator = 1; generator <= 5; ++generator) {
      RunParameters parameters = ValidParameters(kind);
      parameters.GeneratorKind = static_cast<std::int8_t>(generator);
      parameters.GenParam3 = 0.5f;
      EXPECT_EQ(CheckRunParameters(parameters), Problems{}) << kind << ", " << generator;
    }
  }
}

// Smallest N by hand from the degrees of freedom, with p = 3 and q = 2:
// kind 2 N > p; kind 5 N - p + q >= 3; kind 6 N - p + q >= 4; kind 7 N - p + q - 1 >= 1.
TEST(ParameterCheck, NMustGiveTheStatisticItsDegreesOfFreedom) {
  const int smallest[] = {0, 1, 4, 3, 4, 4, 5, 3};
  for (int kind = 1; kind <= 7; ++kind) {
    const int n = smallest[kind];
    EXPECT_EQ(ProblemsAfter(kind, [&](RunParameters& p) { p.N = n; }), Problems{}) << kind;
    const std::string message =
        n > 1 ? "Объем выборки N должен быть не меньше " + std::to_string(n) + " для выбранной гипотезы"
              : "Объем выборки N должен быть не меньше 1";
    EXPECT_EQ(ProblemsAfter(kind, [&](RunParameters& p) { p.N = n - 1; }), (Problems{{"N", message}}))
        << kind;
  }
}

TEST(ParameterCheck, AnEstimatedCovarianceNeedsTwoObservations) {
  EXPECT_EQ(ProblemsAfter(1,
                          [](RunParameters& p) {
                            p.N = 1;
                            p.EstimateCovariance = 1;
                          }),
            (Problems{{"N", "Объем выборки N должен быть не меньше 2 для оценки ковариационной матрицы"}}));
  EXPECT_EQ(ProblemsAfter(1,
                          [](RunParameters& p) {
                            p.N = 1;
                            p.EstimateMean = 1;
                          }),
            Problems{});
}

TEST(ParameterCheck, MAndKHaveTheirLowerBounds) {
  EXPECT_EQ(ProblemsAfter(2, [](RunParameters& p) { p.M = 4; }),
            (Problems{{"M", "Число выборок M должно быть не меньше 5"}}));
  EXPECT_EQ(ProblemsAfter(2, [](RunParameters& p) { p.K = 0; }),
            (Problems{{"K", "Число повторений K должно быть не меньше 1"}}));
  // Below 20 samples a run is still allowed: it steps its gauge after every sample.
  EXPECT_EQ(ProblemsAfter(2,
                          [](RunParameters& p) {
                            p.M = 5;
                            p.K = 1;
                          }),
            Problems{});
}

TEST(ParameterCheck, KTimesMMustFitIn32Bits) {
  EXPECT_EQ(ProblemsAfter(2,
                          [](RunParameters& p) {
                            p.M = 65536;
                            p.K = 32767;
                          }),
            Problems{});
  EXPECT_EQ(
      ProblemsAfter(2,
                    [](RunParameters& p) {
                      p.M = 65536;
                      p.K = 32768;
                    }),
      (Problems{{"K", "Произведение числа повторений K на число выборок M не должно превышать 2147483647"}}));
}

TEST(ParameterCheck, PairVariablesLieAmongAllP) {
  for (const int kind : {3, 4}) {
    EXPECT_EQ(ProblemsAfter(kind, [](RunParameters& p) { p.VarI = 3; }), Problems{});
    EXPECT_EQ(ProblemsAfter(kind, [](RunParameters& p) { p.VarI = 4; }),
              (Problems{{"VarI", "Номер первой переменной i должен лежать в пределах от 1 до p = 3"}}));
    EXPECT_EQ(ProblemsAfter(kind, [](RunParameters& p) { p.VarJ = 0; }),
              (Problems{{"VarJ", "Номер второй переменной j должен лежать в пределах от 1 до p = 3"}}));
    EXPECT_EQ(
        ProblemsAfter(kind, [](RunParameters& p) { p.VarJ = 1; }),
        (Problems{{"VarJ", "Номер второй переменной j должен отличаться от номера первой переменной i"}}));
  }
}

TEST(ParameterCheck, PartialAndMultipleVariablesLieAmongTheFirstQ) {
  for (const int kind : {5, 6, 7}) {
    EXPECT_EQ(ProblemsAfter(kind, [](RunParameters& p) { p.VarI = 3; }),
              (Problems{{"VarI", "Номер первой переменной i должен лежать в пределах от 1 до q = 2"}}))
        << kind;
  }
  EXPECT_EQ(ProblemsAfter(5, [](RunParameters& p) { p.VarJ = 3; }),
            (Problems{{"VarJ", "Номер второй переменной j должен лежать в пределах от 1 до q = 2"}}));
  // Kind 7 has no second variable, so whatever stands there is not looked at.
  EXPECT_EQ(ProblemsAfter(7, [](RunParameters& p) { p.VarJ = 1; }), Problems{});
}

TEST(ParameterCheck, QLiesBelowP) {
  const Problems q_out = {
      {"Q", "Число переменных первой группы q должно лежать в пределах от 1 до p - 1 = 2"}};
  for (const int kind : {5, 6, 7}) {
    EXPECT_EQ(ProblemsAfter(kind, [](RunParameters& p) { p.Q = 0; }), q_out) << kind;
    EXPECT_EQ(ProblemsAfter(kind, [](RunParameters& p) { p.Q = 3; }), q_out) << kind;
  }
}

TEST(ParameterCheck, CorrelationHypothesesNeedTwoVariables) {
  for (int kind = 3; kind <= 7; ++kind) {
    EXPECT_EQ(ProblemsAfter(kind,
                            [](RunParameters& p) {
                              p.Dimension = 1;
                              p.Mean = {0};
                              p.Covariance = {1};
                            }),
              (Problems{{"Dimension", "Размерность p должна быть не меньше 2 для выбранной гипотезы"}}))
        << kind;
  }
}

TEST(ParameterCheck, R0LiesStrictlyBetweenMinusOneAndOne) {
  const Problems r0_out = {{"R0", "Коэффициент корреляции r0 должен лежать строго между -1 и 1"}};
  for (const int kind : {4, 6}) {
    EXPECT_EQ(ProblemsAfter(kind, [](RunParameters& p) { p.R0 = -0.999; }), Problems{});
    EXPECT_EQ(ProblemsAfter(kind, [](RunParameters& p) { p.R0 = 1; }), r0_out);
    EXPECT_EQ(ProblemsAfter(kind, [](RunParameters& p) { p.R0 = -1; }), r0_out);
    EXPECT_EQ(ProblemsAfter(kind, [](RunParameters& p) { p.R0 = std::nan(""); }), r0_out);
  }
  // Kinds without R0 do not look at it.
  EXPECT_EQ(ProblemsAfter(3, [](RunParameters& p) { p.R0 = 5; }), Problems{});
}

// Matrices by hand: [[1, 2], [2, 1]] has eigenvalues 3 and -1; [[1, 1], [1, 1]]
// is singular; [[4, 2], [2, 3]] factors as [[2, 0], [1, sqrt 2]].
TEST(ParameterCheck, TheCovarianceMustBePositiveDefinite) {
  auto with_covariance = [](std::vector<double> triangle) {
    return [triangle](RunParameters& p) {
      p.Dimension = 2;
      p.Mean = {0, 0};
      p.Covariance = triangle;
    };
  };
  const Problems not_definite = {
      {"Covariance", "Ковариационная матрица должна быть положительно определенной"}};
  EXPECT_EQ(ProblemsAfter(2, with_covariance({4, 2, 3})), Problems{});
  EXPECT_EQ(ProblemsAfter(2, with_covariance({1, 2, 1})), not_definite);
  EXPECT_EQ(ProblemsAfter(2, with_covariance({1, 1, 1})), not_definite);
  EXPECT_EQ(ProblemsAfter(2, with_covariance({-1, 0, 1})), not_definite);
  EXPECT_EQ(ProblemsAfter(2, with_covariance({1, 0, 0})), not_definite);
  EXPECT_EQ(ProblemsAfter(2, with_covariance({std::numeric_limits<double>::infinity(), 0, 1})),
            (Problems{{"Covariance", "Ковариационная матрица должна состоять из конечных чисел"}}));
}

TEST(ParameterCheck, TheAlternativePairCountsOnlyWhereItIsUsed) {
  auto singular_alternative = [](RunParameters& p) {
    p.Alternative = 1;
    p.AltMean = {0, 0, 0};
    p.AltCovariance = {1, 1, 0, 1, 0, 1};
  };
  EXPECT_EQ(ProblemsAfter(1, singular_alternative),
            (Problems{{"AltCovariance",
                       "Альтернативная ковариационная матрица должна быть положительно определенной"}}));
  EXPECT_EQ(ProblemsAfter(2, singular_alternative), Problems{});
  EXPECT_EQ(
      ProblemsAfter(2, [](RunParameters& p) { p.Alternative = 1; }),
      (Problems{
          {"AltMean", "Альтернативное математическое ожидание должно содержать p = 3 значений"},
          {"AltCovariance",
           "Альтернативная ковариационная матрица должна содержать 6 значений верхнего треугольника"}}));
}

TEST(ParameterCheck, TheExponentialPowerLawNeedsAPositiveScaleAndShape) {
  auto exponential_power = [](double scale, float shape) {
    return [=](RunParameters& p) {
      p.GeneratorKind = 5;
      p.GenParam2 = scale;
      p.GenParam3 = shape;
    };
  };
  EXPECT_EQ(ProblemsAfter(2, exponential_power(0.1, 0.1f)), Problems{});
  EXPECT_EQ(
      ProblemsAfter(2, exponential_power(0, 2)),
      (Problems{{"GenParam2", "Масштаб экспоненциально-степенного распределения должен быть больше 0"}}));
  const Problems bad_shape = {
      {"GenParam3",
       "Параметр формы экспоненциально-степенного распределения должен быть конечным числом больше 0"}};
  EXPECT_EQ(ProblemsAfter(2, exponential_power(1, 0)), bad_shape);
  EXPECT_EQ(ProblemsAfter(2, exponential_power(1, -1)), bad_shape);
  EXPECT_EQ(ProblemsAfter(2, exponential_power(1, std::numeric_limits<float>::infinity())), bad_shape);
  // The other laws keep their scale as given: a normal law with deviation 0 is allowed.
  EXPECT_EQ(ProblemsAfter(2, [](RunParameters& p) { p.GenParam2 = 0; }), Problems{});
}

TEST(ParameterCheck, ValuesThatWouldMakeTheReportNaNAreRefused) {
  EXPECT_EQ(ProblemsAfter(2, [](RunParameters& p) { p.Mean[1] = std::nan(""); }),
            (Problems{{"Mean", "Математическое ожидание должно состоять из конечных чисел"}}));
  EXPECT_EQ(ProblemsAfter(2, [](RunParameters& p) { p.GenParam1 = std::numeric_limits<double>::infinity(); }),
            (Problems{{"GenParam1", "Первый параметр распределения должен быть конечным числом"}}));
}

TEST(ParameterCheck, ProblemsComeInFieldOrderOnePerField) {
  const Problems problems = ProblemsAfter(4, [](RunParameters& p) {
    p.R0 = 2;
    p.GeneratorKind = 9;
    p.N = 0;
    p.M = 0;
    p.K = 0;
    p.SaveValues = 1;
    p.StatisticsPath = std::string(261, 'x');
  });
  std::vector<std::string> fields;
  for (const ParameterProblem& problem : problems) fields.push_back(problem.Field);
  EXPECT_EQ(fields, (std::vector<std::string>{"R0", "GeneratorKind", "N", "M", "K", "StatisticsPath"}));
  EXPECT_EQ(problems[2].Message, "Объем выборки N должен быть не меньше 4 для выбранной гипотезы");
}

TEST(ParameterCheck, KindsOutsideTheirRangesAreProblems) {
  EXPECT_EQ(ProblemsAfter(2, [](RunParameters& p) { p.TestKind = 8; }),
            (Problems{{"TestKind", "Вид гипотезы должен быть задан кодом от 1 до 7"}}));
  EXPECT_EQ(ProblemsAfter(2, [](RunParameters& p) { p.GeneratorKind = 0; }),
            (Problems{{"GeneratorKind", "Закон распределения должен быть задан кодом от 1 до 5"}}));
  EXPECT_EQ(ProblemsAfter(2,
                          [](RunParameters& p) {
                            p.Dimension = 0;
                            p.Mean.clear();
                            p.Covariance.clear();
                          })
                .front(),
            (ParameterProblem{"Dimension", "Размерность p должна быть не меньше 1"}));
}

}  // namespace
