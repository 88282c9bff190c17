#include "method/parameter_check.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "platform/cp1251.h"
#include "platform/exceptions.h"

namespace {

class Problems {
 public:
  // Keeps the first problem of each field only: one reason beside a field is
  // what the user needs, and a later check may rest on an earlier one.
  void Add(const std::string& field, const std::string& message) {
    const bool known = std::any_of(list_.begin(), list_.end(),
                                   [&](const ParameterProblem& problem) { return problem.Field == field; });
    if (!known) list_.push_back({field, message});
  }

  std::vector<ParameterProblem> List() && { return std::move(list_); }

 private:
  std::vector<ParameterProblem> list_;
};

bool AllFinite(const std::vector<double>& values) {
  return std::all_of(values.begin(), values.end(), [](double value) { return std::isfinite(value); });
}

// Factors the matrix as the multivariate generator does, column by column,
// and asks of every column what its square root needs: C[i][i] - s2 > 0.
bool IsPositiveDefinite(const std::vector<double>& triangle, int p) {
  std::vector<double> factor(static_cast<std::size_t>(p) * p, 0.0);
  auto at = [&](int row, int column) -> double& {
    return factor[static_cast<std::size_t>(row) * p + column];
  };
  for (int i = 0; i < p; ++i) {
    double s2 = 0;
    for (int k = 0; k < i; ++k) s2 += at(i, k) * at(i, k);
    const double pivot = triangle[TriangleIndex(p, i, i)] - s2;
    if (!(pivot > 0)) return false;
    const long double root = std::sqrt(static_cast<long double>(pivot));
    for (int j = i; j < p; ++j) {
      double s = 0;
      for (int k = 0; k < i; ++k) s += at(j, k) * at(i, k);
      const double difference = triangle[TriangleIndex(p, j, i)] - s;
      at(j, i) = static_cast<double>(static_cast<long double>(difference) / root);
    }
  }
  return true;
}

// The smallest N for which the statistic has its degrees of freedom, or none
// while the fields it rests on are themselves wrong.
std::optional<std::int64_t> SmallestN(int test_kind, std::int64_t p, std::int64_t q, bool q_valid) {
  switch (test_kind) {
    case kTestKindX2:
      return 1;
    case kTestKindT2:
      return p + 1;
    case kTestKindPairT:
      return 3;
    case kTestKindPairZ0:
      return 4;
    default:
      break;
  }
  if (!q_valid) return std::nullopt;
  switch (test_kind) {
    case kTestKindIndividT:
      return p - q + 3;
    case kTestKindIndividZ0:
      return p - q + 4;
    case kTestKindF:
      return p - q + 2;
    default:
      return std::nullopt;
  }
}

// The law's name as the messages put it, or none for a kind out of range.
const char* LawGenitive(int generator_kind) {
  switch (generator_kind) {
    case kGeneratorNormal:
      return "нормального распределения";
    case kGeneratorLogistic:
      return "логистического распределения";
    case kGeneratorLaplace:
      return "распределения Лапласа";
    case kGeneratorCauchy:
      return "распределения Коши";
    case kGeneratorExpPower:
      return "экспоненциально-степенного распределения";
    default:
      return nullptr;
  }
}

// The statistics files are named after the path, so it has to name one file
// on this system: no NUL byte, which would end the name early, and only
// bytes that code page 1251 defines.
std::optional<std::string> StatisticsPathProblem(const std::string& path) {
  if (path.size() > static_cast<std::size_t>(kMaxStatisticsPathLength)) {
    return "Путь файлов статистик не должен быть длиннее " + std::to_string(kMaxStatisticsPathLength) +
           " байт";
  }
  if (path.find('\0') != std::string::npos) return "Путь файлов статистик не должен содержать нулевой байт";
  try {
    platform::Cp1251ToUtf8(path);
  } catch (const EConvertError& error) {
    return "Путь файлов статистик: " + error.Message();
  }
  return std::nullopt;
}

// A pair that is not `in_use` is carried along in the block and only has to
// fit it.
void CheckMeanAndCovariance(Problems& problems, const std::vector<double>& mean,
                            const std::vector<double>& covariance, int p, bool alternative, bool in_use) {
  const std::string mean_field = alternative ? "AltMean" : "Mean";
  const std::string covariance_field = alternative ? "AltCovariance" : "Covariance";
  const std::string mean_title =
      alternative ? "Альтернативное математическое ожидание" : "Математическое ожидание";
  const std::string covariance_title =
      alternative ? "Альтернативная ковариационная матрица" : "Ковариационная матрица";
  if (mean.size() != static_cast<std::size_t>(p)) {
    problems.Add(mean_field, mean_title + " должно содержать p = " + std::to_string(p) + " значений");
  } else if (in_use && !AllFinite(mean)) {
    problems.Add(mean_field, mean_title + " должно состоять из конечных чисел");
  }
  if (covariance.size() != TriangleSize(p)) {
    problems.Add(covariance_field, covariance_title + " должна содержать " + std::to_string(TriangleSize(p)) +
                                       " значений верхнего треугольника");
  } else if (in_use && !AllFinite(covariance)) {
    problems.Add(covariance_field, covariance_title + " должна состоять из конечных чисел");
  } else if (in_use && !IsPositiveDefinite(covariance, p)) {
    problems.Add(covariance_field, covariance_title + " должна быть положительно определенной");
  }
}

}  // namespace

std::vector<ParameterProblem> CheckRunParameters(const RunParameters& parameters) {
  Problems problems;
  const int kind = parameters.TestKind;
  const int p = parameters.Dimension;
  const bool kind_valid = kind >= kTestKindX2 && kind <= kTestKindF;
  const bool correlation = kind_valid && kind >= kTestKindPairT;
  // Every correlation hypothesis needs two variables at least.
  const bool p_valid = p >= (correlation ? 2 : 1);
  const bool q_valid = TestKindHasQ(kind) && p_valid && parameters.Q >= 1 && parameters.Q < p;

  if (!kind_valid) problems.Add("TestKind", "Вид гипотезы должен быть задан кодом от 1 до 7");

  // The variables are numbered among all p (pair coefficients) or among the
  // first q (partial and multiple coefficients).
  const bool among_first_q = TestKindHasQ(kind);
  const bool range_known = among_first_q ? q_valid : p_valid;
  const int last_variable = among_first_q ? parameters.Q : p;
  const std::string range = among_first_q ? "от 1 до q = " : "от 1 до p = ";
  auto variable_in_range = [&](std::int32_t variable) { return variable >= 1 && variable <= last_variable; };
  if (TestKindHasVarI(kind) && range_known && !variable_in_range(parameters.VarI)) {
    problems.Add("VarI", "Номер первой переменной i должен лежать в пределах " + range +
                             std::to_string(last_variable));
  }
  if (TestKindHasVarJ(kind) && range_known) {
    if (!variable_in_range(parameters.VarJ)) {
      problems.Add("VarJ", "Номер второй переменной j должен лежать в пределах " + range +
                               std::to_string(last_variable));
    } else if (parameters.VarJ == parameters.VarI) {
      problems.Add("VarJ", "Номер второй переменной j должен отличаться от номера первой переменной i");
    }
  }
  if (TestKindHasR0(kind) && !(parameters.R0 > -1 && parameters.R0 < 1)) {
    problems.Add("R0", "Коэффициент корреляции r0 должен лежать строго между -1 и 1");
  }
  if (TestKindHasQ(kind) && p_valid && !q_valid) {
    problems.Add("Q", "Число переменных первой группы q должно лежать в пределах от 1 до p - 1 = " +
                          std::to_string(p - 1));
  }

  const int generator = parameters.GeneratorKind;
  if (generator < kGeneratorNormal || generator > kGeneratorExpPower) {
    problems.Add("GeneratorKind", "Закон распределения должен быть задан кодом от 1 до 5");
  }
  if (!std::isfinite(parameters.GenParam1)) {
    problems.Add("GenParam1", "Первый параметр распределения должен быть конечным числом");
  }
  if (!std::isfinite(parameters.GenParam2)) {
    problems.Add("GenParam2", "Второй параметр распределения должен быть конечным числом");
  }
  // With no spread every observation is the mean, and the statistics are
  // undefined; the generators themselves allow it.
  if (const char* law = LawGenitive(generator); law && !(parameters.GenParam2 > 0)) {
    problems.Add("GenParam2", std::string("Масштаб ") + law + " должен быть больше 0");
  }
  if (GeneratorKindHasGenParam3(generator)) {
    if (!(parameters.GenParam3 > 0) || !std::isfinite(parameters.GenParam3)) {
      problems.Add(
          "GenParam3",
          "Параметр формы экспоненциально-степенного распределения должен быть конечным числом больше 0");
    }
  }

  if (p < 1) {
    problems.Add("Dimension", "Размерность p должна быть не меньше 1");
  } else if (!p_valid) {
    problems.Add("Dimension", "Размерность p должна быть не меньше 2 для выбранной гипотезы");
  }
  if (p >= 1) CheckMeanAndCovariance(problems, parameters.Mean, parameters.Covariance, p, false, true);

  const std::optional<std::int64_t> kind_smallest_n =
      kind_valid && p_valid ? SmallestN(kind, p, parameters.Q, q_valid) : std::nullopt;
  if (kind_smallest_n && *kind_smallest_n > 1 && parameters.N < *kind_smallest_n) {
    problems.Add("N", "Объем выборки N должен быть не меньше " + std::to_string(*kind_smallest_n) +
                          " для выбранной гипотезы");
  }
  if (parameters.N < 1) problems.Add("N", "Объем выборки N должен быть не меньше 1");
  if (parameters.EstimateCovariance != 0 && parameters.N < 2) {
    problems.Add("N", "Объем выборки N должен быть не меньше 2 для оценки ковариационной матрицы");
  }
  if (parameters.M < 5) problems.Add("M", "Число выборок M должно быть не меньше 5");
  if (parameters.K < 1) {
    problems.Add("K", "Число повторений K должно быть не меньше 1");
  } else if (static_cast<std::int64_t>(parameters.K) * parameters.M >
             std::numeric_limits<std::int32_t>::max()) {
    // The run counts its samples, K * M, in 32 bits.
    problems.Add("K", "Произведение числа повторений K на число выборок M не должно превышать " +
                          std::to_string(std::numeric_limits<std::int32_t>::max()));
  }

  if (parameters.SaveValues != 0) {
    if (const auto problem = StatisticsPathProblem(parameters.StatisticsPath)) {
      problems.Add("StatisticsPath", *problem);
    }
  }
  // Only test kind 1 uses the alternative pair.
  if (parameters.Alternative != 0 && p >= 1) {
    CheckMeanAndCovariance(problems, parameters.AltMean, parameters.AltCovariance, p, true,
                           kind == kTestKindX2);
  }
  return std::move(problems).List();
}
