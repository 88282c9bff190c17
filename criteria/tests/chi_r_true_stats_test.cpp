#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "criteria/quessel.h"
#include "criteria/tests/crit_fields.h"
#include "platform/exceptions.h"
#include "platform/tests/bytes_read.h"
#include "platform/tests/temporary_folder.h"

namespace {

class ChiRTrueStatsTest : public ::testing::Test {
 protected:
  void WriteTable(const std::string& name, const std::vector<std::string>& lines, const char* end = "\n") {
    std::ofstream file(folder_ + name, std::ios::binary);
    for (const std::string& line : lines) file << line << end;
  }

  // Both tables for every interval count, with the given line 5; the other
  // lines hold values that would make every test below fail.
  void WriteTables(const std::string& boundaries5, const std::string& probabilities5) {
    std::vector<std::string> boundaries = {"Таблица 28", "m b1 ... b(m-1)"};
    std::vector<std::string> probabilities = {"Таблица 29", "m p1 ... pm"};
    for (int m = 3; m <= 15; ++m) {
      boundaries.push_back(m == 5 ? boundaries5 : "7 8 9 10 11 12 13 14 15 16 17 18 19 20");
      probabilities.push_back(
          m == 5 ? probabilities5
                 : "0.01 0.01 0.01 0.01 0.01 0.01 0.01 0.01 0.01 0.01 0.01 0.01 0.01 0.01 0.01");
    }
    WriteTable("Table 28.txt", boundaries);
    WriteTable("Table 29.txt", probabilities);
  }

  CritVA Run(std::vector<double> x, int type, int k) {
    CritVA crit = FreshCrit();
    DistribFunc uniform{dfBeta, 1.0, 1.0};  // F(x) = x on [0, 1]
    ChiRTrueStats(x.data(), static_cast<int>(x.size()), &uniform, type, k, crit, folder_.c_str());
    EXPECT_EQ(UntouchedFields(crit), 8);  // the fields of KolmSmOm
    return crit;
  }

  // A call that must be refused, leaving crit as it was; returns the message.
  template <class Error>
  std::string Refused(std::vector<double> x, int type, int k) {
    CritVA crit = FreshCrit();
    DistribFunc uniform{dfBeta, 1.0, 1.0};
    std::string message = "not refused";
    try {
      ChiRTrueStats(x.data(), static_cast<int>(x.size()), &uniform, type, k, crit, folder_.c_str());
    } catch (const Error& error) {
      message = error.Message();
    }
    EXPECT_EQ(UntouchedFields(crit), 12);
    return message;
  }

  const TemporaryFolder temporary_;
  // The folder as the criteria take it, ending in its separator.
  std::string folder_ = temporary_.Path().string() + "/";
  const std::vector<double> five_ = {0.1, 0.2, 0.3, 0.4, 0.5};
};

// Hand computations with F(x) = x; with 2 degrees of freedom the upper tail
// of chi-square is e^(-x/2).
TEST_F(ChiRTrueStatsTest, EqualCountAndEqualWidthGroupings) {
  // Equal count, n = 10, k = 3: boundaries x_3 = 0.2 and x_6 = 0.5, so
  // probabilities 0.2, 0.3, 0.5 against counts 3, 3, 4: chi-square
  // (1/0.2 + 0 + 1/0.5) / 10 = 0.7, likelihood ratio 2 (3 ln 1.5 + 4 ln 0.8).
  const CritVA count = Run({0.05, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9}, 1, 3);
  double lr = 2 * (3 * std::log(1.5) + 4 * std::log(0.8));
  EXPECT_NEAR(count.ChiStat, 0.7, 1e-14);
  EXPECT_NEAR(count.LRStat, lr, 1e-14);
  EXPECT_NEAR(count.ChiP, std::exp(-0.35), 1e-14);
  EXPECT_NEAR(count.LRP, std::exp(-lr / 2), 1e-14);

  // Equal width 0.25: values equal to a boundary count below it, so counts
  // 2, 1, 2 against 1.25, 1.25, 2.5: chi-square (2.25 + 0.25 + 0.5) / 5 = 0.6,
  // likelihood ratio 2 (2 ln 1.6 + 3 ln 0.8).
  const CritVA width = Run({0.0, 0.25, 0.5, 0.625, 0.75}, 0, 3);
  lr = 2 * (2 * std::log(1.6) + 3 * std::log(0.8));
  EXPECT_NEAR(width.ChiStat, 0.6, 1e-14);
  EXPECT_NEAR(width.LRStat, lr, 1e-14);
  EXPECT_NEAR(width.ChiP, std::exp(-0.3), 1e-14);
  EXPECT_NEAR(width.LRP, std::exp(-lr / 2), 1e-14);

  // Five equal values 0.4, k = 4: all in the first interval (probability 0.4),
  // the middle two get 0 raised to eps, the last one 0.6: chi-square
  // (9/0.4 + 2 (5 eps)^2/eps + 9/0.6) / 5, likelihood ratio 10 ln 2.5.
  const CritVA tied = Run(std::vector<double>(5, 0.4), 0, 4);
  EXPECT_NEAR(tied.ChiStat, (9 / 0.4 + 50 * kEps + 9 / 0.6) / 5, 1e-14);
  EXPECT_NEAR(tied.LRStat, 10 * std::log(2.5), 1e-14);
}

// Line 5 of each table: 4 boundaries and 5 probabilities. Two values per
// interval fit exactly, so both statistics are 0 and both probabilities 1.
// 0.1000000001 lies above 0.1 but below 0.1f widened: it counts into the
// first interval only because the boundaries are single-precision numbers.
TEST_F(ChiRTrueStatsTest, TableGroupingReadsLineKOfBothTables) {
  WriteTables("0.1 0.2 0.3 0.4", "0.2 0.2 0.2 0.2 0.2");
  const CritVA crit = Run({0.05, 0.1000000001, 0.15, 0.2, 0.25, 0.3, 0.35, 0.4, 0.6, 0.9}, 2, 5);
  EXPECT_EQ(crit.ChiStat, 0.0);
  EXPECT_EQ(crit.LRStat, 0.0);
  EXPECT_EQ(crit.ChiP, 1.0);
  EXPECT_EQ(crit.LRP, 1.0);

  // Windows line ends, and nothing needed after line k.
  WriteTable("Table 28.txt", {"h", "h", "1 2", "1 2 3"}, "\r\n");
  WriteTable("Table 29.txt", {"h", "h", "0.3 0.3 0.4", "0.25 0.25 0.25 0.25"}, "\r\n");
  EXPECT_EQ(Run({0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 3.5, 3.6}, 2, 4).ChiStat, 0.0);
}

// Without a finite range the equal-width boundaries are NaN or infinite and
// every value would land in the last interval, a near-perfect fit.
TEST_F(ChiRTrueStatsTest, SampleWithoutAFiniteRangeFitsNoLawInAnyGrouping) {
  WriteTables("0.1 0.2 0.3 0.4", "0.2 0.2 0.2 0.2 0.2");
  const double infinity = std::numeric_limits<double>::infinity();
  const std::vector<double> samples[] = {
      {0.1, 0.2, 0.3, 0.4, std::numeric_limits<double>::quiet_NaN()},  // sorted: NaN last
      {0.1, 0.2, 0.3, 0.4, infinity},
      {-infinity, 0.1, 0.2, 0.3, 0.4},
      {-1e308, 0.1, 0.2, 0.3, 1e308},  // finite values, range beyond the doubles
  };
  for (const std::vector<double>& sample : samples) {
    for (int type : {0, 1, 2}) {
      const CritVA crit = Run(sample, type, 5);
      EXPECT_EQ(crit.ChiStat, infinity) << "sample " << &sample - samples << ", type " << type;
      EXPECT_EQ(crit.LRStat, infinity);
      EXPECT_EQ(crit.ChiP, 0.0);
      EXPECT_EQ(crit.LRP, 0.0);
    }
  }
}

TEST_F(ChiRTrueStatsTest, ArgumentsOutsideTheirRangeAreRefused) {
  for (int k : {2, 16}) {
    EXPECT_EQ(Refused<Exception>(five_, 1, k), "Количество интервалов не менее 3 и не более 15!");
  }
  EXPECT_NE(Refused<Exception>(five_, 3, 3), "not refused");
  EXPECT_NE(Refused<Exception>(five_, -1, 3), "not refused");
  EXPECT_NE(Refused<Exception>({}, 0, 3), "not refused");
  EXPECT_NE(Refused<Exception>({0.1, 0.2, 0.3, 0.4}, 1, 5), "not refused");  // equal count needs n >= k
  EXPECT_TRUE(std::isfinite(Run({0.1, 0.2, 0.3}, 1, 3).ChiStat));
  EXPECT_TRUE(std::isfinite(Run(five_, 0, 15).ChiStat));
}

TEST_F(ChiRTrueStatsTest, MissingOrDamagedTablesAreRefusedByName) {
  const std::string boundaries = folder_ + "Table 28.txt";
  const std::string probabilities = folder_ + "Table 29.txt";
  EXPECT_NE(Refused<EFOpenError>(five_, 2, 5).find(boundaries), std::string::npos);
  WriteTable("Table 28.txt", {"h", "h", "1 2", "1 2 3", "1 2 3 4"});
  EXPECT_NE(Refused<EFOpenError>(five_, 2, 5).find(probabilities), std::string::npos);

  // Too short: no line 5.
  WriteTable("Table 29.txt", {"h", "h", "0.3 0.3 0.4", "0.25 0.25 0.25 0.25"});
  EXPECT_NE(Refused<EReadError>(five_, 2, 5).find(probabilities), std::string::npos);
  // Line 5 a number short: the next line's numbers must not stand in.
  WriteTables("1 2 3", "0.2 0.2 0.2 0.2 0.2");
  EXPECT_NE(Refused<EReadError>(five_, 2, 5).find(boundaries), std::string::npos);
  WriteTables("1 2 3 4", "0.2 0.2 x 0.2 0.2");
  EXPECT_NE(Refused<EReadError>(five_, 2, 5).find(probabilities), std::string::npos);
  // A heading longer than 254 characters would shift every later line.
  WriteTable("Table 28.txt", {std::string(255, '-'), "h", "1 2", "1 2 3", "1 2 3 4"});
  EXPECT_NE(Refused<EReadError>(five_, 2, 5).find(boundaries), std::string::npos);
  // A pipe in a table's place is refused at once, not waited on.
  std::filesystem::remove(boundaries);
  ASSERT_EQ(mkfifo(boundaries.c_str(), 0600), 0);
  EXPECT_NE(Refused<EFOpenError>(five_, 2, 5).find(boundaries), std::string::npos);

  // A joined path over 255 characters is refused before any opening.
  folder_ += std::string(250, 'a') + "/";
  std::filesystem::create_directory(folder_);
  EXPECT_NE(Refused<EFOpenError>(five_, 2, 5).find("255"), std::string::npos);
  folder_ = folder_.substr(0, folder_.size() - 251);
}

// A table is read no further than its first line too long, so a table of one
// huge line, or one that never ends, is refused a few kilobytes in.
TEST_F(ChiRTrueStatsTest, ATableIsReadNoFurtherThanItsFirstLineTooLong) {
  WriteTables("1 2 3 4", "0.2 0.2 0.2 0.2 0.2");
  const std::string boundaries = folder_ + "Table 28.txt";
  const struct {
    const char* what;
    std::vector<std::string> lines;  // before a gigabyte without a line feed
    bool never_ends;
    const char* message;
  } cases[] = {
      {"a heading of a gigabyte", {}, false, "строка 1 длиннее 254 символов!"},
      {"a line 5 of a gigabyte", {"h", "h", "1 2", "1 2 3"}, false, "строка 5 длиннее 4095 символов!"},
      {"a table that never ends", {}, true, "строка 1 длиннее 254 символов!"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(boundaries);
    if (c.never_ends) {
      std::filesystem::create_symlink("/proc/self/pagemap", boundaries);
    } else {
      WriteTable("Table 28.txt", c.lines);
      std::filesystem::resize_file(boundaries, std::filesystem::file_size(boundaries) + (1 << 30));
    }
    const std::uint64_t before = BytesReadSoFar();
    EXPECT_NE(Refused<EReadError>(five_, 2, 5).find(c.message), std::string::npos) << c.what;
    EXPECT_LT(BytesReadSoFar() - before, 64u << 10) << c.what;
  }
}

}  // namespace
