#include "platform/number_format.h"

#include <gtest/gtest.h>
#include <locale.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "platform/exceptions.h"
#include "platform/tests/temporary_folder.h"

namespace {

using platform::FormatFixed;

// Expected texts are worked out by hand from the decimal form of each value.
TEST(FormatFixed, ReportFormsRoundingAndTheExponentForm) {
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  const struct {
    double value;
    int digits, decimals;
    const char* separator;
    const char* text;
  } cases[] = {
      {1234.56789, 7, 4, ".", "1234.5680"},
      {0.123456789, 7, 4, ".", "0.1235"},
      {0.5, 5, 2, ".", "0.50"},
      {1.0, 7, 4, ".", "1.0000"},
      {-1.5, 7, 4, ".", "-1.5000"},
      {42.0, 7, 4, ".", "42.0000"},
      // The given separator.
      {0.5, 5, 2, ",", "0,50"},
      {-1234.56789, 7, 4, ",", "-1234,5680"},
      {2.25, 5, 2, "٫", "2٫25"},
      // Significant digits cut before the decimals.
      {123456.789, 7, 4, ".", "123456.8000"},
      {1234567.89, 7, 4, ".", "1234568.0000"},
      {123.456789, 5, 2, ".", "123.46"},
      {12345.6, 5, 2, ".", "12346.00"},
      // Half away from zero on the shortest decimal: 0.125 is exact in
      // binary; 0.015 is stored just below 0.015 but reads as 0.015.
      {0.125, 5, 2, ".", "0.13"},
      {-0.125, 5, 2, ".", "-0.13"},
      {0.015, 5, 2, ".", "0.02"},
      {0.014999, 5, 2, ".", "0.01"},
      {2.5, 7, 0, ".", "3"},
      // A carry adds an integer digit.
      {999.99996, 7, 4, ".", "1000.0000"},
      {0.99999, 7, 4, ".", "1.0000"},
      {0.995, 5, 2, ".", "1.00"},
      // Small values round to zero without a sign.
      {0.00004, 7, 4, ".", "0.0000"},
      {-0.00004, 7, 4, ".", "0.0000"},
      {-0.0, 7, 4, ".", "0.0000"},
      {0.00005, 7, 4, ".", "0.0001"},
      {-0.00005, 7, 4, ".", "-0.0001"},
      {1e-300, 7, 4, ".", "0.0000"},
      {0.0012, 7, 4, ".", "0.0012"},
      // Too many integer digits give the exponent form; 9999999.6 has seven
      // integer digits but rounds to eight.
      {1234567891234567.0, 7, 4, ",", "1,234568E+15"},
      {12345678.0, 7, 4, ".", "1.234568E+07"},
      {-12345678.0, 7, 4, ".", "-1.234568E+07"},
      {9999999.6, 7, 4, ".", "1.000000E+07"},
      {9999999.96, 7, 4, ".", "1.000000E+07"},
      {1e300, 7, 4, ".", "1.000000E+300"},
      {123456.0, 5, 2, ".", "1.2346E+05"},
      {99999.5, 5, 2, ".", "1.0000E+05"},
      {25.0, 1, 0, ".", "3E+01"},
      // Non-finite values have texts of their own.
      {std::numeric_limits<double>::quiet_NaN(), 7, 4, ".", "NaN"},
      {kInfinity, 7, 4, ".", "∞"},
      {-kInfinity, 7, 4, ".", "-∞"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatFixed(c.value, c.digits, c.decimals, c.separator), c.text) << c.value;
  }
}

TEST(FormatFixed, RefusesAFormWithoutDigits) {
  EXPECT_THROW(FormatFixed(1.0, 0, 2, "."), EConvertError);
  EXPECT_THROW(FormatFixed(1.0, 7, -1, "."), EConvertError);
}

TEST(DecimalSeparator, AFixedSeparatorHoldsUntilReleasedAndUnknownOrPlainLocalesGiveAPoint) {
  platform::FixDecimalSeparator(",");
  EXPECT_EQ(platform::DecimalSeparator(), ",");
  EXPECT_EQ(FormatFixed(0.5, 5, 2), "0,50");
  platform::FixDecimalSeparator(".");
  EXPECT_EQ(FormatFixed(0.5, 5, 2), "0.50");
  platform::FixDecimalSeparator("");
  EXPECT_EQ(platform::DecimalSeparator(), platform::LocaleDecimalSeparator(""));
  EXPECT_EQ(platform::LocaleDecimalSeparator("C"), ".");
  EXPECT_EQ(platform::LocaleDecimalSeparator("xx_NOWHERE.UTF-8"), ".");
}

// Builds the Russian locale into a private folder, so the test does not
// depend on the locales installed on the machine.
TEST(DecimalSeparator, ReadsTheUserSettingsWithoutChangingTheProcessLocale) {
  const TemporaryFolder folder;
  const std::string command =
      "localedef -i ru_RU -f UTF-8 '" + folder.File("ru_RU.UTF-8") + "' >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) GTEST_SKIP() << "localedef cannot build ru_RU here";
  // In a child process, so that the environment stays the parent's. glibc
  // keeps the locale data it loads for the life of the process; leaving by
  // _exit spares that from the leak check.
  EXPECT_EXIT(
      {
        setenv("LOCPATH", folder.Path().c_str(), 1);
        setenv("LC_ALL", "ru_RU.UTF-8", 1);
        std::fprintf(stderr, "user [%s] named [%s] process [%s]\n",
                     platform::LocaleDecimalSeparator("").c_str(),
                     platform::LocaleDecimalSeparator("ru_RU.UTF-8").c_str(), setlocale(LC_NUMERIC, nullptr));
        _exit(0);
      },
      ::testing::ExitedWithCode(0), "user \\[,\\] named \\[,\\] process \\[C\\]");
}

}  // namespace
