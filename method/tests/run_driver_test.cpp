// Reading the block into the run state and building the run's objects.
#include "method/run_driver.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "method/correlation_statistics.h"
#include "method/parameter_block.h"
#include "method/tests/run_harness.h"
#include "platform/exceptions.h"
#include "platform/tests/bytes_read.h"

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

// A "Parameters.dat" that cannot be a block is refused at its first field
// that cannot be, however long the file: a covariance triangle of gigabytes
// is refused before it is read, once the mean vector (a quarter megabyte at
// the largest dimension) is in.
TEST(ReadParameters, RefusesAFileAtItsFirstFieldThatCannotBe) {
  RunFolder folder;
  const std::string block = EncodeRunParameters(SmallRun(kTestKindX2, kGeneratorNormal));
  // The dimension follows the test kind, the generator kind and its two parameters.
  const std::string largest_dimension = block.substr(0, 18) + std::string("\xFF\x7F", 2);
  const struct {
    const char* what;
    std::string head;  // of a file of a gigabyte; none for the kernel's file that never ends
  } cases[] = {
      {"a file that never ends", ""},
      {"test kind 0", std::string(1, '\0')},
      {"a dimension of 32767", largest_dimension},
  };
  for (const auto& c : cases) {
    std::string path = "/proc/self/pagemap";
    if (!c.head.empty()) {
      path = "Parameters.dat";
      folder.WriteFile(path, c.head);
      std::filesystem::resize_file(folder.Path() / path, 1 << 30);
    }
    RunState run;
    const std::uint64_t before = BytesReadSoFar();
    EXPECT_THROW(ReadParameters(run, path), Exception) << c.what;
    EXPECT_LT(BytesReadSoFar() - before, 1u << 20) << c.what;
  }
}

}  // namespace
