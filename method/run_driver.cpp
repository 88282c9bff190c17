#include "method/run_driver.h"

#include <algorithm>
#include <optional>

#include "generators/univariate.h"
#include "generators/value_biexp.h"
#include "method/correlation_statistics.h"
#include "method/mean_statistics.h"
#include "method/parameter_block.h"
#include "method/parameter_check.h"
#include "method/run_memory.h"
#include "method/sample_moments.h"
#include "platform/exceptions.h"
#include "platform/process_resources.h"
#include "platform/quoted.h"
#include "platform/whole_file.h"

namespace {

// The quantile tables are not read with equal-count grouping, but the folder
// is passed all the same.
constexpr const char* kTablesFolder = "./Tables/";
constexpr int kEqualCountGrouping = 1;
constexpr int kIntervals = 5;

RunParameters ReadBlock(const std::string& file_name) {
  const std::string open_error = "Cannot open file " + file_name;
  std::optional<platform::SequentialReader> file;
  try {
    file.emplace(file_name, open_error, kMaxBlockBytes);
  } catch (const Exception&) {
    // A file that is there but cannot be read (a folder, a pipe or a device
    // of that name, one longer than any block) is as unusable as a missing
    // one, and the method says so in its own words.
    throw EFOpenError(open_error);
  }
  try {
    return DecodeRunParameters(*file);
  } catch (const EReadError& error) {
    throw EReadError("Файл параметров " + platform::Quoted(file_name) + " поврежден: " + error.Message());
  }
}

std::unique_ptr<Matrix> SymmetricMatrix(const std::vector<double>& triangle, int p) {
  auto matrix = std::make_unique<Matrix>(p, p, 0.0);
  for (int a = 0; a < p; ++a) {
    for (int b = a; b < p; ++b) {
      const double value = triangle[TriangleIndex(p, a, b)];
      (*matrix)[a][b] = value;
      (*matrix)[b][a] = value;
    }
  }
  return matrix;
}

std::unique_ptr<Vector> MakeVector(const std::vector<double>& values) {
  auto vector = std::make_unique<Vector>(static_cast<std::int32_t>(values.size()));
  for (std::int32_t i = 0; i < vector->Size(); ++i) (*vector)[i] = values[static_cast<std::size_t>(i)];
  return vector;
}

[[noreturn]] void UnknownTestKind(int test_kind) {
  throw Exception("Вид гипотезы " + std::to_string(test_kind) + " вне пределов от 1 до 7");
}

}  // namespace

std::unique_ptr<TCStatistic> MakeStatistic(const RunState& run) {
  const std::int32_t p = run.Dimension();
  const std::int32_t i = run.VarI - 1;
  const std::int32_t j = run.VarJ - 1;
  const std::int32_t partial_n = run.N - p + run.Q;
  switch (run.TestKind) {
    case kTestKindX2:
      if (run.Alternative != 0) return std::make_unique<TCStatX2>(run.AltMean.get(), run.AltCovariance.get());
      return std::make_unique<TCStatX2>(run.Mean.get(), run.Covariance.get());
    case kTestKindT2:
      return std::make_unique<TCStatT2>(run.Mean.get());
    case kTestKindPairT:
      return std::make_unique<TCStatPairT>(i, j, run.N);
    case kTestKindPairZ0:
      return std::make_unique<TCStatPairZ0>(i, j, run.N, run.R0);
    case kTestKindIndividT:
      return std::make_unique<TCStatIndividT>(i, j, partial_n, run.Q);
    case kTestKindIndividZ0:
      return std::make_unique<TCStatIndividZ0>(i, j, partial_n, run.R0, run.Q);
    case kTestKindF:
      return std::make_unique<TCStatF>(i, run.Q);
    default:
      UnknownTestKind(run.TestKind);
  }
}

namespace {

std::unique_ptr<DistribFunc> MakeDistribution(const RunState& run) {
  const std::int32_t p = run.Dimension();
  const std::int32_t n = run.N;
  const std::int32_t q = run.Q;
  auto law = [](DistribKind kind, std::int32_t first, std::int32_t second) {
    return std::make_unique<DistribFunc>(
        DistribFunc{kind, static_cast<double>(first), static_cast<double>(second)});
  };
  switch (run.TestKind) {
    case kTestKindX2:
      return law(dfChi2, p, 0);
    case kTestKindT2:
      return law(dfFisher, p, n - p);
    case kTestKindPairT:
      return law(dfStudent, n - 2, 0);
    case kTestKindPairZ0:
      return law(dfNormal, 0, 0);
    case kTestKindIndividT:
      return law(dfStudent, n - p + q - 2, 0);
    case kTestKindIndividZ0:
      return law(dfNormal, 0, 0);
    case kTestKindF:
      return law(dfFisher, p - q, n - p + q - 1);
    default:
      UnknownTestKind(run.TestKind);
  }
}

std::unique_ptr<TCValueUni> MakeGenerator(const RunState& run) {
  switch (run.GeneratorKind) {
    case kGeneratorNormal:
      return std::make_unique<TCValueNorm>(run.GenParam1, run.GenParam2);
    case kGeneratorLogistic:
      return std::make_unique<TCValueLog>(run.GenParam1, run.GenParam2);
    case kGeneratorLaplace:
      return std::make_unique<TCValueLaplas>(run.GenParam1, run.GenParam2);
    case kGeneratorCauchy:
      return std::make_unique<TCValueKoshi>(run.GenParam1, run.GenParam2);
    case kGeneratorExpPower:
      return std::make_unique<TCValueBiExp>(run.GenParam1, run.GenParam2, static_cast<double>(run.GenParam3));
    default:
      throw Exception("Код закона распределения " + std::to_string(run.GeneratorKind) +
                      " вне пределов от 1 до 5");
  }
}

}  // namespace

void ReadParameters(RunState& run, const std::string& file_name) {
  const RunParameters block = ReadBlock(file_name);
  const std::vector<ParameterProblem> problems = CheckRunParameters(block);
  if (!problems.empty()) throw Exception(problems.front().Message);
  // Before the run makes anything of the block's sizes: a run that cannot
  // be held fails at once, and not once the system has run short.
  RefuseWithoutMemory(RunInTurnBytes(block.Dimension, block.N, block.M), platform::AvailableMemory());

  const int p = block.Dimension;
  run.TestKind = block.TestKind;
  run.VarI = block.VarI;
  run.VarJ = block.VarJ;
  run.R0 = block.R0;
  run.Q = block.Q;
  run.GeneratorKind = block.GeneratorKind;
  run.GenParam1 = block.GenParam1;
  run.GenParam2 = block.GenParam2;
  run.GenParam3 = block.GenParam3;
  run.Mean = MakeVector(block.Mean);
  run.Covariance = SymmetricMatrix(block.Covariance, p);
  run.N = block.N;
  run.M = block.M;
  run.K = block.K;
  run.SaveValues = block.SaveValues;
  if (block.SaveValues != 0) run.StatisticsPath = block.StatisticsPath;
  run.EstimateMean = block.EstimateMean;
  run.EstimateCovariance = block.EstimateCovariance;
  run.Reserved = block.Reserved;
  run.Alternative = block.Alternative;
  if (block.EstimateMean != 0) run.MeanSum = std::make_unique<Vector>(p);
  if (block.EstimateCovariance != 0) run.CovarianceSum = std::make_unique<Matrix>(p, p, 0.0);
  if (block.Alternative != 0) {
    run.AltMean = MakeVector(block.AltMean);
    run.AltCovariance = SymmetricMatrix(block.AltCovariance, p);
  }
}

void PrepareRun(RunState& run) {
  run.Statistic = MakeStatistic(run);
  run.Distribution = MakeDistribution(run);
  run.Generator = MakeGenerator(run);
  run.Multi = std::make_unique<TCValueMulti>(run.Mean.get(), run.Covariance.get(), run.Generator.get());
}

double SampleStatistic(TCStatistic& statistic, SampleMoments& moments, const std::vector<double>& sample,
                       std::int32_t p) {
  moments.Take(sample.data(), p, static_cast<std::int32_t>(sample.size() / static_cast<std::size_t>(p)));
  return statistic.FromMoments(moments);
}

std::int32_t EstimatesSize(const RunState& run) {
  const std::int32_t p = run.Dimension();
  return (run.EstimateMean != 0 ? p : 0) + (run.EstimateCovariance != 0 ? p * (p + 1) / 2 : 0);
}

void TakeEstimates(const RunState& run, SampleMoments& moments, double* estimates) {
  const std::int32_t p = run.Dimension();
  if (run.EstimateMean != 0) estimates = std::copy_n(moments.Mean(), p, estimates);
  if (run.EstimateCovariance == 0) return;
  const double* covariance = moments.Covariance();
  for (std::int32_t i = 0; i < p; ++i)
    estimates = std::copy_n(covariance + static_cast<std::ptrdiff_t>(i) * p, i + 1, estimates);
}

void AddEstimates(RunState& run, const double* estimates) {
  const std::int32_t p = run.Dimension();
  if (run.EstimateMean != 0) {
    Vector& sum = *run.MeanSum;
    for (std::int32_t i = 0; i < p; ++i) sum[i] = sum[i] + estimates[i];
    estimates += p;
  }
  if (run.EstimateCovariance != 0) {
    // Element (i, j) of a sample's covariance has the bits of (j, i); the
    // lower triangle holds both.
    Matrix& sum = *run.CovarianceSum;
    auto lower = [estimates](std::int32_t i, std::int32_t j) { return estimates[i * (i + 1) / 2 + j]; };
    for (std::int32_t i = 0; i < p; ++i) {
      for (std::int32_t j = 0; j < p; ++j) sum[i][j] = (i >= j ? lower(i, j) : lower(j, i)) + sum[i][j];
    }
  }
}

CritVA FitValues(const RunState& run, std::vector<double>& values) {
  sort_up(run.M, values.data());
  CritVA criteria{};
  KolmSmOm(values.data(), run.M, run.Distribution.get(), criteria);
  ChiRTrueStats(values.data(), run.M, run.Distribution.get(), kEqualCountGrouping, kIntervals, criteria,
                kTablesFolder);
  return criteria;
}

void AddCriteria(RunState& run, std::int32_t k, const CritVA& criteria) {
  if (k == 0) {
    run.Criteria = criteria;
    return;
  }
  for (const auto field : kCriteriaFields) run.Criteria.*field = run.Criteria.*field + criteria.*field;
}

void FreeRunObjects(RunState& run) {
  run.Generator.reset();
  run.Multi.reset();
  run.Mean.reset();
  run.Covariance.reset();
  run.Statistic.reset();
  run.Distribution.reset();
  run.MeanSum.reset();
  run.CovarianceSum.reset();
  run.AltMean.reset();
  run.AltCovariance.reset();
}

std::int64_t ProgressStep(std::int64_t total) {
  const std::int64_t step = total / 20;
  return step > 0 ? step : 1;
}
