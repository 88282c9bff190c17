// The golden runs step by step in this process, with every value to the last
// bit: the sorted statistics, the criteria sums and the estimate sums of each
// run, seventeen significant digits each.
#include <gtest/gtest.h>

#include <cstdio>

#include "method/run_driver.h"
#include "method/tests/golden_runs.h"
#include "method/tests/prepared_run.h"
#include "method/tests/run_harness.h"

namespace {

using brennic_test::GoldenRun;

std::string Exact(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.17g\n", value);
  return text;
}

std::string ExactRunText(const RunParameters& block) {
  brennic_test::RunFolder folder;
  folder.WriteParameters(block);
  RunState run;
  brennic_test::PrepareRunAt(run, brennic_test::kGoldenMillisecond);
  std::string text;
  std::vector<double> values;
  for (std::int32_t k = 0; k < run.K; ++k) {
    brennic_test::RunSamples(run, k, values);
    AddCriteria(run, k, FitValues(run, values));
    text += "== values " + std::to_string(k + 1) + "\n";
    for (const double value : values) text += Exact(value);
  }
  text += "== criteria sums\n";
  for (const auto field : kCriteriaFields) text += Exact(run.Criteria.*field);
  if (run.MeanSum) {
    text += "== mean sum\n";
    for (std::int32_t i = 0; i < run.Dimension(); ++i) text += Exact((*run.MeanSum)[i]);
  }
  if (run.CovarianceSum) {
    text += "== covariance sum\n";
    for (std::int32_t i = 0; i < run.Dimension(); ++i) {
      for (std::int32_t j = 0; j < run.Dimension(); ++j) text += Exact((*run.CovarianceSum)[i][j]);
    }
  }
  run.Progress.reset();
  FreeRunObjects(run);
  return text;
}

class ExactGolden : public testing::TestWithParam<GoldenRun> {};

TEST_P(ExactGolden, EveryValueToTheLastBit) {
  brennic_test::ExpectGolden(GetParam().name + ".exact.txt", ExactRunText(GetParam().block));
}

INSTANTIATE_TEST_SUITE_P(Runs, ExactGolden, testing::ValuesIn(brennic_test::GoldenRuns()),
                         [](const testing::TestParamInfo<GoldenRun>& info) { return info.param.name; });

}  // namespace
