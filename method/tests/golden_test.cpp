// The golden runs through the staged library: every statistics file and the
// report's text, byte for byte, in whatever locale the tests run.
#include <gtest/gtest.h>

#include <cctype>

#include "method/tests/golden_runs.h"
#include "method/tests/run_harness.h"
#include "platform/number_format.h"

namespace {

using brennic_test::GoldenRun;

bool DigitAt(const std::string& text, std::size_t at) {
  return at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]));
}

// The report writes its numbers with the decimal separator of the user's
// locale, the pinned texts with "." whatever the locale they were written in:
// each separator between two digits becomes "." again, once the report is
// seen to hold no number written with "." in its place.
std::string WithPinnedPoint(const std::string& report) {
  const std::string separator = platform::DecimalSeparator();
  if (separator == ".") return report;
  std::string pinned;
  bool stray_point = false;
  for (std::size_t at = 0; at < report.size(); ++at) {
    const bool after_digit = at > 0 && DigitAt(report, at - 1);
    if (after_digit && report.compare(at, separator.size(), separator) == 0 &&
        DigitAt(report, at + separator.size())) {
      pinned += '.';
      at += separator.size() - 1;
      continue;
    }
    stray_point = stray_point || (after_digit && report[at] == '.' && DigitAt(report, at + 1));
    pinned += report[at];
  }
  EXPECT_FALSE(stray_point) << "a number with \".\" in place of \"" << separator << "\" in\n" << report;
  return pinned;
}

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
  return text + "== index.html\n" + WithPinnedPoint(brennic_test::ReportText(folder.ReadFile("index.html")));
}

class BrennicGolden : public testing::TestWithParam<GoldenRun> {};

TEST_P(BrennicGolden, StatisticsFilesAndReportAreUnchanged) {
  brennic_test::ExpectGolden(GetParam().name + ".txt", RunText(GetParam().block));
}

INSTANTIATE_TEST_SUITE_P(Runs, BrennicGolden, testing::ValuesIn(brennic_test::GoldenRuns()),
                         [](const testing::TestParamInfo<GoldenRun>& info) { return info.param.name; });

}  // namespace
