// The one record of a Monte Carlo run: the parameter block's values, the
// objects built from them and the run's accumulators, shared by the run's
// steps, its statistics files and its report.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "criteria/quessel.h"
#include "generators/value_multi.h"
#include "generators/value_uni.h"
#include "linalg/matrix.h"
#include "linalg/vector.h"
#include "method/progress.h"
#include "method/statistic.h"

struct RunState {
  std::int8_t TestKind = 0;
  std::int32_t VarI = 0;  // 1-based, as the block numbers variables
  std::int32_t VarJ = 0;
  std::int32_t Q = 0;
  double R0 = 0;
  std::unique_ptr<TCValueMulti> Multi;  // borrows Generator
  std::unique_ptr<Vector> Mean;         // p, the samples' mean
  std::unique_ptr<Matrix> Covariance;   // p x p, the samples' covariance
  std::unique_ptr<Vector> AltMean;      // only when Alternative is non-zero
  std::unique_ptr<Matrix> AltCovariance;
  std::int8_t GeneratorKind = 0;
  std::unique_ptr<TCValueUni> Generator;
  double GenParam1 = 0;
  double GenParam2 = 0;
  float GenParam3 = 0;
  std::unique_ptr<TCStatistic> Statistic;
  std::int32_t N = 0;                         // observations per sample
  std::int32_t M = 0;                         // samples per repetition
  std::int32_t K = 0;                         // repetitions
  std::unique_ptr<DistribFunc> Distribution;  // the statistic's law under the hypothesis
  CritVA Criteria{};                          // sums over the repetitions, then their means
  std::uint8_t SaveValues = 0;
  std::string StatisticsPath;  // code page 1251 bytes
  std::uint8_t EstimateMean = 0;
  std::uint8_t EstimateCovariance = 0;
  std::uint8_t Reserved = 0;
  std::unique_ptr<Vector> MeanSum;        // sum of the sample means; only with EstimateMean
  std::unique_ptr<Matrix> CovarianceSum;  // sum of the sample covariances; only with EstimateCovariance
  std::uint8_t Alternative = 0;
  std::unique_ptr<TCProgress> Progress;

  std::int32_t Dimension() const { return Mean->Size(); }
};
