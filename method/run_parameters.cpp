#include "method/run_parameters.h"

#include <utility>

bool TestKindHasVarI(int test_kind) { return test_kind >= kTestKindPairT && test_kind <= kTestKindF; }

bool TestKindHasVarJ(int test_kind) { return test_kind >= kTestKindPairT && test_kind <= kTestKindIndividZ0; }

bool TestKindHasR0(int test_kind) { return test_kind == kTestKindPairZ0 || test_kind == kTestKindIndividZ0; }

bool TestKindHasQ(int test_kind) { return test_kind >= kTestKindIndividT && test_kind <= kTestKindF; }

bool GeneratorKindHasGenParam3(int generator_kind) { return generator_kind == kGeneratorExpPower; }

std::size_t TriangleSize(int p) {
  const auto size = static_cast<std::size_t>(p);
  return size * (size + 1) / 2;
}

std::size_t TriangleIndex(int p, int a, int b) {
  if (a > b) std::swap(a, b);
  // Row a starts after rows 0..a-1, which hold p, p-1, ..., p-a+1 values.
  const auto row = static_cast<std::size_t>(a);
  const auto size = static_cast<std::size_t>(p);
  return row * (2 * size - row + 1) / 2 + static_cast<std::size_t>(b - a);
}

double RunParameters::CovarianceAt(int a, int b) const {
  return Covariance.at(TriangleIndex(Dimension, a, b));
}

double RunParameters::AltCovarianceAt(int a, int b) const {
  return AltCovariance.at(TriangleIndex(Dimension, a, b));
}

std::string StatisticsFileName(const std::string& path, std::int32_t repetition_number) {
  const std::string number = std::to_string(repetition_number);
  const std::size_t dot = path.find('.');
  if (dot == std::string::npos) return number + "." + path;
  return path.substr(0, dot) + number + path.substr(dot);
}
