// Reading the block into the run state and building the run's objects.
#include "method/run_driver.h"

#include <gtest/gtest.h>

#include "method/correlation_statistics.h"
#include "method/tests/run_harness.h"

namespace {

using brennic_test::RunFolder;
using brennic_test::SmallRun;

// The partial hypotheses count N less the p - q variables held fixed.
TEST(ReadParameters, FillsTheStateAndItsObjects) {
  RunFolder folder;
  RunParameters block = SmallRun(kTestKindIndividZ0, kGeneratorExpPower);
  block.Covariance = {4, 1, 2, 3, 5, 0.5, 0.25, 6, 0.75, 7};  // (1,1), (1,2), ..., (4,4)
  block.EstimateCovariance = 1;
  folder.WriteParameters(block);
  RunState run;
  ReadParameters(run, "Parameters.dat");
  EXPECT_EQ(run.GenParam3, 0.5f);
  EXPECT_EQ((*run.Covariance)[1][3], 0.25);
  EXPECT_EQ((*run.Covariance)[3][1], 0.25);
  EXPECT_EQ(run.MeanSum, nullptr);
  ASSERT_NE(run.CovarianceSum, nullptr);
  PrepareRun(run);
  const auto* statistic = dynamic_cast<const TCStatIndividZ0*>(run.Statistic.get());
  ASSERT_NE(statistic, nullptr);
  EXPECT_EQ(statistic->EffectiveN, 10 - 4 + 2);
  EXPECT_EQ(std::pair(statistic->I, statistic->J), std::pair(0, 1));
  FreeRunObjects(run);
  EXPECT_EQ(run.Statistic, nullptr);
  EXPECT_EQ(run.CovarianceSum, nullptr);
}

TEST(PrepareRun, NullDistributionsByTestKind) {
  // Degrees of freedom with p = 3 (4 for kinds 5 to 7), N = 10 and q = 2.
  const double expected[][2] = {{3, 0}, {3, 7}, {8, 0}, {0, 0}, {6, 0}, {0, 0}, {2, 7}};
  const DistribKind kinds[] = {dfChi2, dfFisher, dfStudent, dfNormal, dfStudent, dfNormal, dfFisher};
  for (int test_kind = 1; test_kind <= 7; ++test_kind) {
    SCOPED_TRACE(test_kind);
    RunFolder folder;
    folder.WriteParameters(SmallRun(test_kind, kGeneratorNormal));
    RunState run;
    ReadParameters(run, "Parameters.dat");
    PrepareRun(run);
    EXPECT_EQ(run.Distribution->Kind, kinds[test_kind - 1]);
    EXPECT_EQ(run.Distribution->Param1, expected[test_kind - 1][0]);
    EXPECT_EQ(run.Distribution->Param2, expected[test_kind - 1][1]);
    FreeRunObjects(run);
  }
}

}  // namespace
