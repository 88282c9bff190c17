// The repetitions drawn and fitted side by side leave what drawing, fitting
// and saving each repetition in turn leaves: the criteria and estimate sums to
// the last bit and the same statistics files.
#include "method/repetitions.h"

#include <gtest/gtest.h>

#include <functional>

#include "method/run_driver.h"
#include "method/statistics_file.h"
#include "method/tests/prepared_run.h"
#include "method/tests/run_harness.h"

namespace {

struct RunResult {
  CritVA criteria;
  std::vector<double> mean_sum;
  std::vector<double> covariance_sum;
  std::vector<std::string> files;
};

// A run of the block in the current folder at a fixed seed, its repetitions
// made by `repetitions`.
RunResult RunWith(const brennic_test::RunFolder& folder, const std::function<void(RunState&)>& repetitions) {
  RunState run;
  brennic_test::PrepareRunAt(run, 321);
  repetitions(run);
  RunResult result{run.Criteria, {}, {}, {}};
  const std::int32_t p = run.Dimension();
  for (std::int32_t i = 0; i < p; ++i) {
    result.mean_sum.push_back((*run.MeanSum)[i]);
    for (std::int32_t j = 0; j < p; ++j) result.covariance_sum.push_back((*run.CovarianceSum)[i][j]);
  }
  for (std::int32_t k = 1; k <= run.K; ++k)
    result.files.push_back(folder.ReadFile("stat" + std::to_string(k) + ".txt"));
  run.Progress.reset();
  FreeRunObjects(run);
  return result;
}

TEST(RunRepetitions, LeavesWhatEachRepetitionInTurnLeaves) {
  brennic_test::RunFolder folder;
  RunParameters block = brennic_test::WithStatisticsFiles(
      brennic_test::SmallRun(kTestKindIndividT, kGeneratorLaplace), "stat.txt");
  block.EstimateMean = 1;
  block.EstimateCovariance = 1;
  block.K = 4;
  folder.WriteParameters(block);

  const RunResult in_turn = RunWith(folder, [](RunState& run) {
    for (std::int32_t k = 0; k < run.K; ++k) {
      RunSamples(run, k);
      FitCriteria(run, k);
      SaveStatistics(run, k);
    }
  });
  const RunResult side_by_side = RunWith(folder, RunRepetitions);

  for (const auto field : kCriteriaFields) EXPECT_EQ(side_by_side.criteria.*field, in_turn.criteria.*field);
  EXPECT_EQ(side_by_side.mean_sum, in_turn.mean_sum);
  EXPECT_EQ(side_by_side.covariance_sum, in_turn.covariance_sum);
  EXPECT_EQ(side_by_side.files, in_turn.files);
}

}  // namespace
