// The settings of one calculation as the parameter block carries them from
// the parameter editor to the method library, field by field, in the block's
// own types. Which fields a block holds depends on its test and generator
// kinds; a field that the kinds leave out keeps its zero default here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Test kinds (the hypotheses) and generator kinds (the laws) as the block
// codes them.
constexpr int kTestKindX2 = 1;         // mean vector, covariance known
constexpr int kTestKindT2 = 2;         // mean vector, covariance estimated
constexpr int kTestKindPairT = 3;      // pair correlation is zero
constexpr int kTestKindPairZ0 = 4;     // pair correlation equals R0
constexpr int kTestKindIndividT = 5;   // partial correlation is zero
constexpr int kTestKindIndividZ0 = 6;  // partial correlation equals R0
constexpr int kTestKindF = 7;          // multiple correlation is zero
constexpr int kGeneratorNormal = 1;
constexpr int kGeneratorLogistic = 2;
constexpr int kGeneratorLaplace = 3;
constexpr int kGeneratorCauchy = 4;
constexpr int kGeneratorExpPower = 5;  // location, scale and shape (GenParam3)

// The longest statistics path the block may carry, in bytes.
constexpr int kMaxStatisticsPathLength = 260;

struct RunParameters {
  std::int8_t TestKind = 0;
  std::int32_t VarI = 0;  // 1-based; test kinds 3 to 7
  std::int32_t VarJ = 0;  // 1-based; test kinds 3 to 6
  double R0 = 0;          // test kinds 4 and 6
  std::int32_t Q = 0;     // test kinds 5 to 7
  std::int8_t GeneratorKind = 0;
  double GenParam1 = 0;
  double GenParam2 = 0;
  float GenParam3 = 0;  // generator kind 5
  std::int16_t Dimension = 0;
  std::vector<double> Mean;        // Dimension values
  std::vector<double> Covariance;  // upper triangle, row by row: (1,1), (1,2), ..., (1,p), (2,2), ..., (p,p)
  std::int32_t N = 0;
  std::int32_t M = 0;
  std::int32_t K = 0;
  std::uint8_t SaveValues = 0;
  std::string StatisticsPath;  // code page 1251 bytes; only when SaveValues is non-zero
  std::uint8_t EstimateMean = 0;
  std::uint8_t EstimateCovariance = 0;
  std::uint8_t Reserved = 0;
  std::uint8_t Alternative = 0;
  std::vector<double> AltMean;        // only when Alternative is non-zero
  std::vector<double> AltCovariance;  // only when Alternative is non-zero; same order as Covariance

  // Element (a, b) of the symmetric matrix, 0-based, either triangle.
  double CovarianceAt(int a, int b) const;
  double AltCovarianceAt(int a, int b) const;

  bool operator==(const RunParameters&) const = default;
};

// Which optional fields a block holds, by its kinds.
bool TestKindHasVarI(int test_kind);
bool TestKindHasVarJ(int test_kind);
bool TestKindHasR0(int test_kind);
bool TestKindHasQ(int test_kind);
bool GeneratorKindHasGenParam3(int generator_kind);

// The number of values in the upper triangle of a p x p matrix.
std::size_t TriangleSize(int p);

// Where element (a, b), 0-based, of a symmetric p x p matrix stands in its
// upper triangle; (a, b) and (b, a) share a place.
std::size_t TriangleIndex(int p, int a, int b);

// The path with the repetition number inserted before its first "." (a dot
// in a folder name counts), or "number." in front of a path without one.
std::string StatisticsFileName(const std::string& path, std::int32_t repetition_number);
