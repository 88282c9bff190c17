// Statistics file names and contents, and the progress reporter, in-process.
#include "method/statistics_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "method/progress.h"
#include "method/run_driver.h"
#include "method/tests/run_harness.h"
#include "platform/exceptions.h"
#include "platform/window_messages.h"

namespace {

using brennic_test::RunFolder;
using brennic_test::WindowMessage;

TEST(StatisticsFileName, NumberBeforeTheFirstDot) {
  EXPECT_EQ(StatisticsFileName("stat.txt", 1), "stat1.txt");
  EXPECT_EQ(StatisticsFileName("stat.txt", 12), "stat12.txt");
  // A dot in a folder name counts: the number goes there.
  EXPECT_EQ(StatisticsFileName("C:\\a.b\\s.txt", 1), "C:\\a1.b\\s.txt");
  EXPECT_EQ(StatisticsFileName("./out/s.txt", 2), "2./out/s.txt");
  EXPECT_EQ(StatisticsFileName("s.tar.gz", 3), "s3.tar.gz");
  // Without a dot the number and a dot go in front.
  EXPECT_EQ(StatisticsFileName("stat", 1), "1.stat");
  EXPECT_EQ(StatisticsFileName("", 4), "4.");
}

TEST(StatisticsFileName, NamesOfTheStatistics) {
  const char* names[] = {"stX2", "stT2", "stPair_t", "stPair_z0", "stIndivid_t", "stIndivid_z0", "stF"};
  for (int kind = 1; kind <= 7; ++kind) EXPECT_EQ(StatisticName(kind), names[kind - 1]);
}

struct CommaPunctuation : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
};

TEST(StatisticsFileContents, WidthTenPrecisionSixWithAPoint) {
  std::ostringstream out;
  // A stream that would write a comma writes the point all the same.
  out.imbue(std::locale(std::locale::classic(), new CommaPunctuation));
  WriteStatisticValues(out, "stT2", {-1.5, 0.000123456, 0.5, 3.0, 1e-5, 1234567, 123456.7});
  // %g rules: 6 significant digits, exponent form below 1e-4 and from 1e6 on,
  // right-aligned in 10 characters, longer texts not cut.
  EXPECT_EQ(out.str(),
            "stT2\n"
            "0 7\n"
            "      -1.5\n"
            "0.000123456\n"
            "       0.5\n"
            "         3\n"
            "     1e-05\n"
            "1.23457e+06\n"
            "    123457\n");
}

TEST(StatisticsFileContents, OneValue) {
  std::ostringstream out;
  WriteStatisticValues(out, "stF", {0.25});
  EXPECT_EQ(out.str(), "stF\n0 1\n      0.25\n");
}

RunState SavedRun() {
  RunState run;
  run.TestKind = kTestKindPairZ0;
  run.M = 2;
  run.Values = {-0.5, 2.0};
  run.StatisticsPath = "stat.txt";
  return run;
}

TEST(SaveStatistics, WritesTheRepetitionsFile) {
  RunFolder folder;
  SaveStatistics(SavedRun(), 4);
  EXPECT_EQ(folder.ReadFile("stat5.txt"), "stPair_z0\n0 2\n      -0.5\n         2\n");
  EXPECT_FALSE(folder.Exists("stat5.txt.tmp"));
}

TEST(SaveStatistics, FailureNamesTheFileAndKeepsTheOldOne) {
  RunFolder folder;
  folder.WriteFile("stat1.txt", "old");
  // The file cannot be written where it is made.
  std::filesystem::create_directory(folder.Path() / "stat1.txt.tmp");
  try {
    SaveStatistics(SavedRun(), 0);
    FAIL() << "no error";
  } catch (const EFCreateError& error) {
    EXPECT_EQ(error.Message(), "Невозможно создать файл статистик «stat1.txt»");
  }
  EXPECT_EQ(folder.ReadFile("stat1.txt"), "old");

  RunState run = SavedRun();
  run.StatisticsPath = "\x98.txt";  // the one byte code page 1251 leaves undefined
  EXPECT_THROW(SaveStatistics(run, 0), EConvertError);
}

// Records what a registered "TWMain" window receives.
class MainWindow {
 public:
  MainWindow()
      : window_(platform::RegisterWindow("TWMain",
                                         [this](std::uint32_t message, std::uintptr_t w, std::intptr_t l) {
                                           received.push_back({message, w, l});
                                           return std::intptr_t{0};
                                         })) {}
  ~MainWindow() { platform::UnregisterWindow(window_); }

  std::vector<WindowMessage> received;

 private:
  platform::WindowHandle window_;
};

TEST(Progress, BeginStepsAndEnd) {
  MainWindow window;
  {
    TCProgress progress(1000, 50);
    progress.Step(0);
    progress.Step(7);
  }
  EXPECT_EQ(window.received,
            (std::vector<WindowMessage>{{0x400, 1000, 50}, {0x401, 0, 0}, {0x401, 0, 7}, {0x402, 0, 0}}));
}

TEST(Progress, AnAbandonedReporterSendsNoEnd) {
  MainWindow window;
  {
    TCProgress progress(30, 1);
    progress.Step(0);
    progress.Abandon();
    progress.Step(0);
  }
  EXPECT_EQ(window.received, (std::vector<WindowMessage>{{0x400, 30, 1}, {0x401, 0, 0}}));
}

TEST(Progress, NothingWithoutAMainWindow) {
  TCProgress progress(100, 5);
  progress.Step(0);
  SUCCEED();
}

TEST(Progress, DefaultStepIsATwentiethAndAtLeastOne) {
  EXPECT_EQ(ProgressStep(1000), 50);
  EXPECT_EQ(ProgressStep(1010), 50);
  EXPECT_EQ(ProgressStep(100), 5);
  EXPECT_EQ(ProgressStep(45), 2);
  EXPECT_EQ(ProgressStep(30), 1);
  EXPECT_EQ(ProgressStep(20), 1);
  EXPECT_EQ(ProgressStep(19), 1);
  EXPECT_EQ(ProgressStep(5), 1);
}

}  // namespace
