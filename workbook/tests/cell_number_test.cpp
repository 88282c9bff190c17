#include "workbook/cell_number.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

namespace workbook {
namespace {

TEST(CellNumberTest, PlainDecimalNumbersWithTheGivenSeparatorAndNothingElse) {
  const std::pair<const char16_t*, double> numbers[] = {
      {u"1,5", 1.5}, {u"  -2,25 ", -2.25}, {u"+7", 7.0},    {u",5", 0.5},
      {u"3,", 3.0},  {u"1,5E3", 1500.0},   {u"1e-2", 0.01}, {u"0100", 100.0}};
  for (const auto& [text, value] : numbers) EXPECT_EQ(ParseNumber(text, u','), value);
  EXPECT_EQ(ParseNumber(u"1.5", u'.'), 1.5);
  for (const char16_t* text :
       {u"", u" ", u"-", u",", u"1.5", u"1,5,0", u"1 000", u"1e", u"1e+", u"e5", u"0x10", u"inf", u"nan",
        u"Infinity", u"1,5abc", u"--1", u"1e999", u"-1e999", u"1e-999"}) {
    EXPECT_FALSE(ParseNumber(text, u',').has_value()) << QString::fromUtf16(text).toStdString();
  }
  // Cell numbers take either separator.
  EXPECT_EQ(ParseCellNumber(u"1.5"), 1.5);
  EXPECT_EQ(ParseCellNumber(u"2,25"), 2.25);
  EXPECT_FALSE(ParseCellNumber(u"1.5,0").has_value());
}

// Shortest round trip: the texts are those of printf's %g at the shortest
// exact precision, worked out by hand for these values.
TEST(CellNumberTest, NumberTextIsShortAndReadsBackBitForBit) {
  EXPECT_EQ(NumberText(1.5), "1.5");
  EXPECT_EQ(NumberText(100.0), "100");
  EXPECT_EQ(NumberText(0.1), "0.1");
  EXPECT_EQ(NumberText(1e-7), "1e-07");
  EXPECT_EQ(NumberText(-0.0), "-0");

  std::mt19937_64 bits(20240301);
  std::vector<double> values = {0.0,
                                -0.0,
                                std::numeric_limits<double>::denorm_min(),
                                -std::numeric_limits<double>::denorm_min(),
                                std::numeric_limits<double>::min(),
                                std::numeric_limits<double>::max(),
                                -std::numeric_limits<double>::max(),
                                0.1 + 0.2};
  while (values.size() < 20000) {
    const double value = std::bit_cast<double>(bits());
    if (std::isfinite(value)) values.push_back(value);
  }
  for (const double value : values) {
    const auto back = ParseCellNumber(NumberText(value));
    ASSERT_TRUE(back.has_value()) << NumberText(value).toStdString();
    EXPECT_EQ(std::bit_cast<std::uint64_t>(*back), std::bit_cast<std::uint64_t>(value))
        << NumberText(value).toStdString();
  }
}

}  // namespace
}  // namespace workbook
