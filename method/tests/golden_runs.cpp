#include "method/tests/golden_runs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "method/tests/run_harness.h"

namespace brennic_test {
namespace {

RunParameters Pinned(RunParameters block) {
  block = WithStatisticsFiles(block, "stat.txt");
  block.EstimateMean = 1;
  block.EstimateCovariance = 1;
  return block;
}

}  // namespace

std::vector<GoldenRun> GoldenRuns() {
  std::vector<GoldenRun> runs;
  RunParameters x2 = Pinned(SmallRun(kTestKindX2, kGeneratorNormal));
  x2.Mean = {1.0, -2.0, 0.5};
  x2.Alternative = 1;
  x2.AltMean = {1.0, -2.0, 0.25};
  x2.AltCovariance = {2.0, 0.5, 0.0, 1.0, 0.25, 1.5};
  runs.push_back({"test_kind_1_x2", x2});
  // The known-mean statistic needs no covariance: each estimate alone, over three repetitions.
  RunParameters x2_mean_estimate = Pinned(SmallRun(kTestKindX2, kGeneratorNormal));
  x2_mean_estimate.EstimateCovariance = 0;
  x2_mean_estimate.K = 3;
  runs.push_back({"test_kind_1_x2_mean_estimate", x2_mean_estimate});
  RunParameters x2_covariance_estimate = Pinned(SmallRun(kTestKindX2, kGeneratorLaplace));
  x2_covariance_estimate.EstimateMean = 0;
  runs.push_back({"test_kind_1_x2_covariance_estimate", x2_covariance_estimate});
  runs.push_back({"test_kind_2_t2", Pinned(SmallRun(kTestKindT2, kGeneratorNormal))});
  runs.push_back({"test_kind_3_pair_t", Pinned(SmallRun(kTestKindPairT, kGeneratorNormal))});
  RunParameters pair_z = Pinned(SmallRun(kTestKindPairZ0, kGeneratorNormal));
  pair_z.VarI = 3;
  pair_z.VarJ = 1;
  runs.push_back({"test_kind_4_pair_z0", pair_z});
  runs.push_back({"test_kind_5_individ_t", Pinned(SmallRun(kTestKindIndividT, kGeneratorNormal))});
  RunParameters individ_z = Pinned(SmallRun(kTestKindIndividZ0, kGeneratorNormal));
  individ_z.R0 = 0.3;
  runs.push_back({"test_kind_6_individ_z0", individ_z});
  runs.push_back({"test_kind_7_f", Pinned(SmallRun(kTestKindF, kGeneratorNormal))});
  // Samples of 150 000 values, more than the multivariate generator is asked
  // for at once: made in slices, the second from inside a pair of normal values.
  RunParameters large_samples = Pinned(SmallRun(kTestKindT2, kGeneratorNormal));
  large_samples.N = 50000;
  large_samples.M = 5;
  large_samples.K = 1;
  runs.push_back({"large_samples", large_samples});
  const char* generator_names[] = {"normal", "logistic", "laplace", "cauchy", "exp_power"};
  for (int generator = kGeneratorNormal; generator <= kGeneratorExpPower; ++generator) {
    RunParameters block = Pinned(SmallRun(kTestKindT2, generator));
    block.GenParam1 = 0.5;
    block.GenParam2 = 2.0;
    runs.push_back({std::string("generator_") + generator_names[generator - 1], block});
  }
  return runs;
}

void PrintTo(const GoldenRun& run, std::ostream* out) { *out << run.name; }

void ExpectGolden(const std::string& file_name, const std::string& text) {
  const std::string path = std::string(WB_SOURCE_DIR) + "/method/tests/golden/" + file_name;
  if (std::getenv("WB_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(path, std::ios::binary) << text;
    GTEST_SKIP() << "written " << path;
  }
  std::ifstream file(path, std::ios::binary);
  ASSERT_TRUE(file) << "no golden file " << path;
  std::ostringstream golden;
  golden << file.rdbuf();
  EXPECT_EQ(text, golden.str());
}

}  // namespace brennic_test
