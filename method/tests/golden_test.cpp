// The golden runs through the staged library: every statistics file and the
// report's text, byte for byte.
#include <gtest/gtest.h>

#include "method/tests/golden_runs.h"
#include "method/tests/run_harness.h"

namespace {

using brennic_test::GoldenRun;

// The statistics files of every repetition and the report's text, each
// under a line that names it.
std::string RunText(const RunParameters& block) {
  brennic_test::RunFolder folder;
  folder.WriteParameters(block);
  const auto outcome = brennic_test::RunBrennic({.millisecond = brennic_test::kGoldenMillisecond});
  EXPECT_EQ(outcome.result, 1);
  EXPECT_TRUE(outcome.error_boxes.empty());
  std::string text;
  for (std::int32_t k = 1; k <= block.K; ++k) {
    const std::string name = "stat" + std::to_string(k) + ".txt";
    text += "== " + name + "\n" + folder.ReadFile(name);
  }
  return text + "== index.html\n" + brennic_test::ReportText(folder.ReadFile("index.html"));
}

class BrennicGolden : public testing::TestWithParam<GoldenRun> {};

TEST_P(BrennicGolden, StatisticsFilesAndReportAreUnchanged) {
  brennic_test::ExpectGolden(GetParam().name + ".txt", RunText(GetParam().block));
}

INSTANTIATE_TEST_SUITE_P(Runs, BrennicGolden, testing::ValuesIn(brennic_test::GoldenRuns()),
                         [](const testing::TestParamInfo<GoldenRun>& info) { return info.param.name; });

}  // namespace
