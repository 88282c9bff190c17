// Reference texts are the shortest decimal forms of the values (IEEE 754
// binary64 and binary32), worked out by hand; every round trip is exact.
#include "editor/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(NumberText, WritesTheShortestTextWithTheUsersSeparatorAndReadsItBackExactly) {
  EXPECT_EQ(NumberText(0.1), "0,1");
  EXPECT_EQ(NumberText(-2.5), "-2,5");
  EXPECT_EQ(NumberText(1.0), "1");
  EXPECT_EQ(NumberText(1e-300), "1e-300");
  for (const double value : {0.1, 1.0 / 3.0, -123456.789e10, std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::denorm_min(), -0.0}) {
    const std::optional<double> back = ParseDouble(NumberText(value));
    ASSERT_TRUE(back.has_value()) << value;
    EXPECT_EQ(std::signbit(*back), std::signbit(value));
    EXPECT_EQ(*back, value);
  }
  // 0.1f is 0.100000001490116...; as a float its shortest text is 0.1.
  EXPECT_EQ(NumberText(0.1f), "0,1");
  EXPECT_EQ(ParseFloat("0,1"), 0.1f);
  EXPECT_EQ(ParseFloat(NumberText(1.0f / 3.0f)), 1.0f / 3.0f);
}

TEST(NumberText, ReadsEitherSeparatorBlanksAndAPlusSignAndRefusesWhatIsNoNumberOfTheRange) {
  EXPECT_EQ(ParseDouble("0.5"), 0.5);
  EXPECT_EQ(ParseDouble(" 0,5 "), 0.5);
  EXPECT_EQ(ParseDouble("+2"), 2.0);
  EXPECT_EQ(ParseDouble("-1e-3"), -0.001);
  EXPECT_EQ(ParseDouble("1e39"), 1e39);
  EXPECT_FALSE(ParseFloat("1e39").has_value());  // beyond the float range (3.4e38)
  for (const char* text : {"", "  ", "abc", "1,2,3", "1 2", "0x10", "1e400", "+-1", "5%"}) {
    EXPECT_FALSE(ParseDouble(text).has_value()) << text;
  }
  EXPECT_EQ(NotANumberMessage("abc"), "Значение «abc» не может быть прочитано как число");
  EXPECT_EQ(NotANumberMessage(" "), "Введите число");
}
