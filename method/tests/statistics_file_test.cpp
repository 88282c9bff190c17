// Statistics file names and contents, in-process.
#include "method/statistics_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <locale>
#include <sstream>

#include "method/tests/run_harness.h"
#include "platform/exceptions.h"

namespace {

using brennic_test::RunFolder;

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
  std::ostringstream one;
  WriteStatisticValues(one, "stF", {0.25});
  EXPECT_EQ(one.str(), "stF\n0 1\n      0.25\n");
}

RunState SavedRun() {
  RunState run;
  run.TestKind = kTestKindPairZ0;
  run.M = 2;
  run.StatisticsPath = "stat.txt";
  return run;
}

const std::vector<double> kSaved = {-0.5, 2.0};

// The file is written under a short temporary name of its own and then takes
// its name, so any name the folder allows can be written, and nothing is left
// where a file cannot be made or cannot take its name.
TEST(SaveStatistics, WritesTheRepetitionsFileOrNamesTheFileItCouldNotWrite) {
  RunFolder folder;
  SaveStatistics(SavedRun(), 4, kSaved);
  const std::string contents = "stPair_z0\n0 2\n      -0.5\n         2\n";
  EXPECT_EQ(folder.ReadFile("stat5.txt"), contents);
  RunState run = SavedRun();
  run.StatisticsPath = std::string(250, 's') + ".txt";  // 255 bytes with the number
  SaveStatistics(run, 0, kSaved);
  EXPECT_EQ(folder.ReadFile(std::string(250, 's') + "1.txt"), contents);

  const struct {
    std::string path;
    std::string message;
  } failing[] = {
      {"missing/stat.txt", "Невозможно создать файл статистик «missing/stat1.txt»"},
      {"taken.txt", "Невозможно создать файл статистик «taken1.txt»"},
  };
  std::filesystem::create_directories(folder.Path() / "taken1.txt" / "full");
  for (const auto& c : failing) {
    run.StatisticsPath = c.path;
    try {
      SaveStatistics(run, 0, kSaved);
      ADD_FAILURE() << "no error: " << c.path;
    } catch (const EFCreateError& error) {
      EXPECT_EQ(error.Message(), c.message);
    }
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 3);

  run.StatisticsPath = "\x98.txt";  // the one byte code page 1251 leaves undefined
  EXPECT_THROW(SaveStatistics(run, 0, kSaved), EConvertError);
}

// Links planted under the names this process would give the file's temporary
// are never written through: the save takes a name of its own, and what the
// links name stays as it was.
TEST(SaveStatistics, NeverWritesThroughALinkPlantedUnderItsTemporarysName) {
  RunFolder folder;
  folder.WriteFile("victim", "victim");
  const std::string planted = "stat1.txt." + std::to_string(getpid()) + "-";
  for (int count = 0; count < 64; ++count) {
    std::filesystem::create_symlink("victim", folder.Path() / (planted + std::to_string(count) + ".tmp"));
  }
  SaveStatistics(SavedRun(), 0, kSaved);
  EXPECT_EQ(folder.ReadFile("stat1.txt"), "stPair_z0\n0 2\n      -0.5\n         2\n");
  EXPECT_EQ(folder.ReadFile("victim"), "victim");
}

}  // namespace
