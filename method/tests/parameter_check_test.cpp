#include "method/parameter_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

namespace {

using Problems = std::vector<ParameterProblem>;
using Change = std::function<void(RunParameters&)>;

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// p = 3, identity covariance, normal law; valid for every test kind.
RunParameters ValidParameters(int test_kind) {
  RunParameters parameters;
  parameters.TestKind = static_cast<std::int8_t>(test_kind);
  parameters.VarI = TestKindHasVarI(test_kind) ? 1 : 0;
  parameters.VarJ = TestKindHasVarJ(test_kind) ? 2 : 0;
  parameters.R0 = TestKindHasR0(test_kind) ? 0.5 : 0;
  parameters.Q = TestKindHasQ(test_kind) ? 2 : 0;
  parameters.GeneratorKind = 1;
  parameters.GenParam2 = 1;
  parameters.Dimension = 3;
  parameters.Mean = {0, 0, 0};
  parameters.Covariance = {1, 0, 0, 1, 0, 1};
  parameters.N = 20;
  parameters.M = 100;
  parameters.K = 10;
  return parameters;
}

Problems ProblemsAfter(int test_kind, const Change& change) {
  RunParameters parameters = ValidParameters(test_kind);
  change(parameters);
  return CheckRunParameters(parameters);
}

Change Covariance2(std::vector<double> triangle) {
  return [triangle](RunParameters& p) {
    p.Dimension = 2;
    p.Mean = {0, 0};
    p.Covariance = triangle;
  };
}

Change Law(int generator_kind, double scale) {
  return [=](RunParameters& p) {
    p.GeneratorKind = static_cast<std::int8_t>(generator_kind);
    p.GenParam2 = scale;
  };
}

Change SavedTo(const std::string& path) {
  return [=](RunParameters& p) {
    p.SaveValues = 1;
    p.StatisticsPath = path;
  };
}

Change ExpPower(double scale, float shape) {
  return [=](RunParameters& p) {
    p.GeneratorKind = 5;
    p.GenParam2 = scale;
    p.GenParam3 = shape;
  };
}

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

// Each requirement at its bounds, for each test kind it concerns; an empty
// list of problems is a case the check must accept.
TEST(ParameterCheck, EachBrokenRequirementIsNamedBesideItsField) {
  const Problems pair_i = {{"VarI", "Номер первой переменной i должен лежать в пределах от 1 до p = 3"}};
  const Problems partial_i = {{"VarI", "Номер первой переменной i должен лежать в пределах от 1 до q = 2"}};
  const Problems q_out = {
      {"Q", "Число переменных первой группы q должно лежать в пределах от 1 до p - 1 = 2"}};
  const Problems r0_out = {{"R0", "Коэффициент корреляции r0 должен лежать строго между -1 и 1"}};
  const Problems not_definite = {
      {"Covariance", "Ковариационная матрица должна быть положительно определенной"}};
  const Problems bad_shape = {
      {"GenParam3",
       "Параметр формы экспоненциально-степенного распределения должен быть конечным числом больше 0"}};
  const Change singular_alternative = [](RunParameters& p) {
    p.Alternative = 1;
    p.AltMean = {0, 0, 0};
    p.AltCovariance = {1, 1, 0, 1, 0, 1};
  };
  const struct {
    std::vector<int> kinds;
    Change change;
    Problems expected;
  } cases[] = {
      {{1},
       [](auto& p) { p.N = 1, p.EstimateCovariance = 1; },
       {{"N", "Объем выборки N должен быть не меньше 2 для оценки ковариационной матрицы"}}},
      {{1}, [](auto& p) { p.N = 1, p.EstimateMean = 1; }, {}},
      {{2}, [](auto& p) { p.M = 4; }, {{"M", "Число выборок M должно быть не меньше 5"}}},
      {{2}, [](auto& p) { p.K = 0; }, {{"K", "Число повторений K должно быть не меньше 1"}}},
      // Below 20 samples a run is still allowed: it steps its gauge after every sample.
      {{2}, [](auto& p) { p.M = 5, p.K = 1; }, {}},
      {{2}, [](auto& p) { p.M = 65536, p.K = 32767; }, {}},
      {{2},
       [](auto& p) { p.M = 65536, p.K = 32768; },
       {{"K", "Произведение числа повторений K на число выборок M не должно превышать 2147483647"}}},
      {{3, 4}, [](auto& p) { p.VarI = 3; }, {}},
      {{3, 4}, [](auto& p) { p.VarI = 4; }, pair_i},
      {{3, 4},
       [](auto& p) { p.VarJ = 0; },
       {{"VarJ", "Номер второй переменной j должен лежать в пределах от 1 до p = 3"}}},
      {{3, 4},
       [](auto& p) { p.VarJ = 1; },
       {{"VarJ", "Номер второй переменной j должен отличаться от номера первой переменной i"}}},
      {{5, 6, 7}, [](auto& p) { p.VarI = 3; }, partial_i},
      {{5},
       [](auto& p) { p.VarJ = 3; },
       {{"VarJ", "Номер второй переменной j должен лежать в пределах от 1 до q = 2"}}},
      // Kind 7 has no second variable, so whatever stands there is not looked at.
      {{7}, [](auto& p) { p.VarJ = 1; }, {}},
      {{5, 6, 7}, [](auto& p) { p.Q = 0; }, q_out},
      {{5, 6, 7}, [](auto& p) { p.Q = 3; }, q_out},
      {{3, 4, 5, 6, 7},
       [](auto& p) { p.Dimension = 1, p.Mean = {0}, p.Covariance = {1}; },
       {{"Dimension", "Размерность p должна быть не меньше 2 для выбранной гипотезы"}}},
      {{4, 6}, [](auto& p) { p.R0 = -0.999; }, {}},
      {{4, 6}, [](auto& p) { p.R0 = 1; }, r0_out},
      {{4, 6}, [](auto& p) { p.R0 = -1; }, r0_out},
      {{4, 6}, [](auto& p) { p.R0 = std::nan(""); }, r0_out},
      {{3}, [](auto& p) { p.R0 = 5; }, {}},  // kinds without R0 do not look at it
      // By hand: [[4, 2], [2, 3]] factors as [[2, 0], [1, sqrt 2]]; [[1, 2], [2, 1]]
      // has eigenvalues 3 and -1; [[1, 1], [1, 1]] is singular.
      {{2}, Covariance2({4, 2, 3}), {}},
      {{2}, Covariance2({1, 2, 1}), not_definite},
      {{2}, Covariance2({1, 1, 1}), not_definite},
      {{2}, Covariance2({-1, 0, 1}), not_definite},
      {{2}, Covariance2({1, 0, 0}), not_definite},
      {{2},
       Covariance2({kInfinity, 0, 1}),
       {{"Covariance", "Ковариационная матрица должна состоять из конечных чисел"}}},
      // The alternative pair counts only where it is used.
      {{1},
       singular_alternative,
       {{"AltCovariance", "Альтернативная ковариационная матрица должна быть положительно определенной"}}},
      {{2}, singular_alternative, {}},
      {{2},
       [](auto& p) { p.Alternative = 1; },
       {{"AltMean", "Альтернативное математическое ожидание должно содержать p = 3 значений"},
        {"AltCovariance",
         "Альтернативная ковариационная матрица должна содержать 6 значений верхнего треугольника"}}},
      {{2}, ExpPower(0.1, 0.1f), {}},
      {{2},
       ExpPower(0, 2),
       {{"GenParam2", "Масштаб экспоненциально-степенного распределения должен быть больше 0"}}},
      {{2}, ExpPower(1, 0), bad_shape},
      {{2}, ExpPower(1, -1), bad_shape},
      {{2}, ExpPower(1, std::numeric_limits<float>::infinity()), bad_shape},
      // Every law needs a spread: with none each observation is the mean.
      {{2}, Law(1, 0), {{"GenParam2", "Масштаб нормального распределения должен быть больше 0"}}},
      {{2}, Law(2, -1), {{"GenParam2", "Масштаб логистического распределения должен быть больше 0"}}},
      {{2}, Law(3, 0), {{"GenParam2", "Масштаб распределения Лапласа должен быть больше 0"}}},
      {{2}, Law(4, -0.5), {{"GenParam2", "Масштаб распределения Коши должен быть больше 0"}}},
      {{2}, Law(4, 1e-300), {}},
      // The path names files: a NUL would end the name early, and 0x98 has no character.
      {{2}, SavedTo(std::string(260, 's')), {}},
      {{2},
       SavedTo(std::string("stat\0.txt", 9)),
       {{"StatisticsPath", "Путь файлов статистик не должен содержать нулевой байт"}}},
      {{2},
       SavedTo("stat\x98.txt"),
       {{"StatisticsPath", "Путь файлов статистик: Байт 0x98 не определён в кодировке Windows-1251"}}},
      {{2},
       [](auto& p) { p.Mean[1] = std::nan(""); },
       {{"Mean", "Математическое ожидание должно состоять из конечных чисел"}}},
      {{2},
       [](auto& p) { p.GenParam1 = kInfinity; },
       {{"GenParam1", "Первый параметр распределения должен быть конечным числом"}}},
      {{2},
       [](auto& p) { p.TestKind = 8; },
       {{"TestKind", "Вид гипотезы должен быть задан кодом от 1 до 7"}}},
      {{2},
       [](auto& p) { p.GeneratorKind = 0; },
       {{"GeneratorKind", "Закон распределения должен быть задан кодом от 1 до 5"}}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    for (const int kind : cases[i].kinds) {
      EXPECT_EQ(ProblemsAfter(kind, cases[i].change), cases[i].expected) << "case " << i << ", kind " << kind;
    }
  }
  const Problems no_dimension = ProblemsAfter(2, [](RunParameters& p) {
    p.Dimension = 0;
    p.Mean.clear();
    p.Covariance.clear();
  });
  EXPECT_EQ(no_dimension.front(), (ParameterProblem{"Dimension", "Размерность p должна быть не меньше 1"}));
}

TEST(ParameterCheck, ProblemsComeInFieldOrderOnePerField) {
  const Problems problems = ProblemsAfter(4, [](RunParameters& p) {
    p.R0 = 2;
    p.GeneratorKind = 9;
    p.N = p.M = p.K = 0;
    p.SaveValues = 1;
    p.StatisticsPath = std::string(261, 'x');
  });
  std::vector<std::string> fields;
  for (const ParameterProblem& problem : problems) fields.push_back(problem.Field);
  EXPECT_EQ(fields, (std::vector<std::string>{"R0", "GeneratorKind", "N", "M", "K", "StatisticsPath"}));
  EXPECT_EQ(problems[2].Message, "Объем выборки N должен быть не меньше 4 для выбранной гипотезы");
}

}  // namespace
