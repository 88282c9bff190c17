// The staged library run for real: its progress messages, its statistics
// files and report in the run folder, and its failure paths. The golden runs
// pin the files' and the report's contents.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <locale>
#include <regex>

#include "method/parameter_block.h"
#include "method/tests/run_harness.h"
#include "platform/number_format.h"

namespace {

using brennic_test::ExpectedProgress;
using brennic_test::RunBrennic;
using brennic_test::RunFolder;
using brennic_test::SmallRun;
using brennic_test::WindowMessage;
using brennic_test::WithStatisticsFiles;

// A quick block of M samples over K repetitions: X2 with p = 1 and N = 2.
RunParameters CountRun(std::int32_t m, std::int32_t k) {
  RunParameters run = SmallRun(kTestKindX2, kGeneratorNormal);
  run.Dimension = 1;
  run.Mean = {0.0};
  run.Covariance = {1.0};
  run.N = 2;
  run.M = m;
  run.K = k;
  return run;
}

// Expected sequences from the progress rule: begin (K·M, K·M / 20), a step
// after each sample whose running number is a multiple of the step, then end.
TEST(BrennicProgress, StepsFollowTheRunningSampleNumber) {
  const struct {
    std::int32_t m, k, step;
    std::size_t steps;
  } cases[] = {
      {100, 10, 50, 20},  // K·M = 1000: after samples 50, 100, ..., 1000
      {9, 5, 2, 22},      // K·M = 45: after 2, 4, ..., 44; the gauge ends at 44 of 45
      {101, 10, 50, 20},  // K·M = 1010: the last ten samples send none
      {5, 4, 1, 20},      // K·M = 20: after every sample
      {5, 3, 1, 15},      // K·M = 15, below 20: step 1 rather than 0, so the gauge still fills
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "K·M = " << c.k * c.m);
    RunFolder folder;
    folder.WriteParameters(CountRun(c.m, c.k));
    const auto outcome = RunBrennic();
    EXPECT_EQ(outcome.result, 1);
    EXPECT_TRUE(outcome.error_boxes.empty());
    const auto expected = ExpectedProgress(c.k * c.m, c.step);
    EXPECT_EQ(expected.size(), c.steps + 2);
    EXPECT_EQ(outcome.messages, expected);
  }
}

TEST(BrennicProgress, WithoutAMainWindowTheRunIsTheSame) {
  RunFolder folder;
  folder.WriteParameters(WithStatisticsFiles(CountRun(20, 2), "stat.txt"));
  ASSERT_EQ(RunBrennic({.main_window = true, .millisecond = 7}).result, 1);
  const std::string values = folder.ReadFile("stat1.txt");
  const std::string report = folder.ReadFile("index.html");
  const auto without_window = RunBrennic({.main_window = false, .millisecond = 7});
  EXPECT_EQ(without_window.result, 1);
  EXPECT_TRUE(without_window.messages.empty());
  EXPECT_EQ(folder.ReadFile("stat1.txt"), values);
  EXPECT_EQ(folder.ReadFile("index.html"), report);
}

// A stream's numeric punctuation with a comma, as a Russian locale has it.
struct CommaPunctuation : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
};

TEST(BrennicFiles, ACodePage1251PathBecomesAUtf8NameAndValuesKeepThePointWhateverTheLocale) {
  RunFolder folder;
  folder.WriteParameters(WithStatisticsFiles(CountRun(5, 1), "\xF1\xF2\xE0\xF2.txt"));  // "стат.txt" in 1251
  const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaPunctuation));
  const auto outcome = RunBrennic();
  std::locale::global(previous);
  ASSERT_EQ(outcome.result, 1);
  const std::string text = folder.ReadFile("стат1.txt");
  EXPECT_EQ(text.find(','), std::string::npos);
  EXPECT_NE(text.find('.'), std::string::npos);
}

TEST(BrennicReport, SeparatorOfTheUserSettings) {
  for (const std::string separator : {",", "."}) {
    SCOPED_TRACE(separator);
    RunFolder folder;
    folder.WriteParameters(SmallRun(kTestKindPairZ0, kGeneratorNormal));
    platform::FixDecimalSeparator(separator);
    const auto outcome = RunBrennic();
    platform::FixDecimalSeparator("");
    ASSERT_EQ(outcome.result, 1);
    const std::string text = brennic_test::ReportText(folder.ReadFile("index.html"));
    EXPECT_NE(text.find("Гипотеза о парном коэффициенте корреляции, который равен 0" + separator + "50.\n"),
              std::string::npos);
    // Statistic and probability in the 7/4 form: four decimals after the separator.
    const std::string point = separator == "." ? "\\." : separator;
    const std::regex row("Критерий Колмогорова \\| \\d+" + point + "\\d{4} \\| [01]" + point + "\\d{4}\n");
    EXPECT_TRUE(std::regex_search(text, row)) << text;
  }
}

TEST(BrennicReport, AlternativeChangesOnlyTheKnownMeanStatistic) {
  RunFolder folder;
  RunParameters block = WithStatisticsFiles(SmallRun(kTestKindX2, kGeneratorNormal), "stat.txt");
  const auto values_of = [&](const RunParameters& run) {
    folder.WriteParameters(run);
    EXPECT_EQ(RunBrennic().result, 1);
    return folder.ReadFile("stat1.txt");
  };
  const std::string null_values = values_of(block);
  // The same mean and covariance as the alternative give the same values;
  // a shifted alternative mean moves the statistic.
  block.Alternative = 1;
  block.AltMean = block.Mean;
  block.AltCovariance = block.Covariance;
  EXPECT_EQ(values_of(block), null_values);
  block.AltMean = {5.0, 5.0, 5.0};
  EXPECT_NE(values_of(block), null_values);
  // Test kind 2 reads the alternative pair and does not use it.
  block.TestKind = kTestKindT2;
  const std::string shifted = values_of(block);
  block.Alternative = 0;
  EXPECT_EQ(values_of(block), shifted);
}

// A failed run shows one box, returns 0 and leaves no report.
void ExpectFailure(const brennic_test::RunOutcome& outcome, const RunFolder& folder, const std::string& box) {
  EXPECT_EQ(outcome.result, 0);
  EXPECT_EQ(outcome.error_boxes, std::vector<std::string>{box});
  EXPECT_FALSE(folder.Exists("index.html"));
  for (const WindowMessage& message : outcome.messages) EXPECT_NE(message.message, 0x402u);
}

TEST(BrennicFailure, MissingOrRefusedBlocksFailBeforeAnySampleIsDrawn) {
  RunFolder folder;
  auto outcome = RunBrennic();
  ExpectFailure(outcome, folder, "Cannot open file Parameters.dat");
  EXPECT_TRUE(outcome.messages.empty());
  // There, but not a file that can be read.
  std::filesystem::create_directory(folder.Path() / "Parameters.dat");
  ExpectFailure(RunBrennic(), folder, "Cannot open file Parameters.dat");
  std::filesystem::remove(folder.Path() / "Parameters.dat");

  const std::string block = EncodeRunParameters(SmallRun(kTestKindPairZ0, kGeneratorNormal));
  folder.WriteFile("Parameters.dat", block.substr(0, 10));
  outcome = RunBrennic();
  ExpectFailure(outcome, folder,
                "Файл параметров «Parameters.dat» поврежден: Блок параметров обрывается на поле "
                "«коэффициент корреляции r0»");
  EXPECT_TRUE(outcome.messages.empty());

  RunParameters broken = SmallRun(kTestKindPairZ0, kGeneratorNormal);
  broken.M = 3;
  folder.WriteParameters(broken);
  outcome = RunBrennic();
  ExpectFailure(outcome, folder, "Число выборок M должно быть не меньше 5");
  EXPECT_TRUE(outcome.messages.empty());

  broken = SmallRun(kTestKindPairZ0, kGeneratorNormal);
  broken.Covariance[1] = 2.0;  // |correlation| above 1
  folder.WriteParameters(broken);
  ExpectFailure(RunBrennic(), folder, "Ковариационная матрица должна быть положительно определенной");
}

TEST(BrennicFailure, AStatisticsFileThatCannotBeSavedEndsTheStepsWhereItFailed) {
  RunFolder folder;
  folder.WriteParameters(WithStatisticsFiles(CountRun(20, 2), "missing/stat.txt"));
  auto outcome = RunBrennic();
  ExpectFailure(outcome, folder, "Невозможно создать файл статистик «missing/stat1.txt»");
  // Begin and the steps of the first repetition came before the failure.
  ASSERT_EQ(outcome.messages.size(), 11u);
  EXPECT_EQ(outcome.messages.front(), (WindowMessage{0x400, 40, 2}));

  // A folder holds the second repetition's name. Its failure ends the run as
  // if each repetition were saved before the next is drawn: no step of the
  // third repetition comes, whenever the failure is found.
  std::filesystem::create_directories(folder.Path() / "stat2.txt" / "taken");
  folder.WriteParameters(WithStatisticsFiles(CountRun(20, 3), "stat.txt"));
  outcome = RunBrennic();
  ExpectFailure(outcome, folder, "Невозможно создать файл статистик «stat2.txt»");
  // Begin (60, step 3) and the steps after samples 3, 6, ..., 39.
  ASSERT_EQ(outcome.messages.size(), 14u);
  EXPECT_EQ(outcome.messages.front(), (WindowMessage{0x400, 60, 3}));
  EXPECT_TRUE(folder.Exists("stat1.txt"));
  EXPECT_FALSE(folder.Exists("stat3.txt"));
}

TEST(BrennicFailure, AFailedRunLeavesTheLoadedLibraryReadyForTheNext) {
  // Held loaded across the runs, as one library serves several runs.
  void* kept = dlopen(WB_STAGE_DIR "/Libraries/libBrennic.so", RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(kept, nullptr);
  RunFolder folder;
  RunParameters block = WithStatisticsFiles(SmallRun(kTestKindT2, kGeneratorNormal), "stat.txt");
  block.EstimateMean = 1;
  block.EstimateCovariance = 1;
  folder.WriteParameters(block);
  ASSERT_EQ(RunBrennic({.millisecond = 3}).result, 1);
  const std::string values = folder.ReadFile("stat1.txt");
  const std::string report = folder.ReadFile("index.html");

  // Fails in the middle of the run, with every object of the run made.
  RunParameters failing = block;
  failing.StatisticsPath = "missing/stat.txt";
  folder.WriteParameters(failing);
  std::filesystem::remove(folder.Path() / "index.html");
  ASSERT_EQ(RunBrennic().result, 0);

  folder.WriteParameters(block);
  ASSERT_EQ(RunBrennic({.millisecond = 3}).result, 1);
  EXPECT_EQ(folder.ReadFile("stat1.txt"), values);
  EXPECT_EQ(folder.ReadFile("index.html"), report);
  dlclose(kept);
}

}  // namespace
